#include <gtest/gtest.h>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "ImageTestSupport.h"
#include "image/FCImageEffect.h"
#include "image/FCObjImage.h"
#include "image/ModePictures.h"

namespace verbaro {
namespace {

// Each test runs in its own empty current folder, as the program runs in the user's folder.
class ModePictures : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_dir.isValid());
    m_previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(m_dir.path()));
  }
  void TearDown() override { QDir::setCurrent(m_previous); }

  static void MakeRes() { ASSERT_TRUE(QDir().mkpath(QStringLiteral("Res"))); }
  static void Write(const QString& name, const QByteArray& bytes) {
    QFile file(name);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  }

  // Loads mode `index` (0 Conspect-1 ... 5 Exam-2) the way its view does.
  static bool LoadMode(int index, FCObjImage& background, FCObjImage& logo) {
    static const char* const kStems[] = {"Conspect1", "Conspect2", "Video1",
                                         "Video2",    "Exam1",     "Exam2"};
    const QString stem = QString::fromLatin1(kStems[index]);
    const QString folder = QStringLiteral("Res/");
    return LoadModePictures(background, logo, 600 + 2 * index,
                            folder + stem + QStringLiteral(".jpg"), 601 + 2 * index,
                            folder + stem + QStringLiteral("Logo.png"));
  }

  // The built-in picture, decoded without the mode rule, for comparison.
  static void BuiltIn(FCObjImage& image, int id, bool premultiply) {
    const bool logo = id % 2 == 1;
    ASSERT_TRUE(image.LoadResource(id, logo ? QStringLiteral("PNG") : QStringLiteral("JPG"),
                                   logo ? ImageType::Png : ImageType::Jpeg));
    if (premultiply) {
      FCEffectPremultipleAlpha effect;
      image.ApplyEffect(effect);
    }
  }

  static bool SamePixels(const FCObjImage& a, const FCObjImage& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height() || a.ColorBits() != b.ColorBits()) {
      return false;
    }
    const size_t rowBytes = static_cast<size_t>(a.Width()) * (a.ColorBits() / 8);
    for (int y = 0; y < a.Height(); ++y) {
      if (std::memcmp(a.GetBits(y), b.GetBits(y), rowBytes) != 0) return false;
    }
    return true;
  }

  QTemporaryDir m_dir;
  QString m_previous;
};

TEST_F(ModePictures, WithoutResEveryModeShowsItsOwnBuiltInPictures) {
  std::vector<QSize> backgrounds;
  for (int mode = 0; mode < 6; ++mode) {
    FCObjImage background, logo, expectedBackground, expectedLogo;
    ASSERT_TRUE(LoadMode(mode, background, logo)) << mode;
    BuiltIn(expectedBackground, 600 + 2 * mode, false);
    BuiltIn(expectedLogo, 601 + 2 * mode, true);
    EXPECT_EQ(background.ColorBits(), 24) << mode;
    EXPECT_EQ(logo.ColorBits(), 32) << mode;
    EXPECT_TRUE(SamePixels(background, expectedBackground)) << mode;
    EXPECT_TRUE(SamePixels(logo, expectedLogo)) << mode;  // premultiplied
  }
}

TEST_F(ModePictures, BuiltInLogosArePremultiplied) {
  FCObjImage background, logo, straight;
  ASSERT_TRUE(LoadMode(2, background, logo));
  BuiltIn(straight, 605, false);
  bool sawPartialAlpha = false;
  for (int y = 0; y < logo.Height(); ++y) {
    for (int x = 0; x < logo.Width(); ++x) {
      const auto p = test::Bgra(logo, x, y);
      const auto s = test::Bgra(straight, x, y);
      ASSERT_LE(std::max({p[0], p[1], p[2]}), p[3]) << x << "," << y;
      ASSERT_EQ(p[0], s[0] * s[3] / 255);
      sawPartialAlpha = sawPartialAlpha || (p[3] > 0 && p[3] < 255);
    }
  }
  EXPECT_TRUE(sawPartialAlpha);  // the logo's edges are anti-aliased
}

TEST_F(ModePictures, ResHoldingOnlyOneBackgroundReplacesJustThatPicture) {
  MakeRes();
  QImage own = test::Quadrants(40, 30, QImage::Format_RGB32);
  ASSERT_TRUE(own.save(QStringLiteral("Res/Video1.jpg"), "JPEG", 100));

  FCObjImage background, logo, expectedLogo;
  ASSERT_TRUE(LoadMode(2, background, logo));
  EXPECT_EQ(background.Width(), 40);
  EXPECT_EQ(background.Height(), 30);
  EXPECT_EQ(background.ColorBits(), 24);
  BuiltIn(expectedLogo, 605, true);
  EXPECT_TRUE(SamePixels(logo, expectedLogo));

  for (int mode : {0, 1, 3, 4, 5}) {
    FCObjImage otherBackground, otherLogo, expected;
    ASSERT_TRUE(LoadMode(mode, otherBackground, otherLogo));
    BuiltIn(expected, 600 + 2 * mode, false);
    EXPECT_TRUE(SamePixels(otherBackground, expected)) << mode;
  }
}

