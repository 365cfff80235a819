#include <gtest/gtest.h>
#include <QBuffer>
#include <QFile>
#include <QPainter>
#include <QTemporaryDir>

#include "ImageTestSupport.h"
#include "image/FCImageCodec_Qt.h"
#include "image/FCImageEffect.h"
#include "image/FCObjImage.h"

namespace verbaro {
namespace {

using test::Bgra;

TEST(FCObjImageCreate, LaysOutBottomUpRowsPaddedToFourBytes) {
  FCObjImage image;
  ASSERT_TRUE(image.Create(5, 3, 24));
  EXPECT_EQ(image.GetPitch(), 16);  // 5 x 3 bytes = 15, padded
  // Row 0 is the top row, which is the last row in memory.
  EXPECT_EQ(image.GetBits(0), image.GetMemStart() + 2 * 16);
  EXPECT_EQ(image.GetBits(2), image.GetMemStart());
  EXPECT_EQ(image.GetBits(4, 1), image.GetMemStart() + 16 + 12);
  EXPECT_EQ(image.GetBits(3), nullptr);
  EXPECT_EQ(image.GetBits(5, 0), nullptr);
  for (int i = 0; i < 3 * 16; ++i) ASSERT_EQ(image.GetMemStart()[i], 0) << i;

  ASSERT_TRUE(image.Create(3, 2, 8));
  EXPECT_EQ(image.GetPitch(), 4);
  ASSERT_EQ(image.GetColorTable().size(), 256u);
  EXPECT_EQ(image.GetColorTable()[0], qRgb(0, 0, 0));
  EXPECT_EQ(image.GetColorTable()[77], qRgb(77, 77, 77));
  EXPECT_EQ(image.GetColorTable()[255], qRgb(255, 255, 255));

  ASSERT_TRUE(image.Create(1, 1, 32));
  EXPECT_EQ(image.GetPitch(), 4);
  EXPECT_TRUE(image.GetColorTable().empty());
}

TEST(FCObjImageCreate, RefusesBadArgumentsAndIsThenEmpty) {
  for (const auto& [w, h, bpp] :
       {std::array{4, 4, 16}, std::array{0, 4, 24}, std::array{4, 0, 32}, std::array{-1, 4, 8},
        std::array{4, 4, 1}, std::array{100000, 100000, 32}}) {
    FCObjImage image;
    ASSERT_TRUE(image.Create(2, 2, 24));
    EXPECT_FALSE(image.Create(w, h, bpp)) << w << "x" << h << "x" << bpp;
    EXPECT_FALSE(image.IsValidImage());
    EXPECT_EQ(image.Width(), 0);
    EXPECT_EQ(image.Height(), 0);
    EXPECT_EQ(image.ColorBits(), 0);
    EXPECT_EQ(image.GetBits(0), nullptr);
  }
}

TEST(FCObjImageEffect, PremultiplyRoundsDownAndKeepsAlpha) {
  FCObjImage image;
  ASSERT_TRUE(image.Create(3, 1, 32));
  const uint8_t pixels[3][4] = {{200, 100, 50, 128}, {255, 255, 255, 0}, {7, 255, 1, 255}};
  for (int x = 0; x < 3; ++x) std::memcpy(image.GetBits(x, 0), pixels[x], 4);
  FCEffectPremultipleAlpha premultiply;
  image.ApplyEffect(premultiply);
  EXPECT_EQ(Bgra(image, 0, 0), (std::array{100, 50, 25, 128}));
  EXPECT_EQ(Bgra(image, 1, 0), (std::array{0, 0, 0, 0}));
  EXPECT_EQ(Bgra(image, 2, 0), (std::array{7, 255, 1, 255}));
}

TEST(FCObjImageEffect, PremultiplyLeavesOtherDepthsAlone) {
  FCObjImage image;
  ASSERT_TRUE(image.Create(1, 1, 24));
  image.GetBits(0, 0)[0] = 200;
  FCEffectPremultipleAlpha premultiply;
  image.ApplyEffect(premultiply);
  EXPECT_EQ(image.GetBits(0, 0)[0], 200);
  FCObjImage empty;
  empty.ApplyEffect(premultiply);  // nothing to do, nothing to crash on
  EXPECT_FALSE(empty.IsValidImage());
}

// Visits pixels rows from the top, pixels from the left, with the matching address.
TEST(FCObjImageEffect, VisitsEveryPixelTopRowFirst) {
  struct Recorder : FCImageEffect {
    std::vector<std::pair<int, int>> visited;
    bool addressesMatch = true;
    void ProcessPixel(FCObjImage& image, int x, int y, uint8_t* pixel) override {
      visited.emplace_back(x, y);
      addressesMatch = addressesMatch && pixel == image.GetBits(x, y);
    }
  } recorder;
  FCObjImage image;
  ASSERT_TRUE(image.Create(2, 2, 24));
  image.ApplyEffect(recorder);
  EXPECT_EQ(recorder.visited, (std::vector<std::pair<int, int>>{{0, 0}, {1, 0}, {0, 1}, {1, 1}}));
  EXPECT_TRUE(recorder.addressesMatch);

  ASSERT_TRUE(image.Create(2, 2, 8));  // the default effect wants 24 bits or more
  recorder.visited.clear();
  image.ApplyEffect(recorder);
  EXPECT_TRUE(recorder.visited.empty());
}

QImage Surface(int w, int h, QRgb fill) {
  QImage surface(w, h, QImage::Format_ARGB32_Premultiplied);
  surface.fill(fill);
  return surface;
}

TEST(FCObjImageDraw, OpaquePictureIsStretchedUprightOverWhatWasThere) {
  FCObjImage image;
  ASSERT_TRUE(image.FromQImage(test::Quadrants(2, 2, QImage::Format_RGB32)));
  ASSERT_EQ(image.ColorBits(), 24);
  QImage surface = Surface(10, 6, qRgba(9, 9, 9, 255));
  {
    QPainter painter(&surface);
    image.Draw(painter, QRect(1, 1, 8, 4));
  }
  EXPECT_EQ(surface.pixel(0, 0), qRgba(9, 9, 9, 255));  // outside the rectangle
  EXPECT_EQ(surface.pixel(9, 5), qRgba(9, 9, 9, 255));
  EXPECT_EQ(surface.pixel(1, 1), qRgb(255, 0, 0));
  EXPECT_EQ(surface.pixel(4, 2), qRgb(255, 0, 0));
  EXPECT_EQ(surface.pixel(5, 1), qRgb(0, 255, 0));
  EXPECT_EQ(surface.pixel(8, 2), qRgb(0, 255, 0));
  EXPECT_EQ(surface.pixel(1, 4), qRgb(0, 0, 255));
  EXPECT_EQ(surface.pixel(8, 4), qRgb(255, 255, 255));
  EXPECT_EQ(surface.pixel(8, 3), qRgb(255, 255, 255));
}

TEST(FCObjImageDraw, GreyPicturesDrawThroughTheirPalette) {
  FCObjImage image;
  ASSERT_TRUE(image.Create(2, 1, 8));
  image.GetBits(0, 0)[0] = 40;
  image.GetBits(1, 0)[0] = 200;
  QImage surface = Surface(2, 1, qRgba(0, 0, 0, 0));
  {
    QPainter painter(&surface);
    image.Draw(painter, QRect(0, 0, 2, 1));
  }
  EXPECT_EQ(surface.pixel(0, 0), qRgb(40, 40, 40));
  EXPECT_EQ(surface.pixel(1, 0), qRgb(200, 200, 200));
}

TEST(FCObjImageDraw, AlphaPictureBlendsSourceOverWithPremultipliedPixels) {
  FCObjImage image;
  ASSERT_TRUE(image.Create(2, 1, 32));
  const uint8_t half[4] = {0, 0, 128, 128};  // red at half coverage, already premultiplied
  const uint8_t clear[4] = {0, 0, 0, 0};
  std::memcpy(image.GetBits(0, 0), half, 4);
  std::memcpy(image.GetBits(1, 0), clear, 4);
  QImage surface = Surface(2, 1, qRgba(0, 0, 200, 255));
  {
    QPainter painter(&surface);
    image.Draw(painter, QRect(0, 0, 2, 1));
  }
  const QRgb blended = surface.pixel(0, 0);
  EXPECT_NEAR(qRed(blended), 128, 1);
  EXPECT_EQ(qGreen(blended), 0);
  EXPECT_NEAR(qBlue(blended), 200 * 127 / 255, 1);
  EXPECT_EQ(surface.pixel(1, 0), qRgba(0, 0, 200, 255));  // transparent: untouched
}

TEST(FCObjImageDraw, EmptyPictureDrawsNothing) {
  FCObjImage image;
  QImage surface = Surface(4, 4, qRgba(1, 2, 3, 255));
  {
    QPainter painter(&surface);
    image.Draw(painter, QRect(0, 0, 4, 4));
  }
  EXPECT_EQ(surface, Surface(4, 4, qRgba(1, 2, 3, 255)));
}

class ObjImageLoad : public ::testing::Test {
 protected:
  QString Path(const char* name) const { return m_dir.filePath(QString::fromUtf8(name)); }
  void Write(const char* name, const QByteArray& bytes) const {
    QFile file(Path(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  }
  static QByteArray Encode(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
  }
  QTemporaryDir m_dir;
};

TEST_F(ObjImageLoad, PngWithoutAlphaIsTwentyFourBitsAndDrawsOpaque) {
  Write("opaque.png", Encode(test::Quadrants(4, 2, QImage::Format_RGB32), "PNG"));
  FCObjImage image;
  ASSERT_TRUE(image.Load(Path("opaque.png")));
  EXPECT_EQ(image.ColorBits(), 24);
  EXPECT_EQ(image.Width(), 4);
  EXPECT_EQ(image.Height(), 2);
  EXPECT_EQ(Bgra(image, 0, 0), (std::array{0, 0, 255, 255}));  // red, top left
  EXPECT_EQ(Bgra(image, 0, 1), (std::array{255, 0, 0, 255}));  // blue, bottom left
  // Drawn at its own size over a half-transparent surface, it replaces every pixel.
  QImage surface(4, 2, QImage::Format_ARGB32_Premultiplied);
  surface.fill(qRgba(0, 0, 0, 0));
  {
    QPainter painter(&surface);
    image.Draw(painter, QRect(0, 0, 4, 2));
  }
  EXPECT_EQ(surface.pixel(0, 0), qRgb(255, 0, 0));
  EXPECT_EQ(surface.pixel(3, 1), qRgb(255, 255, 255));
}

TEST_F(ObjImageLoad, PngWithAlphaKeepsStraightAlphaUntilPremultiplied) {
  QImage source(1, 1, QImage::Format_ARGB32);
  source.setPixel(0, 0, qRgba(50, 100, 200, 128));
  Write("alpha.png", Encode(source, "PNG"));
  FCObjImage image;
  ASSERT_TRUE(image.Load(Path("alpha.png")));
  EXPECT_EQ(image.ColorBits(), 32);
  EXPECT_EQ(Bgra(image, 0, 0), (std::array{200, 100, 50, 128}));
}

TEST_F(ObjImageLoad, ExtensionDecidesTheHandlerAndContentTheFormat) {
  const QByteArray png = Encode(test::Quadrants(2, 2, QImage::Format_RGB32), "PNG");
  Write("named.JPG", png);  // a PNG under a JPEG name is still read
  Write("named.pcx", png);  // but a type without a handler is not
  Write("noextension", png);
  FCObjImage image;
  EXPECT_TRUE(image.Load(Path("named.JPG")));
  FCObjImage other;
  EXPECT_FALSE(other.Load(Path("named.pcx")));
  EXPECT_FALSE(other.Load(Path("noextension")));
  EXPECT_FALSE(other.IsValidImage());
}

TEST_F(ObjImageLoad, FailedLoadKeepsTheOldPicture) {
  Write("garbage.png", QByteArray("this is not a picture at all"));
  QByteArray truncated = Encode(test::Quadrants(64, 64, QImage::Format_RGB32), "PNG");
  truncated.truncate(60);
  Write("truncated.png", truncated);

  FCObjImage image;
  ASSERT_TRUE(image.Create(3, 2, 8));
  image.GetBits(1, 1)[0] = 42;
  for (const char* name : {"missing.png", "garbage.png", "truncated.png", "photo.tga"}) {
    EXPECT_FALSE(image.Load(Path(name))) << name;
    EXPECT_EQ(image.Width(), 3) << name;
    EXPECT_EQ(image.ColorBits(), 8) << name;
    EXPECT_EQ(image.GetBits(1, 1)[0], 42) << name;
  }
  const QByteArray noise("\x89PNG but not really", 19);
  EXPECT_FALSE(image.Load(reinterpret_cast<const uint8_t*>(noise.data()),
                          static_cast<size_t>(noise.size()), ImageType::Png));
  EXPECT_EQ(image.GetBits(1, 1)[0], 42);
}

TEST_F(ObjImageLoad, CorruptFileLeavesAFreshPictureEmpty) {
  QByteArray bytes = Encode(test::Quadrants(8, 8, QImage::Format_RGB32), "JPEG");
  for (qsizetype i = 2; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 37);
  Write("corrupt.jpg", bytes);
  FCObjImage image;
  EXPECT_FALSE(image.Load(Path("corrupt.jpg")));
  EXPECT_FALSE(image.IsValidImage());
}

TEST_F(ObjImageLoad, MultiFrameGifGivesItsFirstFrameAndTheFrameDelays) {
  FCObjImage image;
  FCImageProperty property;
  ASSERT_TRUE(image.Load(test::Fixture("two-frames.gif"), &property));
  EXPECT_EQ(image.Width(), 6);
  EXPECT_EQ(image.Height(), 4);
  const auto pixel = Bgra(image, 5, 3);
  EXPECT_EQ((std::array{pixel[0], pixel[1], pixel[2]}), (std::array{0, 0, 255}));  // red
  EXPECT_EQ(property.m_listFrameDelay, (std::vector<int32_t>{200, 200}));
}

TEST_F(ObjImageLoad, EveryImageOfAnIconIsDecodedAndTheFirstIsKept) {
  QImage small(2, 2, QImage::Format_ARGB32);
  small.fill(qRgba(255, 0, 0, 255));
  QImage large(4, 4, QImage::Format_ARGB32);
  large.fill(qRgba(0, 0, 255, 128));
  // An icon file of two sizes, written by hand: header, two directory entries, two PNGs.
  const QByteArray first = Encode(small, "PNG");
  const QByteArray second = Encode(large, "PNG");
  QByteArray ico;
  auto put16 = [&ico](int v) { ico.append(char(v & 0xFF)).append(char((v >> 8) & 0xFF)); };
  auto put32 = [&](int v) {
    put16(v & 0xFFFF);
    put16((v >> 16) & 0xFFFF);
  };
  put16(0);
  put16(1);
  put16(2);
  int offset = 6 + 2 * 16;
  for (const auto& [size, png] : {std::pair{2, first}, std::pair{4, second}}) {
    ico.append(char(size)).append(char(size)).append(char(0)).append(char(0));
    put16(1);
    put16(32);
    put32(static_cast<int>(png.size()));
    put32(offset);
    offset += static_cast<int>(png.size());
  }
  ico.append(first).append(second);
  Write("two-sizes.ico", ico);

  FCImageCodec_Qt codec;
  FCImageFrames frames;
  FCImageProperty property;
  ASSERT_TRUE(codec.LoadImageFile(Path("two-sizes.ico"), frames, property));
  ASSERT_EQ(frames.size(), 2u);
  EXPECT_EQ(frames[0]->Width(), 2);
  EXPECT_EQ(frames[1]->Width(), 4);
  EXPECT_EQ(Bgra(*frames[1], 0, 0), (std::array{255, 0, 0, 128}));
  EXPECT_TRUE(property.m_listFrameDelay.empty());  // not an animation

  FCObjImage image;
  ASSERT_TRUE(image.Load(Path("two-sizes.ico")));
  EXPECT_EQ(image.Width(), 2);
  EXPECT_EQ(image.ColorBits(), 32);
  EXPECT_EQ(Bgra(image, 1, 1), (std::array{0, 0, 255, 255}));
}

TEST_F(ObjImageLoad, FromMemoryWithTheGivenType) {
  const QByteArray jpeg = Encode(test::Quadrants(16, 8, QImage::Format_RGB32), "JPEG");
  const auto* bytes = reinterpret_cast<const uint8_t*>(jpeg.data());
  const auto size = static_cast<size_t>(jpeg.size());
  FCObjImage image;
  ASSERT_TRUE(image.Load(bytes, size, ImageType::Jpeg));
  EXPECT_EQ(image.Width(), 16);
  EXPECT_EQ(image.ColorBits(), 24);
  FCObjImage other;
  EXPECT_FALSE(other.Load(bytes, size, ImageType::Psd));
  EXPECT_FALSE(other.Load(bytes, 0, ImageType::Jpeg));
  EXPECT_FALSE(other.IsValidImage());
}

TEST(FCObjImageResource, BuiltInPicturesLoadAndAMissingOneEmptiesThePicture) {
  FCObjImage image;
  ASSERT_TRUE(image.LoadResource(600, QStringLiteral("JPG"), ImageType::Jpeg));
  EXPECT_EQ(image.ColorBits(), 24);
  EXPECT_GT(image.Width(), 0);
  ASSERT_TRUE(image.LoadResource(611, QStringLiteral("PNG"), ImageType::Png));
  EXPECT_EQ(image.ColorBits(), 32);
  EXPECT_FALSE(image.LoadResource(599, QStringLiteral("JPG"), ImageType::Jpeg));
  EXPECT_FALSE(image.IsValidImage());
  // A built-in picture read with a type that has no handler gives nothing either.
  EXPECT_FALSE(image.LoadResource(600, QStringLiteral("JPG"), ImageType::Tga));
}

}  // namespace
}  // namespace verbaro
