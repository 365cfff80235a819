#include "data/progress/ProgressStore.h"

#include <cstdlib>
#include <utility>

#include "data/Text.h"
#include "data/progress/EntryMemory.h"
#include "data/progress/LessonIdentity.h"
#include "data/progress/StoreDatabase.h"

namespace verbaro::progress {

Direction DirectionOfMode(StudyMode mode) {
  return IsReverseMode(mode) ? Direction::Reverse : Direction::Forward;
}

std::string ProgressStore::DefaultPath() {
  std::string base;
  if (const char* data = std::getenv("XDG_DATA_HOME"); data != nullptr && data[0] == '/') {
    base = data;
  } else if (const char* home = std::getenv("HOME"); home != nullptr && home[0] != '\0') {
    base = std::string(home) + "/.local/share";
  } else {
    base = ".local/share";
  }
  return base + "/verbaro/progress.sqlite";
}

std::unique_ptr<ProgressStore> ProgressStore::Open(const std::string& path, const Clock& clock,
                                                   Access access) {
  auto db = std::make_shared<StoreDatabase>(path, clock, access == Access::ReadOnly);
  return std::unique_ptr<ProgressStore>(new ProgressStore(std::move(db)));
}

ProgressStore::ProgressStore(std::shared_ptr<StoreDatabase> db) : m_db(std::move(db)) {}

ProgressStore::~ProgressStore() = default;

std::u16string ProgressStore::TakeNotice() { return m_db->TakeNotice(); }

bool ProgressStore::IsSaving() const { return m_db->IsSaving(); }

std::unique_ptr<LessonProgress> ProgressStore::OpenLesson(const std::vector<EntryKey>& keys,
                                                          const std::string& path) {
  LessonIdentity identity = IdentifyLesson(*m_db, keys, path);
  return std::unique_ptr<LessonProgress>(
      new LessonProgress(m_db, identity.lessonId, keys, std::move(identity.entryIds)));
}

bool ProgressStore::RebuildMemory() {
  return m_db->Write([&] { return RederiveMemory(*m_db); });
}

}  // namespace verbaro::progress
