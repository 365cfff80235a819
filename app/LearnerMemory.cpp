#include "app/LearnerMemory.h"

#include <QTimer>
#include <utility>

#include "app/UserSettings.h"
#include "data/Text.h"
#include "data/progress/LessonRecords.h"
#include "data/progress/TypingGrade.h"
#include "platform/QtText.h"
#include "views/WordsView.h"

namespace verbaro {

using progress::Direction;
using progress::DirectionOfMode;
using progress::GradedDirectionOfMode;
using progress::LessonProgress;

namespace {
bool IsMode(int modeIndex) { return ModeOfIndex(modeIndex).has_value(); }
}  // namespace

LearnerMemory::LearnerMemory(UserSettings* settings, progress::ProgressStore* store)
    : m_settings(settings), m_store(store) {}

LearnerMemory::~LearnerMemory() { Flush(); }

std::u16string LearnerMemory::TakeNotice() { return m_store ? m_store->TakeNotice() : u""; }

void LearnerMemory::LessonOpened(int modeIndex, const CWordsView& view) {
  if (!m_settings) return;
  const QString path = ToQ(view.m_szDataFile);
  m_settings->SetLastLesson(path);
  // An Exam starts afresh on its lesson: only the file is kept. The other modes have told their
  // place already, as they showed it.
  if (!view.ShownPlace()) m_settings->SetResume(modeIndex, {path, 0, 0, QString()});
}

const LearnerMemory::Lesson* LearnerMemory::LessonFor(int modeIndex) const {
  if (!IsMode(modeIndex)) return nullptr;
  const Lesson& lesson = m_lessons[static_cast<size_t>(modeIndex)];
  return lesson.progress && lesson.entries ? &lesson : nullptr;
}

LessonProgress* LearnerMemory::LessonOf(int modeIndex) const {
  const Lesson* lesson = LessonFor(modeIndex);
  return lesson ? lesson->progress.get() : nullptr;
}

void LearnerMemory::LessonRead(int modeIndex, const CWordsView& view) {
  if (!m_store || !IsMode(modeIndex)) return;
  Flush();  // what the old lesson still had to write goes to the old lesson
  Lesson& lesson = m_lessons[static_cast<size_t>(modeIndex)];
  lesson.entries = std::make_shared<progress::LessonEntries>(view.m_vWordsData);
  lesson.progress = std::shared_ptr<LessonProgress>(
      m_store->OpenLesson(lesson.entries->Keys(), ToUtf8(view.m_szDataFile)));
  lesson.progress->SetModeRecords(Direction::Reverse,
                                  lesson.entries->ReversedRecords(view.m_vWordsData));
}

void LearnerMemory::Later(const Lesson& lesson, std::function<void(LessonProgress&)> write) {
  std::shared_ptr<LessonProgress> progress = lesson.progress;
  m_pending.push_back([progress, write = std::move(write)] { write(*progress); });
  if (m_pending.size() == 1) QTimer::singleShot(0, &m_context, [this] { Flush(); });
}

void LearnerMemory::Flush() {
  if (m_pending.empty()) return;
  std::vector<std::function<void()>> pending = std::move(m_pending);
  m_pending.clear();
  for (const auto& write : pending) write();
  if (!m_onStudyNotice || !m_store) return;
  if (const std::u16string notice = m_store->TakeNotice(); !notice.empty()) m_onStudyNotice(notice);
}

void LearnerMemory::EntryShown(int modeIndex, const CWordsView& view) {
  const std::optional<ResumePoint> place = view.ShownPlace();
  if (!place || view.m_szDataFile.empty()) return;
  if (m_settings) {
    m_settings->SetResume(modeIndex, {ToQ(view.m_szDataFile), place->filterId, place->position,
                                      ToQ(place->keyWord), place->occurrence});
  }
  const Lesson* lesson = LessonFor(modeIndex);
  if (!lesson || !view.m_bVideoMode) return;
  std::vector<int> entries = progress::ShownEntries(*lesson->entries, view);
  if (entries.empty()) return;
  const Direction direction = DirectionOfMode(*ModeOfIndex(modeIndex));
  Later(*lesson, [direction, entries](LessonProgress& progress) {
    progress.RecordExposure(direction, entries);
  });
}

void LearnerMemory::EntryTyped(int modeIndex, const CWordsView& view,
                               const progress::TypingResult& result) {
  const Lesson* lesson = LessonFor(modeIndex);
  if (!lesson) return;
  std::vector<int> entries = progress::ShownEntries(*lesson->entries, view);
  if (entries.empty()) return;
  // Typed from memory it is an answer in the direction recalled; copied from the screen it is
  // practice. Either way its slips belong to the keyboard of the mode's own alphabet.
  const StudyMode mode = *ModeOfIndex(modeIndex);
  const Direction typedOn = DirectionOfMode(mode);
  const Direction recalled = GradedDirectionOfMode(mode);
  Later(*lesson, [typedOn, recalled, entries, result](LessonProgress& progress) {
    if (result.fromMemory) {
      progress.RecordTyping(recalled, entries, result, typedOn);
    } else {
      progress.RecordPractice(typedOn, entries, result);
    }
  });
}

void LearnerMemory::ExamAnswered(int modeIndex, const AskedEntry& asked,
                                 progress::ExamAnswer answer) {
  const Lesson* lesson = LessonFor(modeIndex);
  if (!lesson) return;
  const Direction direction = DirectionOfMode(*ModeOfIndex(modeIndex));
  // Экзамен-1 asks a French word; Экзамен-2 a translation, whose right answer is a French word.
  const std::u16string& word = direction == Direction::Forward ? asked.keyWord : asked.answer;
  std::vector<int> entries = lesson->entries->EntriesOfWord(word, asked.gram, asked.number);
  if (entries.empty()) return;
  Later(*lesson, [direction, entries, answer](LessonProgress& progress) {
    progress.RecordExamAnswer(direction, entries, answer);
  });
}

void LearnerMemory::ExamFinished(int modeIndex, const progress::ExamResult& result) {
  const Lesson* lesson = LessonFor(modeIndex);
  if (!lesson) return;
  progress::ExamResult named = result;
  named.mode = *ModeOfIndex(modeIndex);
  Later(*lesson, [named](LessonProgress& progress) { progress.RecordExamResult(named); });
}

ReviewLists LearnerMemory::Review(int modeIndex, const CWordsView& view) {
  const Lesson* lesson = LessonFor(modeIndex);
  if (!lesson) return {};
  Flush();  // the lists include the answers just given
  progress::ReviewRecords review =
      progress::ReviewOf(*lesson->entries, *lesson->progress, view, *ModeOfIndex(modeIndex));
  return {std::move(review.missed), std::move(review.due), std::move(review.hard)};
}

}  // namespace verbaro
