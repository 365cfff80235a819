#include "app/UserSettings.h"

#include <QStandardPaths>
#include <algorithm>
#include <array>
#include <cstdint>

#include "data/StudyMode.h"

namespace verbaro {

namespace {

// The group of each mode, in the frame's order of views.
const std::array<QString, kModeCount>& ModeGroups() {
  static const std::array<QString, kModeCount> groups = {
      QStringLiteral("Conspect1"), QStringLiteral("Conspect2"), QStringLiteral("Video1"),
      QStringLiteral("Video2"),    QStringLiteral("Exam1"),     QStringLiteral("Exam2")};
  return groups;
}

bool IsMode(int modeIndex) {
  return modeIndex >= 0 && modeIndex < static_cast<int>(ModeGroups().size());
}

QString ModeKey(int modeIndex, const QString& name) {
  return ModeGroups()[static_cast<size_t>(modeIndex)] + QLatin1Char('/') + name;
}

const QString kDelayKey = QStringLiteral("delay");
const QString kRepeatsKey = QStringLiteral("repeats");
const QString kSoundKey = QStringLiteral("sound");
const QString kToolBarKey = QStringLiteral("Window/toolbar");
const QString kStatusBarKey = QStringLiteral("Window/statusbar");
const QString kGeometryKey = QStringLiteral("Window/geometry");
const QString kLastLessonKey = QStringLiteral("Lessons/last");
const QString kLessonKey = QStringLiteral("lesson");
const QString kFilterKey = QStringLiteral("filter");
const QString kPositionKey = QStringLiteral("position");
const QString kKeyWordKey = QStringLiteral("word");
const QString kOccurrenceKey = QStringLiteral("occurrence");
const QString kSyncFolderKey = QStringLiteral("sync/folder");
// The mode shown last, by the name of its group.
const QString kLastModeKey = QStringLiteral("Lessons/mode");

}  // namespace

UserSettings::UserSettings(const QString& file) : m_settings(file, QSettings::IniFormat) {}

QString UserSettings::DefaultFile() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
         QStringLiteral("/verbaro/verbaro.conf");
}

bool UserSettings::ReadBool(const QString& key, bool fallback) const {
  const QVariant value = m_settings.value(key);
  // Only what this class writes counts; anything else someone typed into the file is ignored.
  if (value.toString() == QStringLiteral("true")) return true;
  if (value.toString() == QStringLiteral("false")) return false;
  return fallback;
}

uint32_t UserSettings::ReadNumber(const QString& key, uint32_t fallback) const {
  bool ok = false;
  const uint value = m_settings.value(key).toString().toUInt(&ok);
  return ok ? static_cast<uint32_t>(value) : fallback;
}

void UserSettings::Write(const QString& key, const QVariant& value) {
  m_settings.setValue(key, value);
  m_settings.sync();
}

VideoSettings UserSettings::Video(int modeIndex) const {
  const VideoSettings defaults;
  if (!IsMode(modeIndex)) return defaults;
  // The same bounds as the dialog's: a hand-edited file gets no pause the dialog would refuse.
  return ClampVideoSettings({ReadNumber(ModeKey(modeIndex, kDelayKey), defaults.delay),
                             ReadNumber(ModeKey(modeIndex, kRepeatsKey), defaults.repeats)});
}

void UserSettings::SetVideo(int modeIndex, VideoSettings settings) {
  if (!IsMode(modeIndex)) return;
  settings = ClampVideoSettings(settings);
  m_settings.setValue(ModeKey(modeIndex, kDelayKey), settings.delay);
  Write(ModeKey(modeIndex, kRepeatsKey), settings.repeats);
}

bool UserSettings::SoundOn(int modeIndex) const {
  return IsMode(modeIndex) ? ReadBool(ModeKey(modeIndex, kSoundKey), true) : true;
}

void UserSettings::SetSoundOn(int modeIndex, bool on) {
  if (IsMode(modeIndex)) Write(ModeKey(modeIndex, kSoundKey), on);
}

bool UserSettings::ToolBarVisible() const { return ReadBool(kToolBarKey, true); }

void UserSettings::SetToolBarVisible(bool visible) { Write(kToolBarKey, visible); }

bool UserSettings::StatusBarVisible() const { return ReadBool(kStatusBarKey, true); }

void UserSettings::SetStatusBarVisible(bool visible) { Write(kStatusBarKey, visible); }

ResumePlace UserSettings::Resume(int modeIndex) const {
  if (!IsMode(modeIndex)) return {};
  ResumePlace place;
  place.lesson = m_settings.value(ModeKey(modeIndex, kLessonKey)).toString();
  place.filterId = static_cast<int>(ReadNumber(ModeKey(modeIndex, kFilterKey), 0));
  place.position = static_cast<int>(ReadNumber(ModeKey(modeIndex, kPositionKey), 0));
  place.keyWord = m_settings.value(ModeKey(modeIndex, kKeyWordKey)).toString();
  // Not kept (an earlier version's file) or not a number: -1, found by position and word.
  const uint32_t occurrence = ReadNumber(ModeKey(modeIndex, kOccurrenceKey), UINT32_MAX);
  place.occurrence = occurrence <= INT32_MAX ? static_cast<int>(occurrence) : -1;
  return place;
}

void UserSettings::SetResume(int modeIndex, const ResumePlace& place) {
  if (!IsMode(modeIndex)) return;
  m_settings.setValue(ModeKey(modeIndex, kLessonKey), place.lesson);
  m_settings.setValue(ModeKey(modeIndex, kFilterKey), std::max(place.filterId, 0));
  m_settings.setValue(ModeKey(modeIndex, kPositionKey), std::max(place.position, 0));
  m_settings.setValue(ModeKey(modeIndex, kOccurrenceKey), std::max(place.occurrence, -1));
  Write(ModeKey(modeIndex, kKeyWordKey), place.keyWord);
}

QString UserSettings::LastLesson() const { return m_settings.value(kLastLessonKey).toString(); }

void UserSettings::SetLastLesson(const QString& lesson) { Write(kLastLessonKey, lesson); }

int UserSettings::LastMode() const {
  const QString group = m_settings.value(kLastModeKey).toString();
  const auto& groups = ModeGroups();
  const auto found = std::find(groups.begin(), groups.end(), group);
  return found == groups.end() ? -1 : static_cast<int>(found - groups.begin());
}

void UserSettings::SetLastMode(int modeIndex) {
  if (IsMode(modeIndex)) Write(kLastModeKey, ModeGroups()[static_cast<size_t>(modeIndex)]);
}

QString UserSettings::SyncFolder() const {
  return m_settings.value(kSyncFolderKey).toString().trimmed();
}

void UserSettings::SetSyncFolder(const QString& folder) {
  if (folder.trimmed().isEmpty()) {
    m_settings.remove(kSyncFolderKey);
    m_settings.sync();
    return;
  }
  Write(kSyncFolderKey, folder.trimmed());
}

QByteArray UserSettings::WindowGeometry() const {
  return m_settings.value(kGeometryKey).toByteArray();
}

void UserSettings::SetWindowGeometry(const QByteArray& geometry) { Write(kGeometryKey, geometry); }

}  // namespace verbaro
