// The Russian texts of the wave output results.
#include <gtest/gtest.h>

#include <set>

#include "platform/FakePlatform.h"
#include "platform/WaveOutError.h"

namespace verbaro {
namespace {

TEST(WaveOutError, EachFailureHasItsOwnRussianText) {
  const int codes[] = {waveout::kError,     waveout::kNoDevice,     waveout::kNotOpen,
                       waveout::kNoMemory,  waveout::kBadFormat,    waveout::kStillPlaying,
                       waveout::kDeviceLost};
  std::set<QString> texts;
  for (int code : codes) {
    const QString text = WaveOutErrorText(code);
    EXPECT_TRUE(text.contains(QStringLiteral("звук"))) << code << ": " << text.toStdString();
    texts.insert(text);
  }
  EXPECT_EQ(texts.size(), std::size(codes));
  EXPECT_TRUE(WaveOutErrorText(4242).contains(QStringLiteral("4242")));
}

TEST(WaveOutError, ShownWithoutOwnerUnderErrorCaptionAndNotForSuccess) {
  FakePlatform fake;
  ShowWaveOutError(fake.messages, waveout::kOk);
  EXPECT_TRUE(fake.messages.shown.empty());

  ShowWaveOutError(fake.messages, waveout::kNoDevice);
  ASSERT_EQ(fake.messages.shown.size(), 1u);
  EXPECT_EQ(fake.messages.shown[0].owner, nullptr);
  EXPECT_EQ(fake.messages.shown[0].caption, QStringLiteral("Ошибка"));
  EXPECT_EQ(fake.messages.shown[0].text, WaveOutErrorText(waveout::kNoDevice));
}

}  // namespace
}  // namespace verbaro
