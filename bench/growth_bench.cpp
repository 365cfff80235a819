// Growth: the time from the Open command to the first entry shown, and the resident memory
// this adds, for lessons of 3 000, 30 000 and 100 000 entries with 12 KB recordings, in
// Conspect-1 and Exam-2, against a bare SQLite loop that reads the same texts and keeps them,
// measured in the same run. Every figure comes from a fresh process of its own (this program
// run with --measure), so that no measurement inherits the heap of another.
//
//   growth_bench [--rows=3000,30000,100000] [--runs=3]
//
// The lessons are generated once into the benchmarks' cache folder and reused (the largest is
// 1.2 GB and takes minutes to write). The figures are medians of the runs; times are process
// CPU time (the wall time is shown beside it).
#include <sqlite3.h>

#include <QApplication>
#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "data/LessonTable.h"
#include "support/BenchLessons.h"
#include "support/BenchTiming.h"
#include "support/BenchView.h"
#include "support/ProcessMemory.h"
#include "views/Conspect1View.h"
#include "views/Exam2View.h"

namespace verbaro::bench {

namespace {

constexpr int kRecordingBytes = 12 * 1024;

struct Figures {
  double cpuMs = 0;
  double wallMs = 0;
  double addedMb = 0;     // resident memory the lesson (or the kept texts) added
  double residentMb = 0;  // resident memory of the whole process afterwards
  double entries = 0;
};

void Print(const Figures& f) {
  std::printf("cpu_ms=%.3f wall_ms=%.3f added_mb=%.3f resident_mb=%.3f entries=%.0f\n", f.cpuMs,
              f.wallMs, f.addedMb, f.residentMb, f.entries);
}

// The bare baseline: the eleven text columns (positions 2 to 12) of every row read as UTF-16
// and kept, one string per column, with nothing else.
int MeasureBareTexts(const std::string& path) {
  const int64_t before = ResidentBytes();
  const double cpu = ProcessCpuSeconds(), wall = WallSeconds();
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) return 1;
  std::string sql = "SELECT ";
  for (int position = 2; position <= 12; ++position) {
    sql += std::string(position > 2 ? "," : "") + lesson::kLessonColumnNames[position];
  }
  sql += " FROM FrRuDict;";
  sqlite3_stmt* stmt = nullptr;
  if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK) return 1;
  std::vector<std::array<std::u16string, 11>> rows;
  while (sqlite3_step(stmt) == SQLITE_ROW) {
    std::array<std::u16string, 11>& row = rows.emplace_back();
    for (int column = 0; column < 11; ++column) {
      const auto* text = static_cast<const char16_t*>(sqlite3_column_text16(stmt, column));
      if (text)
        row[column].assign(text, static_cast<size_t>(sqlite3_column_bytes16(stmt, column)) / 2);
    }
  }
  sqlite3_finalize(stmt);
  sqlite3_close(db);
  Figures f;
  f.cpuMs = (ProcessCpuSeconds() - cpu) * 1e3;
  f.wallMs = (WallSeconds() - wall) * 1e3;
  f.residentMb = Mebibytes(ResidentBytes());
  f.addedMb = f.residentMb - Mebibytes(before);
  f.entries = static_cast<double>(rows.size());
  Print(f);
  return 0;
}

// The view's Open command up to the first entry drawn (for Exam-2 the first question), sound
// off as in the other view benchmarks: the random recordings are no MP3.
int MeasureView(const std::string& kind, const std::string& path) {
  BenchView bench(kind == "exam2" ? &BenchView::Make<CExam2View> : &BenchView::Make<CConspect1View>,
                  QSize(1280, 800));
  const int64_t before = ResidentBytes();
  const double cpu = ProcessCpuSeconds(), wall = WallSeconds();
  const bool opened = bench.Open(path);
  Figures f;
  f.cpuMs = (ProcessCpuSeconds() - cpu) * 1e3;
  f.wallMs = (WallSeconds() - wall) * 1e3;
  if (!opened || bench.View().m_wsKeyWord.empty()) {
    std::fprintf(stderr, "the lesson did not open in %s\n", kind.c_str());
    return 1;
  }
  f.residentMb = Mebibytes(ResidentBytes());
  f.addedMb = f.residentMb - Mebibytes(before);
  f.entries = static_cast<double>(bench.View().m_vWordsData.size());
  Print(f);
  return 0;
}

