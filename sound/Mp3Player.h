#pragma once
// The sound object of a view: decodes the current recording from MP3 to PCM in memory, opens
// the wave output for that PCM and submits it. The view starts its end-of-sound timer with the
// period PlayRecording returns.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "data/Mp3Decoder.h"
#include "data/Mp3Recording.h"
#include "platform/WaveOut.h"

class QWidget;

namespace verbaro {

struct Platform;

class Mp3Player {
 public:
  static constexpr int kBitsPerSample = kPcmBitsPerSample;
  static constexpr int kSamplesPerSecond = kPcmSamplesPerSecond;
  static constexpr int kChannels = kPcmChannels;
  static constexpr uint32_t kAvgBytesPerSec = kPcmAvgBytesPerSec;  // 176 400
  static constexpr uint32_t kBlockAlign = kPcmBlockAlign;          // 4

  explicit Mp3Player(const Platform& platform, size_t maxPcmBytes = kMaxRecordingPcmBytes);
  ~Mp3Player();
  Mp3Player(const Mp3Player&) = delete;
  Mp3Player& operator=(const Mp3Player&) = delete;

  // Decodes the recording into m_pSoundBuffer and opens the device for wfxPcm. False, after
  // a message, when the recording cannot be decoded, memory runs out or the device refuses.
  bool DecodeMp3ToPcm(const uint8_t* mp3, size_t size);
  // Submits the PCM of duration d (units of 0.1 ms), at most the whole decoded buffer: the
  // device is reset first, and reset once more if it still plays. False, after a message, when
  // the device is not open or refuses the write.
  bool PlayPcm(uint32_t d);
  // Shows the Russian text of a nonzero wave output result (caption "Ошибка", no owner); a
  // missing device only when the platform's notice has not told it since sound last worked.
  void ShowWaveOutError(int code) const;
  // Stops the sound at once and closes the device, when it is open.
  void StopDevice();
  bool IsDeviceOpen() const;

  // Sounds one recording: stops what plays, decodes, submits. Returns the period of the
  // end-of-sound timer in milliseconds (the duration plus 100), or nothing when there is nothing
  // to play, decoding failed (then after "Не могу обработать mp3-файл в памяти!", a box owned
  // by `owner`, the view that sounds) or the output could not be opened (told by its own box
  // alone). The period is returned even when the device refused the write, which was reported.
  std::optional<unsigned> PlayRecording(const uint8_t* mp3, int size, QWidget* owner = nullptr);
  // The same for a recording of the lesson, whose first `size` bytes are read now. A recording
  // that can no longer be read (the file was damaged or cut since it was opened) gets the same
  // message as one that cannot be decoded, and nothing plays.
  std::optional<unsigned> PlayRecording(const Mp3Recording& recording, int size,
                                        QWidget* owner = nullptr);

  const PcmFormat wfxPcm{kChannels, kSamplesPerSecond, kBitsPerSample};
  uint32_t nSoundBufferSize = 0;        // bytes of PCM in m_pSoundBuffer
  uint32_t nDuration = 0;               // of the last decoded recording, in units of 0.1 ms
  std::vector<uint8_t> m_pSoundBuffer;  // PCM of the last decoded recording
  std::unique_ptr<WaveOut> hWaveOut;    // made once; "open" while it IsOpen()

 private:
  void ShowError(const char16_t* text, QWidget* owner = nullptr) const;
  void OutputFailed(int code);

  const Platform& m_platform;
  const size_t m_maxPcmBytes;
  bool m_outputFailed = false;  // the last DecodeMp3ToPcm failed at the output, not the recording
};

}  // namespace verbaro
