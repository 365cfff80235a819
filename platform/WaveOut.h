#pragma once
// The wave output device that plays one decoded recording: open for a PCM format, write one
// buffer, reset (stop at once), close. Results are 0 on success, else one of the codes below,
// which the sound player turns into a Russian message (sound/WaveOutError).
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
inline constexpr int kError = 1;          // unspecified failure
inline constexpr int kNoDevice = 2;       // no output device / no sound server
inline constexpr int kNotOpen = 5;        // the device handle is not open
inline constexpr int kNoMemory = 7;       // the buffer could not be taken
inline constexpr int kBadFormat = 32;     // the device refuses the PCM format
inline constexpr int kStillPlaying = 33;  // the device still plays the previous buffer
inline constexpr int kDeviceLost = 100;   // the device went away while open
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

}  // namespace verbaro
