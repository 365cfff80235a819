#include "sound/Mp3Player.h"

#include <QString>
#include <algorithm>

#include "platform/MessageBoxes.h"
#include "platform/Platform.h"
#include "platform/SoundDeviceNotice.h"
#include "sound/WaveOutError.h"

namespace verbaro {

Mp3Player::Mp3Player(const Platform& platform, size_t maxPcmBytes)
    : hWaveOut(platform.makeWaveOut ? platform.makeWaveOut() : nullptr),
      m_platform(platform),
      m_maxPcmBytes(maxPcmBytes) {}

Mp3Player::~Mp3Player() { StopDevice(); }

bool Mp3Player::IsDeviceOpen() const { return hWaveOut && hWaveOut->IsOpen(); }

void Mp3Player::StopDevice() {
  if (!IsDeviceOpen()) return;
  hWaveOut->Reset();
  hWaveOut->Close();
}

void Mp3Player::ShowError(const char16_t* text, QWidget* owner) const {
  if (m_platform.messages) {
    m_platform.messages->ShowError(owner, QString::fromUtf16(text));
  }
}

void Mp3Player::ShowWaveOutError(int code) const {
  if (m_platform.soundNotice && !m_platform.soundNotice->ShouldShow(code)) return;
  if (m_platform.messages) verbaro::ShowWaveOutError(*m_platform.messages, code);
}

void Mp3Player::OutputFailed(int code) {
  m_outputFailed = true;
  ShowWaveOutError(code);
}

bool Mp3Player::DecodeMp3ToPcm(const uint8_t* mp3, size_t size) {
  // The previous PCM is released first: the device that played it has been closed.
  m_pSoundBuffer = {};
  nSoundBufferSize = 0;
  nDuration = 0;
  m_outputFailed = false;

  DecodedPcm decoded = DecodeMp3(mp3, size, m_maxPcmBytes);
  if (decoded.status == DecodedPcm::Status::kNoMemory) {
    ShowError(u"m_pSoundBuffer == NULL!");
    return false;
  }
  if (decoded.status != DecodedPcm::Status::kOk) {
    ShowWaveOutError(waveout::kBadFormat);
    return false;
  }
  m_pSoundBuffer = std::move(decoded.pcm);
  nSoundBufferSize = static_cast<uint32_t>(m_pSoundBuffer.size());
  nDuration = static_cast<uint32_t>(uint64_t{decoded.frames} * 10000 / kSamplesPerSecond);

  if (!hWaveOut) {
    OutputFailed(waveout::kNoDevice);
    return false;
  }
  StopDevice();
  const int opened = hWaveOut->Open(wfxPcm);
  if (opened != waveout::kOk) {
    OutputFailed(opened);
    return false;
  }
  return true;
}

bool Mp3Player::PlayPcm(uint32_t d) {
  if (!IsDeviceOpen()) return false;
  // d + 1 units of 0.1 ms cover the fraction that the duration's rounding down dropped; the
  // buffer bounds the length, so a duration of the whole recording submits all of it.
  const uint64_t wanted = (uint64_t{d} + 1) * kAvgBytesPerSec / 10000;
  const uint64_t aligned = (wanted + kBlockAlign - 1) / kBlockAlign * kBlockAlign;
  const size_t length = static_cast<size_t>(std::min<uint64_t>(aligned, m_pSoundBuffer.size()));

  hWaveOut->Reset();
  int result = hWaveOut->Write(m_pSoundBuffer.data(), length);
  if (result == waveout::kStillPlaying) {
    hWaveOut->Reset();
    result = hWaveOut->Write(m_pSoundBuffer.data(), length);
  }
  if (result != waveout::kOk) {
    ShowWaveOutError(result);
    return false;
  }
  if (m_platform.soundNotice) m_platform.soundNotice->SoundWorks();
  return true;
}

std::optional<unsigned> Mp3Player::PlayRecording(const uint8_t* mp3, int size, QWidget* owner) {
  StopDevice();
  if (!mp3 || size <= 0) return std::nullopt;
  if (!DecodeMp3ToPcm(mp3, static_cast<size_t>(size))) {
    // The recording is blamed only when it could not be decoded; an output that cannot be
    // opened was reported as what it is.
    if (!m_outputFailed) ShowError(u"Не могу обработать mp3-файл в памяти!", owner);
    return std::nullopt;
  }
  PlayPcm(nDuration);
  return nDuration / 10 + 100;
}

std::optional<unsigned> Mp3Player::PlayRecording(const Mp3Recording& recording, int size,
                                                 QWidget* owner) {
  StopDevice();
  if (!recording || size <= 0) return std::nullopt;
  const std::optional<std::vector<uint8_t>> bytes = recording.Read();
  if (!bytes || bytes->empty()) {
    ShowError(u"Не могу обработать mp3-файл в памяти!", owner);
    return std::nullopt;
  }
  return PlayRecording(bytes->data(), std::min(size, static_cast<int>(bytes->size())), owner);
}

}  // namespace verbaro
