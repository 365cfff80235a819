// Decoding a recording with Mp3Player against a bare libmpg123 loop over the same bytes (no
// resampling, no format checks, a reused output buffer). The counter "vs_bare" is the player's
// time per decode divided by the bare loop's, both measured in this run.
//
// A word must sound at once: FirstWrite times Mp3Player::PlayRecording from the call to the
// moment the PCM reaches the wave output (a fake that notes when its Write is entered), for a
// test recording and for the longest recordings of the shipped lessons.
#include <benchmark/benchmark.h>
#include <mpg123.h>

#include <ctime>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "platform/MessageBoxes.h"
#include "platform/Platform.h"
#include "platform/WaveOut.h"
#include "sound/Mp3Player.h"
#include "support/BenchLessons.h"
#include "support/BenchTiming.h"
#include "tests/fakes/FakeMessageBoxes.h"
#include "tests/fakes/FakeWaveOut.h"

namespace {

std::vector<uint8_t> ReadFixture(const std::string& name) {
  std::ifstream in(std::string(VERBARO_TEST_FIXTURES) + "/mp3/" + name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The baseline: feed the bytes, read everything in the stream's own format.
size_t BareDecode(const std::vector<uint8_t>& mp3, std::vector<unsigned char>& out) {
  mpg123_handle* handle = mpg123_new(nullptr, nullptr);
  mpg123_param(handle, MPG123_ADD_FLAGS, MPG123_QUIET, 0);
  mpg123_open_feed(handle);
  mpg123_feed(handle, mp3.data(), mp3.size());
  size_t total = 0, done = 0;
  int code = MPG123_OK;
  do {
    code = mpg123_read(handle, out.data(), out.size(), &done);
    total += done;
  } while (code == MPG123_OK || code == MPG123_NEW_FORMAT);
  mpg123_delete(handle);
  return total;
}

// CPU time of this thread: steadier than the wall clock on a shared machine.
double ThreadSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Each iteration decodes with the player (timed) and then with the bare loop (not timed by the
// benchmark), so that both see the same machine conditions.
void PlayerDecode(benchmark::State& state, const char* file) {
  const std::vector<uint8_t> mp3 = ReadFixture(file);
  verbaro::FakeMessageBoxes messages;
  verbaro::Platform platform;
  platform.messages = &messages;
  platform.makeWaveOut = [] { return std::make_unique<verbaro::FakeWaveOut>(); };
  verbaro::Mp3Player player(platform);
  std::vector<unsigned char> out(1 << 16);
  double playerSeconds = 0, bareSeconds = 0;
  for (auto _ : state) {
    const double start = ThreadSeconds();
    if (!player.DecodeMp3ToPcm(mp3.data(), mp3.size())) state.SkipWithError("decoding failed");
    player.StopDevice();
    benchmark::DoNotOptimize(player.m_pSoundBuffer.data());
    const double middle = ThreadSeconds();
    state.PauseTiming();
    const double bareStart = ThreadSeconds();
    benchmark::DoNotOptimize(BareDecode(mp3, out));
    bareSeconds += ThreadSeconds() - bareStart;
    state.ResumeTiming();
    playerSeconds += middle - start;
  }
  state.counters["vs_bare"] = bareSeconds > 0 ? playerSeconds / bareSeconds : 0;
  state.counters["sound_s"] = player.nDuration / 10000.0;
}

void BareDecodeLoop(benchmark::State& state, const char* file) {
  const std::vector<uint8_t> mp3 = ReadFixture(file);
  std::vector<unsigned char> out(1 << 16);
  for (auto _ : state) benchmark::DoNotOptimize(BareDecode(mp3, out));
}

// Notes the process CPU time at which the first PCM write arrives, and keeps no copy of it.
class TimedWaveOut : public verbaro::FakeWaveOut {
 public:
  double firstWrite = 0;
  int Write(const uint8_t* data, size_t bytes) override {
    if (firstWrite == 0) firstWrite = verbaro::bench::ProcessCpuSeconds();
    const int result = FakeWaveOut::Write(data, bytes);
    writes.clear();
    return result;
  }
};

// The longest recording of a lesson shipped in lessons/.
std::vector<uint8_t> LongestOfLesson(const char* file) {
  const std::string path = std::string(VERBARO_SOURCE_DIR) + "/lessons/" + file;
  return verbaro::bench::ReadRecording(path, verbaro::bench::LongestRecordingRow(path));
}

void FirstWrite(benchmark::State& state, const std::vector<uint8_t>& mp3) {
  if (mp3.empty()) {
    state.SkipWithError("no recording");
    return;
  }
  verbaro::FakeMessageBoxes messages;
  TimedWaveOut* output = nullptr;
  verbaro::Platform platform;
  platform.messages = &messages;
  platform.makeWaveOut = [&output] {
    auto made = std::make_unique<TimedWaveOut>();
    output = made.get();
    return std::unique_ptr<verbaro::WaveOut>(std::move(made));
  };
  verbaro::Mp3Player player(platform);
  std::vector<unsigned char> out(1 << 16);
  double latency = 0, bareSeconds = 0;
  for (auto _ : state) {
    output->firstWrite = 0;
    const double start = verbaro::bench::ProcessCpuSeconds();
    benchmark::DoNotOptimize(player.PlayRecording(mp3.data(), static_cast<int>(mp3.size())));
    latency += output->firstWrite - start;
    state.PauseTiming();
    const double bareStart = verbaro::bench::ProcessCpuSeconds();
    benchmark::DoNotOptimize(BareDecode(mp3, out));
    bareSeconds += verbaro::bench::ProcessCpuSeconds() - bareStart;
    state.ResumeTiming();
  }
  if (output->firstWrite == 0 || !messages.Texts().empty()) {
    state.SkipWithError("the recording was not played");
    return;
  }
  const auto n = static_cast<double>(state.iterations());
  state.counters["first_write_ms"] = latency / n * 1e3;
  state.counters["bare_decode_ms"] = bareSeconds / n * 1e3;
  state.counters["vs_bare"] = bareSeconds > 0 ? latency / bareSeconds : 0;
  state.counters["sound_ms"] = player.nDuration / 10.0;
}

}  // namespace

BENCHMARK_CAPTURE(BareDecodeLoop, phrase_44k_stereo, "phrase_bonjour.mp3")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(PlayerDecode, phrase_44k_stereo, "phrase_bonjour.mp3")
    ->Unit(benchmark::kMicrosecond);
// A two-second word in the lessons' own format.
BENCHMARK_CAPTURE(BareDecodeLoop, tone_2s_44k_stereo, "tone_2s_44k_stereo.mp3")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(PlayerDecode, tone_2s_44k_stereo, "tone_2s_44k_stereo.mp3")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(FirstWrite, tone_2s_44k_stereo, ReadFixture("tone_2s_44k_stereo.mp3"))
    ->Unit(benchmark::kMicrosecond);
// A 22.05 kHz mono recording: the player also resamples and duplicates the channel.
BENCHMARK_CAPTURE(BareDecodeLoop, tone_22k_mono, "tone_1s_22k_mono.mp3")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(PlayerDecode, tone_22k_mono, "tone_1s_22k_mono.mp3")
    ->Unit(benchmark::kMicrosecond);

BENCHMARK_CAPTURE(FirstWrite, phrase_44k_stereo, ReadFixture("phrase_bonjour.mp3"))
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(FirstWrite, longest_word_of_starter, LongestOfLesson("01-premiers-mots.db"))
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(FirstWrite, longest_phrase_of_lessons, LongestOfLesson("02-phrases.db"))
    ->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
