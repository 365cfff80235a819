// The composed scene (background and logo) is kept between repaints: a resize must compose it
// again for the new size, and the pictures must still be there afterwards.
#include <gtest/gtest.h>

#include <QSet>

#include "support/ViewsTestSupport.h"
#include "views/Conspect1View.h"

namespace verbaro {
namespace {

// A Conspect-1 view with its built-in pictures, created at `size`.
class SizedView {
 public:
  explicit SizedView(QSize size) : view(fake.Get()) {
    view.resize(size);
    view.Create();
  }
  void ResizeTo(QSize size) {
    view.resize(size);  // the view is not shown: the resize event would wait for that
    view.Repaint();
  }
  FakePlatform fake;
  CConspect1View view;
};

int DistinctColours(const QImage& image) {
  QSet<QRgb> colours;
  for (int y = 0; y < image.height(); y += 7) {
    for (int x = 0; x < image.width(); x += 7) colours.insert(image.pixel(x, y));
  }
  return static_cast<int>(colours.size());
}

TEST(RepaintScene, ResizedViewShowsThePicturesComposedForTheNewSize) {
  test::EnsureApplication();
  SizedView view(QSize(1000, 600));
  const QImage first = view.view.BackBuffer();
  EXPECT_GT(DistinctColours(first), 100);  // the background picture, not a plain fill

  for (const QSize size : {QSize(800, 500), QSize(1200, 700)}) {
    view.ResizeTo(size);
    const QImage resized = view.view.BackBuffer();
    ASSERT_EQ(resized.size(), size);
    EXPECT_EQ(resized, SizedView(size).view.BackBuffer()) << size.width() << "x" << size.height();
    EXPECT_GT(DistinctColours(resized), 100);
  }
  view.ResizeTo(QSize(1000, 600));
  EXPECT_EQ(view.view.BackBuffer(), first);
}

TEST(RepaintScene, RepaintsWithoutChangeGiveTheSamePicture) {
  test::ViewHarness h(test::ViewHarness::Make<CConspect1View>);
  ASSERT_TRUE(h.Open(test::NumberedRows(3)));
  const QImage entry = h.Frame();
  for (int i = 0; i < 3; ++i) h.View().Repaint();
  EXPECT_EQ(h.Frame(), entry);
  // Each row of the grid drawn and taken away again leaves the pictures as they were.
  h.View().ToggleHeader();
  h.View().ToggleTranslations();
  h.View().ToggleHeader();
  h.View().ToggleTranslations();
  EXPECT_EQ(h.Frame(), entry);
}

}  // namespace
}  // namespace verbaro
