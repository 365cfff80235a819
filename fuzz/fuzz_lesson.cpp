// Lesson files. An input that starts with the SQLite header is written out as the lesson file
// itself (damaged databases); any other input spells the rows of a well-formed lesson (odd texts,
// rowid gaps, recordings of every storage class, missing columns), which reaches much deeper into
// the filters, the reversed lesson and the exam preparation than raw database bytes do, and may
// end with byte patches that damage the written file.
//
// Every lesson then goes the ways the views take it: read, filtered, every entry of every filter
// selected; reversed as Conspect-2 and Video-2 do; prepared and answered to the end by both exam
// views (sound off).
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>

#include "fuzz/FuzzChecks.h"
#include "fuzz/FuzzSupport.h"
#include "tests/fakes/FakeFilterMenu.h"
#include "tests/fakes/FakePlatform.h"
#include "views/Exam1View.h"
#include "views/Exam2View.h"

namespace verbaro::fuzz {
namespace {

const std::vector<std::u16string> kGrams = {u"m",   u"f",   u"n", u"adj,f", u"adj,m", u"adj",
                                            u"adv", u"num", u"v", u"~",     u"~~",    u""};
const std::vector<std::u16string> kNumbers = {u"s", u"p", u"", u"sp"};
const std::vector<std::u16string> kWords = {u"maison", u"été", u"chat", u"le chat", u"é", u""};
const std::vector<std::u16string> kTranslations = {u"дом", u"лето", u"кот", u"слово", u""};
const std::vector<std::u16string> kInfos = {u"", u"info", u"la maison"};

// Input layout: columns byte, row count byte, then per row a flags byte and its fields.
std::vector<LessonRow> RowsOf(ByteReader& in) {
  std::vector<LessonRow> rows;
  const int count = in.Byte() % 24;
  for (int i = 0; i < count && !in.Empty(); ++i) {
    LessonRow row;
    const uint8_t flags = in.Byte();
    if (flags & 0x04) row.rowid = static_cast<int8_t>(in.Byte());  // gaps, repeats, negatives
    row.gram = in.Text(kGrams);
    row.number = in.Text(kNumbers);
    row.key = in.Text(kWords);
    if (flags & 0x08) {
      row.info1 = in.Text(kInfos);
      row.info2 = in.Text(kInfos);
      row.info3 = in.Text(kInfos);
    }
    const int translations = std::min((flags >> 4) & 0x07, 5);
    for (int t = 0; t < translations; ++t) row.translations.push_back(in.Text(kTranslations));
    switch (flags & 0x03) {
      case 0:
      case 1: row.blobKind = BlobKind::Bytes; break;
      case 2: row.blobKind = (flags & 0x80) ? BlobKind::Integer : BlobKind::Null; break;
      default: row.blobKind = BlobKind::Text; break;
    }
    row.blob = in.Bytes(48);
    rows.push_back(std::move(row));
  }
  return rows;
}

// The bytes left after the rows damage the written file: each three bytes put one byte (the
// third) at an offset (the first two, little-endian, modulo the file's size). A database close
// to a valid one reaches SQLite's damage handling and the reading of odd values much more often
// than random bytes do.
void PatchFile(const std::string& path, ByteReader& in) {
  if (in.Empty()) return;
  std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
  file.seekg(0, std::ios::end);
  const auto size = static_cast<size_t>(file.tellg());
  if (size == 0) return;
  while (in.Remaining() >= 3) {
    const size_t offset = in.Word() % size;
    const char value = static_cast<char>(in.Byte());
    file.seekp(static_cast<std::streamoff>(offset));
    file.write(&value, 1);
  }
}

// The lesson half of a view without a widget: messages are counted, menus always succeed.
class LessonProbe : public LessonState {
 public:
  void ShowMessage(MessageKind, std::u16string_view) override { ++messages; }
  void Repaint() override {}
  bool BuildFilterMenu() override { return true; }
  std::u16string GetModeName() const override { return u"Модуль \"Проба\""; }
  int messages = 0;
};

// Selects every filter and every position in it, as moving through a view does.
void WalkFilters(LessonProbe& probe) {
  const auto items = probe.FilterMenuItems();
  for (const auto& [id, text] : items) {
    probe.SelectUserFilter(id, u"режим");
    // The reversed views step through recordings after each repaint; bound the walk.
    const size_t steps = probe.m_vUserIndexes.size() * 6 + 2;
    for (size_t step = 0; step < steps && step < 400; ++step) {
      if (!probe.m_bContraVersa) {
        probe.m_nUserFilterIndex = static_cast<int32_t>(step);
        probe.m_nCurMp3Index = 0;
      }
      if (probe.SetUserData()) probe.AdvanceRecording();
      probe.CheckTypedText();
    }
  }
  // Positions the views never reach must be refused quietly.
  probe.m_nUserFilterIndex = -1;
  probe.SetUserData();
  probe.m_nUserFilterIndex = static_cast<int32_t>(probe.m_vUserIndexes.size());
  probe.SetUserData();
  probe.SelectUserFilter(kLastFilterCommand, u"режим");
}

void ReadDirect(const std::u16string& path, DiagnosticLog& log) {
  LessonProbe probe;
  probe.SetLogStream(&log);
  probe.m_szDataFile = path;
  if (!probe.LoadWordsData()) return;
  if (!probe.CreateUserFilters()) return;
  WalkFilters(probe);
}

void ReadReversed(const std::u16string& path, DiagnosticLog& log, bool video) {
  LessonProbe probe;
  probe.SetLogStream(&log);
  probe.m_bContraVersa = 1;
  probe.m_bVideoMode = video ? 1 : 0;
  probe.m_bConspectMode = video ? 0 : 1;
  probe.m_szDataFile = path;
  if (!probe.LoadWordsData()) return;
  if (!probe.BuildContraVersaData()) return;
  WalkFilters(probe);
}

// Opens the lesson in an exam view and answers every question right until the test ends.
template <typename ExamView>
void TakeExam(const QString& path, FilterMenu& menu) {
  FakePlatform fake;
  fake.workArea.rect = QRect(0, 0, 320, 240);
  fake.log.AttachMemory();
  ExamView view(fake.Get());
  view.SetFilterMenu(&menu);
  view.resize(320, 240);
  view.SetMainLog(&fake.log);
  view.Create();
  view.m_bIsSound = 0;
  fake.files.answers.push_back(path);
  if (!view.OpenLesson()) return;
  const int32_t total = view.m_nTotalCountAltWords;
  for (int question = 0; question < 300 && view.m_nTotalCountAltWords > 0; ++question) {
    view.Repaint();
    CheckExamCounters(view, total);
    if (!view.HasQuestion()) break;
    // A wrong choice first now and then, so that error counters come into play.
    if (question % 3 == 1 && view.m_numberedCells > 1) {
      view.OnAnswer(view.m_trueCellIndex == 0 ? 2 : 1);
      CheckExamCounters(view, total);
    }
    view.OnAnswer(view.m_trueCellIndex + 1);
    CheckExamCounters(view, total);
  }
}

}  // namespace
}  // namespace verbaro::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace verbaro;
  using namespace verbaro::fuzz;
  EnsureApplication();
  const InScratchFolder scratch;
  const std::string path = ScratchFolder() + "/lesson.db";
  static constexpr char kMagic[] = "SQLite format 3";
  if (size >= sizeof kMagic && std::memcmp(data, kMagic, sizeof kMagic) == 0) {
    WriteFileBytes(path, data, size);
  } else {
    ByteReader in(data, size);
    const uint8_t layout = in.Byte();
    const int columns = layout >= 0xF0 ? 1 + (layout & 0x0F) : 14;
    if (!WriteLesson(path, RowsOf(in), columns)) return 0;
    PatchFile(path, in);
  }

  const std::u16string lesson = FromUtf8(path);
  DiagnosticLog log;
  log.AttachMemory();
  ReadDirect(lesson, log);
  ReadReversed(lesson, log, false);
  ReadReversed(lesson, log, true);

  // Kept for the whole run, like the application.
  FakeFilterMenu menu;
  TakeExam<CExam1View>(QString::fromStdString(path), menu);
  TakeExam<CExam2View>(QString::fromStdString(path), menu);
  return 0;
}
