#pragma once
// The learner's settings that stay between starts: each Video mode's pause and repeats, each
// mode's sound switch, the toolbar and status bar switches and the window's size and place.
// They live in an INI file under $XDG_CONFIG_HOME (Qt's settings); every key is named once here
// with its default, and a value that is missing or cannot be used reads as that default, so a
// learner without a settings file starts exactly as before.
#include <QByteArray>
#include <QSettings>
#include <QString>

#include "app/SettingsDialog.h"

namespace verbaro {

// Where a mode was left: its lesson file, the filter (its command id) and the entry shown, with
// the entry's head word to find it again in a lesson rebuilt since, and which of the lesson's
// entries with that head word it is (-1: not known, as in a file kept by an earlier version).
struct ResumePlace {
  QString lesson;
  int filterId = 0;
  int position = 0;
  QString keyWord;
  int occurrence = -1;
};

class UserSettings {
 public:
  // The settings kept in `file` (created on the first change, with its folder).
  explicit UserSettings(const QString& file);

  // $XDG_CONFIG_HOME/verbaro/verbaro.conf, ~/.config/verbaro/verbaro.conf without the variable.
  static QString DefaultFile();
  QString File() const { return m_settings.fileName(); }

  // modeIndex 0..5 as the frame's views; another index reads the defaults and writes nothing.
  VideoSettings Video(int modeIndex) const;
  void SetVideo(int modeIndex, VideoSettings settings);
  bool SoundOn(int modeIndex) const;
  void SetSoundOn(int modeIndex, bool on);

  bool ToolBarVisible() const;
  void SetToolBarVisible(bool visible);
  bool StatusBarVisible() const;
  void SetStatusBarVisible(bool visible);

  // The place each mode was left at (no lesson: never studied in it), and the lesson opened last
  // in any mode.
  ResumePlace Resume(int modeIndex) const;
  void SetResume(int modeIndex, const ResumePlace& place);
  QString LastLesson() const;
  void SetLastLesson(const QString& lesson);
  // The mode shown last (0..5), where the next start begins; -1 when none is kept.
  int LastMode() const;
  void SetLastMode(int modeIndex);

  // The folder that a sync engine keeps equal between the learner's machines ([sync] folder=),
  // through which progress follows the learner; empty: none.
  QString SyncFolder() const;
  void SetSyncFolder(const QString& folder);

  // QWidget::saveGeometry's bytes; empty when the window was never placed.
  QByteArray WindowGeometry() const;
  void SetWindowGeometry(const QByteArray& geometry);

 private:
  bool ReadBool(const QString& key, bool fallback) const;
  uint32_t ReadNumber(const QString& key, uint32_t fallback) const;
  // Writes at once: a program that is killed keeps what was set before.
  void Write(const QString& key, const QVariant& value);

  mutable QSettings m_settings;
};

}  // namespace verbaro
