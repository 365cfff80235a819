// Decoding recordings to 44.1 kHz 16-bit stereo PCM, and every way decoding can fail.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "sound/Mp3Player.h"
#include "sound/WaveOutError.h"
#include "tests/fakes/FakePlatform.h"
#include "tests/support/Files.h"
#include "tests/support/SoundFixtures.h"

namespace verbaro {
namespace {

using test::AudibleSpan;
using test::Mp3Fixture;
using test::Samples;
using test::ZeroCrossingsPerSecond;

const QString kCannotProcess = QStringLiteral("Не могу обработать mp3-файл в памяти!");

class Mp3Decoding : public ::testing::Test {
 protected:
  FakePlatform fake;
  Mp3Player player{fake.Get()};
  FakeWaveOut& device() { return *fake.waveOuts.at(0); }
};

// A one-second 440 Hz tone recorded in several formats: every one must come out as 44.1 kHz
// stereo of the same length and pitch.
struct ToneCase {
  const char* file;
  bool mono;
};

class ToneDecoding : public Mp3Decoding, public ::testing::WithParamInterface<ToneCase> {};

TEST_P(ToneDecoding, ComesOutAsOneSecondOf44kStereoAtTheRightPitch) {
  const std::vector<uint8_t> mp3 = Mp3Fixture(GetParam().file);
  ASSERT_FALSE(mp3.empty());

  ASSERT_TRUE(player.DecodeMp3ToPcm(mp3.data(), mp3.size()));

  EXPECT_EQ(player.nSoundBufferSize, player.m_pSoundBuffer.size());
  EXPECT_EQ(player.m_pSoundBuffer.size() % Mp3Player::kBlockAlign, 0u);
  const uint32_t frames = player.nSoundBufferSize / Mp3Player::kBlockAlign;
  EXPECT_EQ(player.nDuration, uint64_t{frames} * 10000 / 44100);
  // The encoder's delay and padding are removed: within 10 ms of the 1.0 s that was encoded.
  EXPECT_NEAR(player.nDuration, 10000, 100);

  const std::vector<int16_t> pcm = Samples(player.m_pSoundBuffer);
  EXPECT_NEAR(ZeroCrossingsPerSecond(pcm, 0), 880, 20);
  EXPECT_NEAR(ZeroCrossingsPerSecond(pcm, 1), 880, 20);
  // Sound almost from the first to the last frame (only the 5 ms fades are quiet).
  EXPECT_GT(AudibleSpan(pcm, 1000).Seconds(), 0.97);
  if (GetParam().mono) {
    bool channelsEqual = true;
    for (size_t i = 0; i + 1 < pcm.size(); i += 2) channelsEqual &= pcm[i] == pcm[i + 1];
    EXPECT_TRUE(channelsEqual);
  }

  EXPECT_TRUE(device().IsOpen());
  EXPECT_EQ(device().format.channels, 2);
  EXPECT_EQ(device().format.samplesPerSecond, 44100);
  EXPECT_EQ(device().format.bitsPerSample, 16);
  EXPECT_TRUE(fake.messages.shown.empty());
}

INSTANTIATE_TEST_SUITE_P(Formats, ToneDecoding,
                         ::testing::Values(ToneCase{"tone_1s_44k_stereo.mp3", false},
                                           ToneCase{"tone_1s_44k_mono.mp3", true},
                                           ToneCase{"tone_1s_22k_mono.mp3", true},
                                           ToneCase{"tone_1s_48k_stereo.mp3", false}),
                         [](const auto& info) {
                           std::string name = info.param.file;
                           name = name.substr(0, name.find('.'));
                           return name;
                         });

TEST_F(Mp3Decoding, RecordingShorterThanOneConverterBlockIsStillHeard) {
  const std::vector<uint8_t> mp3 = Mp3Fixture("tone_short_44k_stereo.mp3");
  ASSERT_GT(mp3.size(), 0u);
  ASSERT_LT(mp3.size(), 522u);

  ASSERT_TRUE(player.DecodeMp3ToPcm(mp3.data(), mp3.size()));
  // 20 ms were encoded; too small to declare the encoder's delay and padding, the recording
  // decodes with them, to whole frames of 1152 samples.
  EXPECT_EQ(player.nSoundBufferSize % (1152 * Mp3Player::kBlockAlign), 0u);
  EXPECT_GE(player.nDuration, 200u);
  EXPECT_LE(player.nDuration, 800u);
  EXPECT_GT(AudibleSpan(Samples(player.m_pSoundBuffer), 1000).Frames(), 220u);  // over 5 ms
}

TEST_F(Mp3Decoding, DecodingTwiceGivesTheSamePcm) {
  const std::vector<uint8_t> mp3 = Mp3Fixture("phrase_bonjour.mp3");
  ASSERT_TRUE(player.DecodeMp3ToPcm(mp3.data(), mp3.size()));
  const std::vector<uint8_t> first = player.m_pSoundBuffer;
  const uint32_t firstDuration = player.nDuration;
  player.StopDevice();

  ASSERT_TRUE(player.DecodeMp3ToPcm(mp3.data(), mp3.size()));
  EXPECT_EQ(player.m_pSoundBuffer, first);
  EXPECT_EQ(player.nDuration, firstDuration);
  EXPECT_GT(firstDuration, 10000u);  // the phrase lasts more than a second
}

TEST_F(Mp3Decoding, RecordingCutShortPlaysWhatItHolds) {
  std::vector<uint8_t> mp3 = Mp3Fixture("tone_1s_44k_stereo.mp3");
  mp3.resize(mp3.size() / 2);

  ASSERT_TRUE(player.DecodeMp3ToPcm(mp3.data(), mp3.size()));
  EXPECT_GT(player.nDuration, 3000u);
  EXPECT_LT(player.nDuration, 7000u);
}

// Bytes that hold no MP3 frame: each fails with the format message, leaves the device closed
// and has nothing to play.
struct BadBytes {
  const char* name;
  std::vector<uint8_t> bytes;
};

std::vector<BadBytes> MakeBadBytes() {
  std::mt19937 random(612);
  std::vector<uint8_t> noise(8192);
  for (auto& byte : noise) byte = static_cast<uint8_t>(random());
  std::vector<uint8_t> headerOnly = Mp3Fixture("tone_1s_44k_stereo.mp3");
  headerOnly.resize(100);  // inside the first frame
  const std::vector<uint8_t> zeros(4096, 0);
  // An ID3v2 tag that announces 20 bytes of frames and nothing after it.
  std::vector<uint8_t> id3Only = {'I', 'D', '3', 4, 0, 0, 0, 0, 0, 20};
  id3Only.resize(30, 0);
  // A wave file where a recording belongs: the error signal's own sound.
  const std::vector<uint8_t> wave =
      test::ReadFileBytes(VERBARO_SOURCE_DIR "/res/wave/error612.wav");
  std::vector<uint8_t> text;
  for (char c : std::string("Ceci n'est pas un fichier MP3.\n"))
    text.push_back(static_cast<uint8_t>(c));
  return {{"RandomBytes", noise}, {"CutInsideTheFirstFrame", headerOnly},
          {"Zeros", zeros},       {"Id3TagAlone", id3Only},
          {"WaveFile", wave},     {"Text", text},
          {"OneByte", {0xFF}}};
}

class UndecodableBytes : public Mp3Decoding, public ::testing::WithParamInterface<BadBytes> {};

TEST_P(UndecodableBytes, FailWithTheFormatMessageAndNoSound) {
  const std::vector<uint8_t>& bytes = GetParam().bytes;

  EXPECT_FALSE(player.DecodeMp3ToPcm(bytes.data(), bytes.size()));
  EXPECT_EQ(fake.messages.Texts(), std::vector<QString>{WaveOutErrorText(waveout::kBadFormat)});
  EXPECT_EQ(fake.messages.shown.at(0).caption, QStringLiteral("Ошибка"));
  EXPECT_EQ(fake.messages.shown.at(0).kind, MessageKind::Error);
  EXPECT_EQ(fake.messages.shown.at(0).owner, nullptr);
  EXPECT_TRUE(fake.messages.shown.at(0).text.contains(QStringLiteral("Формат звука")));
  EXPECT_EQ(player.nDuration, 0u);
  EXPECT_EQ(player.nSoundBufferSize, 0u);
  EXPECT_FALSE(device().IsOpen());
  fake.messages.Clear();

  EXPECT_EQ(player.PlayRecording(bytes.data(), static_cast<int>(bytes.size())), std::nullopt);
  EXPECT_EQ(fake.messages.Texts(),
            (std::vector<QString>{WaveOutErrorText(waveout::kBadFormat), kCannotProcess}));
  EXPECT_TRUE(device().writes.empty());
  EXPECT_FALSE(device().IsOpen());
}

INSTANTIATE_TEST_SUITE_P(Bytes, UndecodableBytes, ::testing::ValuesIn(MakeBadBytes()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Mp3Decoding, EmptyOrMissingBytesFailCleanly) {
  const uint8_t byte = 0;
  EXPECT_FALSE(player.DecodeMp3ToPcm(&byte, 0));
  EXPECT_FALSE(player.DecodeMp3ToPcm(nullptr, 100));
  EXPECT_EQ(fake.messages.Texts(),
            (std::vector<QString>(2, WaveOutErrorText(waveout::kBadFormat))));
  EXPECT_FALSE(device().IsOpen());
}

TEST_F(Mp3Decoding, PcmBeyondTheAllowedSizeIsTheBufferFailure) {
  Mp3Player small(fake.Get(), 100000);  // less than the 176 400 bytes of the tone
  const std::vector<uint8_t> mp3 = Mp3Fixture("tone_1s_44k_stereo.mp3");

  EXPECT_FALSE(small.DecodeMp3ToPcm(mp3.data(), mp3.size()));
  EXPECT_EQ(fake.messages.Texts(), std::vector<QString>{QStringLiteral("m_pSoundBuffer == NULL!")});
  EXPECT_EQ(fake.messages.shown.at(0).caption, QStringLiteral("Ошибка"));
  EXPECT_TRUE(small.m_pSoundBuffer.empty());
  EXPECT_FALSE(fake.waveOuts.at(1)->IsOpen());
  EXPECT_EQ(fake.waveOuts.at(1)->opens, 0);
}

TEST_F(Mp3Decoding, DeviceThatCannotBeOpenedIsReported) {
  const std::vector<uint8_t> mp3 = Mp3Fixture("tone_1s_44k_stereo.mp3");
  device().openResult = waveout::kNoDevice;

  EXPECT_FALSE(player.DecodeMp3ToPcm(mp3.data(), mp3.size()));
  EXPECT_EQ(fake.messages.Texts(), std::vector<QString>{WaveOutErrorText(waveout::kNoDevice)});
  // The learner is told why there is no sound.
  EXPECT_TRUE(
      fake.messages.shown.at(0).text.contains(QStringLiteral("звуковой сервер не запущен")));
  fake.messages.Clear();

  // Told once; the recording, which decoded, is not blamed.
  EXPECT_EQ(player.PlayRecording(mp3.data(), static_cast<int>(mp3.size())), std::nullopt);
  EXPECT_EQ(fake.messages.Texts(), std::vector<QString>{});
  EXPECT_TRUE(device().writes.empty());
  EXPECT_FALSE(device().IsOpen());
}

}  // namespace
}  // namespace verbaro
