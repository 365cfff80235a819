#pragma once
// Helpers of the long runs: the Qt application, big lesson files, a view on fake services whose
// wave output keeps nothing of what it plays (so that only the program's own memory is
// measured), and the process's memory figures.
#include <QString>
#include <QTemporaryDir>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "tests/fakes/FakeFilterMenu.h"
#include "tests/fakes/FakePlatform.h"
#include "views/WordsView.h"

namespace verbaro::longrun {

void EnsureApplication();

struct LessonRow {
  std::u16string gram, number, key;
  std::vector<std::u16string> translations;  // up to five
};

// Writes the rows (rowids 1..N) with the same short real recording for every row.
void WriteLesson(const QString& path, const std::vector<LessonRow>& rows);

// A wave output that accepts every buffer and only counts them.
class CountingWaveOut : public WaveOut {
 public:
  int Open(const PcmFormat&) override {
    m_open = true;
    return waveout::kOk;
  }
  int Write(const uint8_t*, size_t bytes) override {
    ++writes;
    bytesWritten += bytes;
    return waveout::kOk;
  }
  void Reset() override {}
  void Close() override { m_open = false; }
  bool IsOpen() const override { return m_open; }
  int64_t writes = 0;
  uint64_t bytesWritten = 0;

 private:
  bool m_open = false;
};

// One view of type V, created the way the frame creates it, on fakes; the lesson is opened with
// the view's own Open command.
class LongRunHarness {
 public:
  template <typename V>
  static std::unique_ptr<LongRunHarness> Make() {
    auto harness = std::unique_ptr<LongRunHarness>(new LongRunHarness());
    harness->Attach(std::make_unique<V>(harness->fake.Get()));
    return harness;
  }
  ~LongRunHarness();

  bool Open(const QString& path);
  CWordsView& View() const { return *m_view; }
  FakeViewTimer& Timer() const { return *fake.timers.back(); }
  const CountingWaveOut& WaveOut() const { return *m_waveOut; }

  FakePlatform fake;

 private:
  LongRunHarness();
  void Attach(std::unique_ptr<CWordsView> view);

  CountingWaveOut* m_waveOut = nullptr;  // owned by the view's player
  FakeFilterMenu m_filterMenu;
  std::unique_ptr<CWordsView> m_view;
};

// Resident set size of the process (from /proc/self/statm), in bytes.
int64_t ResidentBytes();
// Heap bytes in use: the sanitizer allocator's count when running under AddressSanitizer (freed
// memory waiting in its quarantine is not in use), else malloc's.
int64_t HeapBytesInUse();

inline constexpr double kMiB = 1024.0 * 1024.0;

}  // namespace verbaro::longrun
