// Long runs: a 2 000-entry lesson played through by both Video views with the end-of-sound timer
// fired by hand, and exams of 20 000 answers in both directions. Memory must stay flat once the
// run is warm, every entry must be sounded, and the exam's counters must stay consistent.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cstdio>
#include <random>

#include "LongRunSupport.h"
#include "data/Text.h"
#include "views/Exam1View.h"
#include "views/Exam2View.h"
#include "views/Video1View.h"
#include "views/Video2View.h"

namespace verbaro::longrun {
namespace {

constexpr int kEntries = 2000;
constexpr int kExamAnswers = 20000;
// Generous: the run itself keeps nothing per entry, so real growth would be a leak.
constexpr int64_t kMaxGrowth = 20 * 1024 * 1024;

const std::u16string kGroups[][2] = {{u"m", u"s"},  {u"m", u"p"}, {u"f", u"s"},    {u"f", u"p"},
                                     {u"n", u"s"},  {u"v", u""},  {u"adj,m", u""}, {u"adj,f", u""},
                                     {u"adv", u""}, {u"num", u""}};

// Entries in pairs of one group; every tenth row shares its translation with the row before,
// so that the reversed lesson has entries with two recordings.
std::vector<LessonRow> VideoLesson() {
  std::vector<LessonRow> rows;
  for (int i = 0; i < kEntries; ++i) {
    const auto& group = kGroups[(i / 2) % std::size(kGroups)];
    const int meaning = (i % 10 == 1) ? i - 1 : i;
    rows.push_back({group[0], group[1], u"mot" + ToU16(i), {u"слово" + ToU16(meaning)}});
  }
  return rows;
}

// Three distinct translations per row.
std::vector<LessonRow> ExamLesson() {
  std::vector<LessonRow> rows;
  for (int i = 0; i < kEntries; ++i) {
    const auto& group = kGroups[i % std::size(kGroups)];
    const std::u16string n = ToU16(i);
    rows.push_back({group[0],
                    group[1],
                    u"mot" + n,
                    {u"слово" + n + u"а", u"слово" + n + u"б", u"слово" + n + u"в"}});
  }
  return rows;
}

struct Memory {
  int64_t resident = ResidentBytes();
  int64_t heap = HeapBytesInUse();
};

void ExpectFlat(const char* run, const Memory& warm, const Memory& end) {
  std::printf(
      "%s: resident %.1f MiB after warm-up, %.1f MiB at the end (%+.1f MiB); "
      "heap in use %.1f -> %.1f MiB (%+.1f MiB)\n",
      run, warm.resident / kMiB, end.resident / kMiB, (end.resident - warm.resident) / kMiB,
      warm.heap / kMiB, end.heap / kMiB, (end.heap - warm.heap) / kMiB);
  EXPECT_LT(end.resident - warm.resident, kMaxGrowth) << run;
  EXPECT_LT(end.heap - warm.heap, kMaxGrowth) << run;
}

class LongRun : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureApplication();
    ASSERT_TRUE(m_dir.isValid());
  }
  QString Lesson(const char* name, const std::vector<LessonRow>& rows) {
    const QString path = m_dir.filePath(QString::fromLatin1(name));
    WriteLesson(path, rows);
    return path;
  }

  // Fires the end-of-sound timer until the play-through stops by itself, measuring memory once
  // the first tenth of the lesson has played. Returns the ticks fired.
  static int PlayThrough(LongRunHarness& run, Memory& warm) {
    int ticks = 0;
    bool measured = false;
    // Every entry sounds once and each of its recordings ticks once; far more means it loops.
    while (run.Timer().IsActive() && ticks < 4 * kEntries) {
      run.Timer().Fire();
      ++ticks;
      if (!measured && run.View().m_nUserFilterIndex >= kEntries / 10) {
        warm = Memory();
        measured = true;
      }
    }
    return ticks;
  }

 private:
  QTemporaryDir m_dir;
};

TEST_F(LongRun, Video1PlaysEveryEntryOnceWithFlatMemory) {
  const QString path = Lesson("video.db", VideoLesson());
  auto run = LongRunHarness::Make<CVideo1View>();
  ASSERT_TRUE(run->Open(path));
  CWordsView& view = run->View();
  ASSERT_EQ(view.m_vUserIndexes.size(), size_t{kEntries});

  Memory warm;
  const int ticks = PlayThrough(*run, warm);
  ExpectFlat("Video-1", warm, Memory());

  EXPECT_FALSE(run->Timer().IsActive()) << "still playing after " << ticks << " ticks";
  EXPECT_EQ(view.m_nUserFilterIndex, kEntries - 1);
  EXPECT_EQ(run->WaveOut().writes, kEntries);  // each entry sounded once, the first at opening
  EXPECT_EQ(run->fake.messages.Texts(),
            std::vector<QString>{QStringLiteral("Закончились данные по выбранному фильтру!")});
}