std::string Quoted(const std::string& text) {
  std::string quoted = "'";
  for (const char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

// Runs this program with --measure in a child process and reads its figures.
bool MeasureInChild(const std::string& self, const std::string& kind, const std::string& path,
                    Figures& f) {
  const std::string command = Quoted(self) + " --measure " + kind + " " + Quoted(path);
  FILE* child = popen(command.c_str(), "r");
  if (!child) return false;
  char line[512] = {};
  const bool read = std::fgets(line, sizeof line, child) != nullptr;
  const int status = pclose(child);
  return read && status == 0 &&
         std::sscanf(line, "cpu_ms=%lf wall_ms=%lf added_mb=%lf resident_mb=%lf entries=%lf",
                     &f.cpuMs, &f.wallMs, &f.addedMb, &f.residentMb, &f.entries) == 5;
}

Figures Median(std::vector<Figures> runs) {
  auto middle = [&runs](double Figures::*field) {
    std::vector<double> values;
    for (const Figures& f : runs) values.push_back(f.*field);
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
  };
  Figures m;
  for (double Figures::*field : {&Figures::cpuMs, &Figures::wallMs, &Figures::addedMb,
                                 &Figures::residentMb, &Figures::entries}) {
    m.*field = middle(field);
  }
  return m;
}

std::vector<int> ParseRows(const std::string& list) {
  std::vector<int> rows;
  std::stringstream in(list);
  for (std::string item; std::getline(in, item, ',');) rows.push_back(std::stoi(item));
  return rows;
}

int Drive(int argc, char** argv) {
  std::vector<int> sizes = {3000, 30000, 100000};
  int runs = 3;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg.starts_with("--rows=")) sizes = ParseRows(arg.substr(7));
    if (arg.starts_with("--runs=")) runs = std::max(1, std::stoi(arg.substr(7)));
  }
  // The shell that popen starts would be /proc/self/exe in the child: name this program's file.
  std::error_code error;
  const std::string self = std::filesystem::read_symlink("/proc/self/exe", error).string();
  std::printf("%8s %8s | %-22s | %-38s | %-38s\n", "entries", "file MB", "bare texts: ms, MB",
              "Conspect-1: ms (x bare), MB (x texts), RSS",
              "Exam-2: ms (x bare), MB (x texts), RSS");
  int failures = 0;
  for (const int rows : sizes) {
    const std::string path = CachedLessonPath(rows, kRecordingBytes);
    if (path.empty()) {
      std::fprintf(stderr, "cannot generate the lesson of %d entries\n", rows);
      return 1;
    }
    std::map<std::string, std::vector<Figures>> taken;
    for (int run = 0; run < runs; ++run) {
      for (const char* kind : {"bare", "conspect1", "exam2"}) {
        Figures f;
        if (MeasureInChild(self, kind, path, f)) {
          taken[kind].push_back(f);
        } else {
          ++failures;
        }
      }
    }
    if (taken["bare"].empty() || taken["conspect1"].empty() || taken["exam2"].empty()) continue;
    const Figures bare = Median(taken["bare"]);
    auto cell = [&bare](const Figures& f) {
      char text[128];
      std::snprintf(text, sizeof text, "%7.1f (%4.2fx, wall %6.1f), %6.1f (%4.2fx), %6.1f", f.cpuMs,
                    f.cpuMs / bare.cpuMs, f.wallMs, f.addedMb, f.addedMb / bare.addedMb,
                    f.residentMb);
      return std::string(text);
    };
    std::printf("%8d %8.0f | %7.1f (wall %6.1f), %6.1f | %s | %s\n", rows,
                Mebibytes(FileBytes(path)), bare.cpuMs, bare.wallMs, bare.addedMb,
                cell(Median(taken["conspect1"])).c_str(), cell(Median(taken["exam2"])).c_str());
    std::fflush(stdout);
  }
  return failures == 0 ? 0 : 1;
}

}  // namespace

}  // namespace verbaro::bench

int main(int argc, char** argv) {
  using namespace verbaro::bench;
  if (argc == 4 && std::string(argv[1]) == "--measure") {
    const std::string kind = argv[2];
    if (kind == "bare") return MeasureBareTexts(argv[3]);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return MeasureView(kind, argv[3]);
  }
  return Drive(argc, argv);
}
