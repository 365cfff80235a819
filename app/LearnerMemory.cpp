#include "app/LearnerMemory.h"

#include <QTimer>
#include <algorithm>
#include <limits>
#include <map>

#include "app/UserSettings.h"
#include "data/FilterKinds.h"
#include "data/StudyStatistics.h"
#include "data/Text.h"
#include "data/progress/TypingGrade.h"
#include "platform/QtText.h"
#include "views/WordsView.h"

namespace verbaro {

using progress::Direction;
using progress::DirectionOfMode;
using progress::GradedDirectionOfMode;
using progress::LessonProgress;

namespace {
bool IsMode(int modeIndex) { return modeIndex >= 0 && modeIndex < 6; }
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

std::vector<int> LearnerMemory::RecordEntries(const Lesson& lesson, const CWordsView& view,
                                              int32_t record) {
  if (record < 0 || static_cast<size_t>(record) >= view.m_vWordsData.size()) return {};
  const WordsData& data = view.m_vWordsData[static_cast<size_t>(record)];
  if (view.m_bContraVersa) return lesson.entries->EntriesOfReversed(data);
  // The exams merge the rows of one word into one record.
  if (view.m_bExamMode) {
    return lesson.entries->EntriesOfWord(data.wsKeyWord, data.wsFrGram, data.wsFrNumber);
  }
  // Conspect-1 and Video-1 keep the rows as read: the record is the row.
  if (static_cast<size_t>(record) >= lesson.entries->Keys().size()) return {};
  return {record};
}

std::vector<int> LearnerMemory::ShownEntries(const Lesson& lesson, const CWordsView& view) const {
  const int32_t position = view.m_nUserFilterIndex;
  if (position < 0 || static_cast<size_t>(position) >= view.m_vUserIndexes.size()) return {};
  return RecordEntries(lesson, view, view.m_vUserIndexes[static_cast<size_t>(position)]);
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
  std::vector<int> entries = ShownEntries(*lesson, view);
  if (entries.empty()) return;
  Later(*lesson, [direction = DirectionOfMode(modeIndex), entries](LessonProgress& progress) {
    progress.RecordExposure(direction, entries);
  });
}

void LearnerMemory::EntryTyped(int modeIndex, const CWordsView& view,
                               const progress::TypingResult& result) {
  const Lesson* lesson = LessonFor(modeIndex);
  if (!lesson) return;
  std::vector<int> entries = ShownEntries(*lesson, view);
  if (entries.empty()) return;
  // Typed from memory it is an answer in the direction recalled; copied from the screen it is
  // practice. Either way its slips belong to the keyboard of the mode's own alphabet.
  const Direction typedOn = DirectionOfMode(modeIndex);
  const Direction recalled = GradedDirectionOfMode(modeIndex);
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
  const Direction direction = DirectionOfMode(modeIndex);
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
  Later(*lesson, [result](LessonProgress& progress) { progress.RecordExamResult(result); });
}

ReviewLists LearnerMemory::Review(int modeIndex, const CWordsView& view) {
  const Lesson* lesson = LessonFor(modeIndex);
  if (!lesson) return {};
  Flush();  // the lists include the answers just given
  const auto all = view.m_mapUserFilters.find(std::u16string(kFilterAll));
  if (all == view.m_mapUserFilters.end()) return {};
  // Only a lesson with history has review filters: without it «На сегодня» would merely be the
  // first new entries, and a learner's first lesson looks as it always has.
  const auto answered = [&](Direction way) { return lesson->progress->Counts(way).answers > 0; };
  if (!answered(Direction::Forward) && !answered(Direction::Reverse)) return {};
  // The lists of the direction the mode's answers count for, which answering them pays back.
  const Direction direction = GradedDirectionOfMode(modeIndex);
  // A record takes the place of its best-placed entry in the store's order.
  const auto listOf = [&](const std::vector<int>& ordered) {
    std::map<int, size_t> rank;
    for (size_t i = 0; i < ordered.size(); ++i) rank.emplace(ordered[i], i);
    std::vector<std::pair<size_t, int32_t>> placed;
    if (!rank.empty()) {
      for (const int32_t record : all->second) {
        size_t best = std::numeric_limits<size_t>::max();
        for (const int entry : RecordEntries(*lesson, view, record)) {
          if (const auto found = rank.find(entry); found != rank.end()) {
            best = std::min(best, found->second);
          }
        }
        if (best != std::numeric_limits<size_t>::max()) placed.emplace_back(best, record);
      }
    }
    std::stable_sort(placed.begin(), placed.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<int32_t> records;
    records.reserve(placed.size());
    for (const auto& [place, record] : placed) records.push_back(record);
    return records;
  };
  std::vector<int> hardest;
  for (const progress::HardEntry& hard : lesson->progress->HardestEntries(direction, kHardestShown))
    hardest.push_back(hard.entry);
  return {listOf(lesson->progress->MissedEntries(direction)),
          listOf(lesson->progress->DueEntries(direction)), listOf(hardest)};
}

}  // namespace verbaro
