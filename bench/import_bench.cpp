// Importing an Anki package of 10 000 notes, every one with its own MP3 recording: the whole
// `verbaro-lesson import` from the package to a new lesson file (reading the collection and the
// media, checking that the trainer plays each recording, writing the lesson), in wall time,
// since the recordings are checked on every core. The goal is at most 10 s.
//
// The package is made once and kept in the build folder: a lesson of 10 000 entries with a
// one-second MP3 each, exported with `verbaro-lesson export --anki`.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "lessonimport/ImportCommand.h"
#include "lessonimport/LessonExport.h"
#include "lessonwriter/LessonWriter.h"

namespace verbaro::bench {
namespace {

constexpr int kNotes = 10000;

std::vector<uint8_t> ReadBytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The package, made on first use; empty when it could not be made.
std::filesystem::path PackagePath() {
  const std::filesystem::path folder = VERBARO_IMPORT_BENCH_CACHE;
  const std::filesystem::path package = folder / ("anki-" + std::to_string(kNotes) + ".apkg");
  if (std::filesystem::exists(package)) return package;
  std::filesystem::create_directories(folder);

  const std::vector<uint8_t> recording =
      ReadBytes(VERBARO_TEST_FIXTURES "/mp3/tone_1s_44k_mono.mp3");
  const std::filesystem::path lesson = folder / "anki-source.db";
  std::filesystem::remove(lesson);
  lesson::LessonWriter writer(lesson);
  std::string error;
  if (!writer.Open(error)) return {};
  for (int i = 0; i < kNotes; ++i) {
    lesson::LessonRow row;
    row.texts = {
        std::string("bench"), std::string("~"), std::string(), "mot " + std::to_string(i),
        std::string(),        std::string(),    std::string(), "слово " + std::to_string(i)};
    for (int t = 1; t < lesson::kTranslationColumnCount; ++t)
      row.Text(lesson::kFirstTranslationColumn + t) = std::string();
    row.recording = recording;
    if (!writer.AddRow(row, error)) return {};
  }
  if (!writer.Commit(true, error)) return {};

  std::ostringstream out, err;
  lessonimport::ExportRequest request;
  request.lesson = lesson;
  request.ankiPackage = package;
  request.replace = true;
  if (lessonimport::ExportLesson(request, out, err) != 0) return {};
  return package;
}

void AnkiImport(benchmark::State& state) {
  const std::filesystem::path package = PackagePath();
  if (package.empty()) {
    state.SkipWithError("the package could not be made");
    return;
  }
  const std::filesystem::path lesson = package.parent_path() / "imported.db";
  std::string report;
  for (auto _ : state) {
    std::ostringstream out, err;
    lessonimport::ImportRequest request;
    request.source = package;
    request.lesson = lesson;
    request.replace = true;
    if (lessonimport::ImportLesson(request, out, err) != 0) {
      state.SkipWithError(err.str().c_str());
      return;
    }
    report = out.str();
  }
  state.counters["notes"] = kNotes;
  state.counters["package_MB"] = static_cast<double>(std::filesystem::file_size(package)) / 1e6;
  if (report.find("свои — " + std::to_string(kNotes)) == std::string::npos)
    state.SkipWithError(("not every recording was kept: " + report).c_str());
}
BENCHMARK(AnkiImport)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

}  // namespace
}  // namespace verbaro::bench

BENCHMARK_MAIN();
