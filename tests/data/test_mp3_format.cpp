// The stored format of a recording, as the lesson tool decides from it whether a given MP3 can
// go into a lesson as it is.
#include <gtest/gtest.h>

#include <filesystem>

#include "data/Mp3Decoder.h"
#include "tests/support/Files.h"

namespace verbaro {
namespace {

std::vector<uint8_t> Fixture(const char* name) {
  return test::ReadFileBytes(std::filesystem::path(VERBARO_TEST_FIXTURES) / "mp3" / name);
}

TEST(Mp3Format, TellsRateChannelsAndLayerOfTheStoredStream) {
  const std::vector<uint8_t> stereo = Fixture("tone_1s_44k_stereo.mp3");
  const Mp3Format lesson = ReadMp3Format(stereo.data(), stereo.size());
  EXPECT_EQ(lesson.mpegVersion, 1);
  EXPECT_EQ(lesson.layer, 3);
  EXPECT_EQ(lesson.rate, 44100);
  EXPECT_EQ(lesson.channels, 2);

  const std::vector<uint8_t> mono = Fixture("tone_1s_22k_mono.mp3");
  const Mp3Format low = ReadMp3Format(mono.data(), mono.size());
  EXPECT_EQ(low.mpegVersion, 2);  // 22.05 kHz is an MPEG-2 rate
  EXPECT_EQ(low.rate, 22050);
  EXPECT_EQ(low.channels, 1);
  // The decoded sound is 44.1 kHz stereo whatever was stored.
  EXPECT_EQ(DecodeMp3(mono.data(), mono.size(), 1 << 24).status, DecodedPcm::Status::kOk);
}

TEST(Mp3Format, NothingReadableGivesNoVersion) {
  const std::string text = "ID3 and then nothing that is a frame";
  const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
  EXPECT_EQ(ReadMp3Format(bytes, text.size()).mpegVersion, 0);
  EXPECT_EQ(ReadMp3Format(nullptr, 0).mpegVersion, 0);
  const std::vector<uint8_t> stereo = Fixture("tone_1s_44k_stereo.mp3");
  EXPECT_EQ(ReadMp3Format(stereo.data(), 3).mpegVersion, 0);  // cut before the first frame
}

}  // namespace
}  // namespace verbaro