TEST_F(ModePictures, ThirtyTwoBitPicturesFromFilesArePremultiplied) {
  MakeRes();
  QImage own(2, 1, QImage::Format_ARGB32);
  own.setPixel(0, 0, qRgba(50, 100, 200, 128));
  own.setPixel(1, 0, qRgba(255, 255, 255, 255));
  // A PNG under the background's JPEG name: the decoder goes by content.
  ASSERT_TRUE(own.save(QStringLiteral("Res/Exam1.jpg"), "PNG"));
  ASSERT_TRUE(own.save(QStringLiteral("Res/Exam1Logo.png"), "PNG"));
  FCObjImage background, logo;
  ASSERT_TRUE(LoadMode(4, background, logo));
  for (const FCObjImage* image : {&background, &logo}) {
    ASSERT_EQ(image->ColorBits(), 32);
    EXPECT_EQ(test::Bgra(*image, 0, 0), (std::array{100, 50, 25, 128}));
    EXPECT_EQ(test::Bgra(*image, 1, 0), (std::array{255, 255, 255, 255}));
  }
}

TEST_F(ModePictures, AFileThatIsNoPictureGivesWayToTheBuiltInOne) {
  MakeRes();
  Write(QStringLiteral("Res/Conspect2.jpg"), QByteArray("plain text, not a picture"));
  Write(QStringLiteral("Res/Conspect2Logo.png"), QByteArray());
  FCObjImage background, logo, expected;
  ASSERT_TRUE(LoadMode(1, background, logo));
  BuiltIn(expected, 602, false);
  EXPECT_TRUE(SamePixels(background, expected));
  EXPECT_EQ(logo.ColorBits(), 32);
}

TEST_F(ModePictures, ARecognisedButUndecodableBackgroundStopsBothPictures) {
  MakeRes();
  // A PNG whose header is intact but whose data is cut off: it passes the look at the header
  // and fails to decode.
  QByteArray png;
  {
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    test::Quadrants(64, 64, QImage::Format_RGB32).save(&buffer, "PNG");
  }
  png.truncate(60);
  Write(QStringLiteral("Res/Exam2.jpg"), png);
  FCObjImage background, logo;
  EXPECT_FALSE(LoadMode(5, background, logo));
  EXPECT_FALSE(background.IsValidImage());
  EXPECT_FALSE(logo.IsValidImage());

  // The same broken file as a logo: the background loads, the logo stays empty.
  QFile::remove(QStringLiteral("Res/Exam2.jpg"));
  Write(QStringLiteral("Res/Exam2Logo.png"), png);
  FCObjImage background2, logo2;
  EXPECT_FALSE(LoadMode(5, background2, logo2));
  EXPECT_TRUE(background2.IsValidImage());
  EXPECT_FALSE(logo2.IsValidImage());
}

TEST_F(ModePictures, OnAScreenAtScaleTwoTheBuiltInLogoComesWithTwiceThePixels) {
  FCObjImage ownSize;
  BuiltIn(ownSize, 603, true);
  for (const double screenRatio : {1.0, 1.5, 2.0}) {
    FCObjImage background, logo;
    int logoRatio = 0;
    ASSERT_TRUE(LoadModePictures(background, logo, 602, QStringLiteral("Res/Conspect2.jpg"), 603,
                                 QStringLiteral("Res/Conspect2Logo.png"), screenRatio, &logoRatio));
    const int expected = screenRatio > 1.0 ? 2 : 1;
    EXPECT_EQ(logoRatio, expected) << screenRatio;
    EXPECT_EQ(logo.Width(), expected * ownSize.Width()) << screenRatio;
    EXPECT_EQ(logo.Height(), expected * ownSize.Height()) << screenRatio;
    EXPECT_EQ(logo.ColorBits(), 32);
  }

  // The user's own logo is taken at its own size whatever the screen.
  MakeRes();
  QByteArray png;
  {
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    test::Quadrants(40, 20, QImage::Format_ARGB32).save(&buffer, "PNG");
  }
  Write(QStringLiteral("Res/Conspect2Logo.png"), png);
  FCObjImage background, logo;
  int logoRatio = 0;
  ASSERT_TRUE(LoadModePictures(background, logo, 602, QStringLiteral("Res/Conspect2.jpg"), 603,
                               QStringLiteral("Res/Conspect2Logo.png"), 2.0, &logoRatio));
  EXPECT_EQ(logoRatio, 1);
  EXPECT_EQ(logo.Width(), 40);
}

}  // namespace
}  // namespace verbaro