TEST_F(LongRun, Video2PlaysEveryRecordingOnceWithFlatMemory) {
  const QString path = Lesson("video.db", VideoLesson());
  auto run = LongRunHarness::Make<CVideo2View>();
  ASSERT_TRUE(run->Open(path));
  CWordsView& view = run->View();
  // Every tenth row shares its translation with the row before: 200 merged entries.
  ASSERT_EQ(view.m_vUserIndexes.size(), size_t{kEntries - kEntries / 10});

  Memory warm;
  const int ticks = PlayThrough(*run, warm);
  ExpectFlat("Video-2", warm, Memory());

  EXPECT_FALSE(run->Timer().IsActive()) << "still playing after " << ticks << " ticks";
  EXPECT_EQ(view.m_nUserFilterIndex, static_cast<int32_t>(view.m_vUserIndexes.size()) - 1);
  EXPECT_EQ(run->WaveOut().writes, kEntries);  // every row's recording, the last entry's too
  EXPECT_EQ(run->fake.messages.Texts(),
            std::vector<QString>{QStringLiteral("Закончились данные по выбранному фильтру!")});
}

// Answers questions in a fixed pseudo-random mix of right, wrong and refused choices until
// kExamAnswers choices were made, then answers right until the test ends. The counters are
// checked after every choice.
template <typename View>
void TakeLongExam(LongRunHarness& run, const char* name) {
  auto& exam = static_cast<CExam1View&>(run.View());
  exam.m_bIsSound = 0;  // the Video runs cover the sound; here only the exam's own memory counts
  const int32_t filterAnswers = exam.m_nTotalCountAltWords;
  ASSERT_EQ(filterAnswers, 3 * kEntries);

  std::mt19937 random(20240601);
  Memory warm;
  int choices = 0, rights = 0, wrongs = 0, hints = 0;
  auto check = [&] {
    ASSERT_GE(exam.m_rightAnswers, 0);
    ASSERT_GE(exam.m_wrongAnswers, 0);
    ASSERT_GE(exam.m_hints, 0);
    ASSERT_GE(exam.m_nTotalCountAltWords, 0);
    ASSERT_EQ(exam.m_nTotalCountAltWords + exam.m_rightAnswers, filterAnswers);
    ASSERT_EQ(exam.m_wrongAnswers, wrongs);
    ASSERT_EQ(exam.m_hints, hints);
  };
  bool measured = false;
  // A new second for every question: the draws are seeded by the clock. A right answer repaints,
  // which asks the next question.
  ++run.fake.clock.seconds;
  exam.Repaint();
  while (exam.m_nTotalCountAltWords > 0 && choices < 4 * kExamAnswers) {
    ASSERT_TRUE(exam.HasQuestion()) << "no question after " << choices << " choices";
    const int cells = exam.m_numberedCells;
    const int right = exam.m_trueCellIndex + 1;
    // 55 % of the questions get a wrong choice first (each needs one more right answer later),
    // 5 % a refusal; about 21 000 choices learn the 6 000 answers.
    const int roll = choices < kExamAnswers ? static_cast<int>(random() % 20) : 0;
    if (roll >= 9 && cells > 1) {
      exam.OnKeyDown(0x30 + (right % cells) + 1);  // the next cell round: wrong
      ++wrongs;
      ++choices;
    } else if (roll == 8) {
      exam.OnKeyDown(0x30);  // refusal
      ++hints;
      ++choices;
    }
    ASSERT_NO_FATAL_FAILURE(check());
    ++run.fake.clock.seconds;
    exam.OnKeyDown(0x30 + right);
    ++choices;
    ++rights;
    ASSERT_NO_FATAL_FAILURE(check());
    if (!measured && choices >= 2000) {
      warm = Memory();
      measured = true;
    }
  }
  ExpectFlat(name, warm, Memory());
  std::printf("%s: %d choices (%d right, %d wrong, %d refusals)\n", name, choices, rights, wrongs,
              hints);

  EXPECT_EQ(exam.m_nTotalCountAltWords, 0) << "the test did not end";
  EXPECT_GE(choices, kExamAnswers);
  EXPECT_EQ(exam.m_rightAnswers, filterAnswers);
  const std::vector<QString> messages = run.fake.messages.Texts();
  ASSERT_FALSE(messages.empty());
  EXPECT_EQ(messages.back(), QStringLiteral("Данные закончились! Ваша статистика:\nПравильно: %1; "
                                            "Неправильно: %2; Подсказок: %3")
                                 .arg(filterAnswers)
                                 .arg(wrongs)
                                 .arg(hints));
}

TEST_F(LongRun, Exam1TwentyThousandAnswers) {
  const QString path = Lesson("exam.db", ExamLesson());
  auto run = LongRunHarness::Make<CExam1View>();
  ASSERT_TRUE(run->Open(path));
  TakeLongExam<CExam1View>(*run, "Exam-1");
}

TEST_F(LongRun, Exam2TwentyThousandAnswers) {
  const QString path = Lesson("exam.db", ExamLesson());
  auto run = LongRunHarness::Make<CExam2View>();
  ASSERT_TRUE(run->Open(path));
  TakeLongExam<CExam2View>(*run, "Exam-2");
}

}  // namespace
}  // namespace verbaro::longrun
