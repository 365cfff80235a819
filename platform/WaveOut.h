#pragma once
// The wave output device that plays one decoded recording: open for a PCM format, write one
// buffer, reset (stop at once), close. Results are 0 on success, else one of the codes below,
// which ShowWaveOutError turns into a Russian message.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace verbaro {

struct PcmFormat {
  int channels = 2;
  int samplesPerSecond = 44100;
  int bitsPerSample = 16;
};

namespace waveout {
inline constexpr int kOk = 0;
inline constexpr int kError = 1;            // unspecified failure
inline constexpr int kNoDevice = 2;         // no output device / no sound server
inline constexpr int kNotOpen = 5;          // the device handle is not open
inline constexpr int kNoMemory = 7;         // the buffer could not be taken
inline constexpr int kBadFormat = 32;       // the device refuses the PCM format
inline constexpr int kStillPlaying = 33;    // the device still plays the previous buffer
inline constexpr int kDeviceLost = 100;     // the device went away while open
}  // namespace waveout

class WaveOut {
 public:
  virtual ~WaveOut() = default;
  virtual int Open(const PcmFormat& format) = 0;
  virtual int Write(const uint8_t* data, size_t bytes) = 0;
  virtual void Reset() = 0;
  virtual void Close() = 0;
  virtual bool IsOpen() const = 0;
};

// Records what a view would have played. openResult / writeResults let tests make it fail.
class FakeWaveOut : public WaveOut {
 public:
  int openResult = waveout::kOk;
  std::vector<int> writeResults;  // consumed one per write; kOk once empty
  int opens = 0, resets = 0, closes = 0;
  std::vector<std::vector<uint8_t>> writes;
  bool open = false;
  PcmFormat format;  // of the last Open
  std::string trace;  // one letter per call, in order: O(pen) W(rite) R(eset) C(lose)

  int Open(const PcmFormat& requested) override {
    ++opens;
    trace += 'O';
    format = requested;
    if (openResult != waveout::kOk) return openResult;
    open = true;
    return waveout::kOk;
  }
  int Write(const uint8_t* data, size_t bytes) override {
    trace += 'W';
    int result = waveout::kOk;
    if (!writeResults.empty()) {
      result = writeResults.front();
      writeResults.erase(writeResults.begin());
    }
    if (result == waveout::kOk) writes.emplace_back(data, data + bytes);
    return result;
  }
  void Reset() override {
    ++resets;
    trace += 'R';
  }
  void Close() override {
    ++closes;
    trace += 'C';
    open = false;
  }
  bool IsOpen() const override { return open; }
};

}  // namespace verbaro
