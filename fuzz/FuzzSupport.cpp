#include "fuzz/FuzzSupport.h"

#include <stdlib.h>

#include <QApplication>
#include <QDir>
#include <QImage>
#include <algorithm>
#include <filesystem>
#include <fstream>

#include "data/Text.h"
#include "lessonwriter/LessonWriter.h"

namespace verbaro::fuzz {

namespace {

// The views load their backgrounds and logos from Res/ in the current folder when it has them,
// as a learner's own pictures. Tiny ones in the scratch folder keep every view's creation cheap:
// the built-in backgrounds are screen-sized and would cost most of each run.
void MakeTinyModePictures() {
  const QString folder = QString::fromStdString(ScratchFolder());
  QDir(folder).mkpath(QStringLiteral("Res"));
  const QString saved = QDir::currentPath();
  if (!QDir::setCurrent(folder)) abort();
  QImage background(4, 3, QImage::Format_RGB32);
  background.fill(Qt::darkBlue);
  QImage logo(3, 2, QImage::Format_ARGB32);
  logo.fill(QColor(255, 255, 0, 128));
  for (const char* mode : {"Conspect1", "Conspect2", "Video1", "Video2", "Exam1", "Exam2"}) {
    const QString name = QStringLiteral("Res/") + QLatin1String(mode);
    if (!background.save(name + QStringLiteral(".jpg"), "JPG") ||
        !logo.save(name + QStringLiteral("Logo.png"), "PNG")) {
      abort();
    }
  }
  QDir::setCurrent(saved);
}

}  // namespace

void EnsureApplication() {
  if (QApplication::instance()) return;
  // The fuzzers never need a display, whatever the environment says.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "verbaro_fuzz";
  static char* argv[] = {name, nullptr};
  // Lives until the process ends: libFuzzer leaves through exit(), and a QApplication destroyed
  // by an exit handler would race Qt's own global teardown.
  static QApplication* application = new QApplication(argc, argv);
  (void)application;
  MakeTinyModePictures();
}

namespace {

struct Scratch {
  std::string path;
  Scratch() {
    std::string pattern = (std::filesystem::temp_directory_path() / "verbaro-fuzz-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) abort();
    path = pattern;
  }
  ~Scratch() {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
  }
};

}  // namespace

InScratchFolder::InScratchFolder() : m_saved(QDir::currentPath()) {
  if (!QDir::setCurrent(QString::fromStdString(ScratchFolder()))) abort();
}

InScratchFolder::~InScratchFolder() { QDir::setCurrent(m_saved); }

const std::string& ScratchFolder() {
  static Scratch scratch;
  return scratch.path;
}

void WriteFileBytes(const std::string& path, const uint8_t* data, size_t size) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

bool WriteLesson(const std::string& path, const std::vector<LessonRow>& rows, int columns) {
  std::error_code ignored;
  std::filesystem::remove(path, ignored);
  columns = std::clamp(columns, 1, lesson::kLessonColumnCount);
  lesson::LessonWriterOptions options;
  // The recording column is kept whatever else is left out: without it every row is unreadable.
  for (int c = 0; c + 1 < columns; ++c) options.columns.push_back(c);
  options.columns.push_back(lesson::kRecordingColumn);
  options.pageSize = 512;  // small pages keep the seed files small
  // A repeated rowid is refused by the table; the row is simply not there.
  options.skipRepeatedRowids = true;
  lesson::LessonWriter writer(path, options);
  std::string error;
  if (!writer.OpenInPlace(error)) return false;
  int64_t place = 1;
  for (const LessonRow& row : rows) {
    lesson::LessonRow written;
    written.rowid = row.rowid ? row.rowid : place;
    ++place;
    written.texts = {
        std::u16string(u"topic"), row.gram, row.number, row.key, row.info1, row.info2, row.info3};
    for (size_t t = 0; t < row.translations.size() && t < 5; ++t) {
      written.Text(8 + static_cast<int>(t)) = row.translations[t];
    }
    written.recordingKind = row.blobKind;
    written.recording = row.blob;
    if (!writer.AddRow(written, error)) return false;
  }
  return writer.Commit(true, error);
}

std::vector<uint8_t> ByteReader::Bytes(size_t limit) {
  const size_t count = std::min<size_t>(Byte(), limit);
  std::vector<uint8_t> bytes;
  for (size_t i = 0; i < count && !Empty(); ++i) bytes.push_back(Byte());
  return bytes;
}

std::u16string ByteReader::Text(const std::vector<std::u16string>& pool) {
  const uint8_t choice = Byte();
  if (choice < pool.size()) return pool[choice];
  const size_t length = choice & 0x0F;
  std::u16string text;
  if (choice & 0x80) {
    // Raw UTF-16 units: lone surrogates, NULs and the typing line's own marks included.
    for (size_t i = 0; i < length && !Empty(); ++i) text += static_cast<char16_t>(Word());
    return text;
  }
  std::string utf8;
  for (size_t i = 0; i < length && !Empty(); ++i) utf8 += static_cast<char>(Byte());
  return FromUtf8(utf8);
}

}  // namespace verbaro::fuzz
