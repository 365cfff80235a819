#pragma once
// Command ids of menu items, accelerators and toolbar buttons. Every command reaches the frame's
// one dispatch, CMainFrame::OnCommand(id). The Filters items 800..835 are the lesson's own
// (kFirstFilterCommand, kLastFilterCommand).

namespace verbaro::cmd {

inline constexpr int kOpen = 57601;
inline constexpr int kExit = 57665;
inline constexpr int kRepeatSound = 300;
inline constexpr int kToggleSound = 301;
inline constexpr int kToggleHeader = 302;
inline constexpr int kToggleTranslations = 303;
inline constexpr int kToggleToolbar = 59392;
inline constexpr int kToggleStatusBar = 59393;
inline constexpr int kFirstMode = 700;  // 700..705: the six modes, index = id - 700
inline constexpr int kLastMode = 705;
inline constexpr int kVideoSettings = 2000;
inline constexpr int kForgetProgress = 2001;  // «Забыть прогресс урока...» in the File menu
inline constexpr int kImportLesson = 2002;  // «Импорт урока...» in the File menu
inline constexpr int kProgressSync = 2003;  // «5-Настройки» → «Синхронизация прогресса...»
inline constexpr int kLessonStatistics = 2100;  // «&6-Прогресс» → «&0-Статистика урока» (F8)
inline constexpr int kHelp = 128;
inline constexpr int kAbout = 57664;

}  // namespace verbaro::cmd
