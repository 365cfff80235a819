#pragma once
// Command ids of menu items, accelerators and toolbar buttons. Every command reaches the frame's
// one dispatch, CMainFrame::OnCommand(id). The Filters items 800..835 are the lesson's own
// (kFirstFilterCommand, kLastFilterCommand).
#include <optional>

#include "data/StudyMode.h"

namespace verbaro::cmd {

inline constexpr int kOpen = 57601;
inline constexpr int kExit = 57665;
inline constexpr int kRepeatSound = 300;
inline constexpr int kToggleSound = 301;
inline constexpr int kToggleHeader = 302;
inline constexpr int kToggleTranslations = 303;
inline constexpr int kToggleToolbar = 59392;
inline constexpr int kToggleStatusBar = 59393;
inline constexpr int kFirstMode = 700;  // the Modules items, one per mode in the modes' order
inline constexpr int kVideoSettings = 2000;
inline constexpr int kForgetProgress = 2001;  // «Забыть прогресс урока...» in the File menu
inline constexpr int kImportLesson = 2002;  // «Импорт урока...» in the File menu
inline constexpr int kProgressSync = 2003;  // «5-Настройки» → «Синхронизация прогресса...»
inline constexpr int kLessonStatistics = 2100;  // «&6-Прогресс» → «&0-Статистика урока» (F8)
inline constexpr int kHelp = 128;
inline constexpr int kAbout = 57664;

constexpr int ModeCommand(StudyMode mode) { return kFirstMode + IndexOf(mode); }

// The mode a command switches to, or nothing for any other command.
constexpr std::optional<StudyMode> ModeOfCommand(int id) {
  if (id < kFirstMode) return std::nullopt;
  return ModeOfIndex(id - kFirstMode);
}

}  // namespace verbaro::cmd
