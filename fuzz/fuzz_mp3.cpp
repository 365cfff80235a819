// Recordings: any bytes as the MP3 of the current entry. The player decodes them with the
// program's own bound and with a small one (the "too long" path), then submits what it decoded
// to a recording wave output, as a repaint would.
#include "fuzz/FuzzChecks.h"
#include "sound/Mp3Player.h"
#include "tests/fakes/FakePlatform.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace verbaro;
  using fuzz::Require;
  FakePlatform fake;

  Mp3Player player(fake.Get());
  if (player.DecodeMp3ToPcm(data, size)) {
    Require(player.nSoundBufferSize == player.m_pSoundBuffer.size(), "PCM size is recorded");
    Require(player.nSoundBufferSize % Mp3Player::kBlockAlign == 0, "whole sample frames");
    Require(player.nSoundBufferSize <= kMaxRecordingPcmBytes, "PCM within the bound");
    Require(player.IsDeviceOpen(), "device open after a decode");
    player.PlayPcm(player.nDuration);
    const FakeWaveOut& out = *fake.waveOuts.back();
    for (const auto& write : out.writes) {
      Require(write.size() <= player.nSoundBufferSize, "never more than was decoded");
    }
  }
  player.StopDevice();

  // The same bytes through the bound a damaged recording meets first.
  Mp3Player bounded(fake.Get(), 64 * 1024);
  if (bounded.DecodeMp3ToPcm(data, size)) {
    Require(bounded.nSoundBufferSize <= 64 * 1024, "PCM within the small bound");
  }
  // The whole path of a repaint: size as the lesson stores it (an int).
  const int storedSize = size > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(size);
  bounded.PlayRecording(data, storedSize);
  return 0;
}
