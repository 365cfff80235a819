// The entry grid: layout, colours, frames, numbering and the fitting of texts to cells, checked
// on the rendered back buffer of a view with a real lesson.
#include <gtest/gtest.h>

#include <QPainter>

#include "support/TestView.h"
#include "support/ViewsTestSupport.h"
#include "views/Conspect1View.h"
#include "views/EntryGrid.h"

namespace verbaro {
namespace {

using test::LessonRow;
using test::Near;
using test::Over;

constexpr int kMid = 25;    // half a row of the 1000 x 600 client
constexpr int kLeftX = 60;  // inside every cell, left of any centred text

QRgb At(const QImage& image, int x, int y) { return image.pixel(x, y); }

TEST(EntryGrid, GeometryTextsAndFittedSizes) {
  const grid::Geometry g = grid::Geometry::Of(QRect(0, 0, 1000, 600));
  EXPECT_EQ(g.x, 50);
  EXPECT_EQ(g.width, 900);
  EXPECT_EQ(g.rowHeight, 50);
  EXPECT_EQ(g.RowY(grid::kFirstTranslationRow + 5), 550);

  EXPECT_EQ(grid::GrammarText(u"m", u"p"), u"m, pl");
  EXPECT_EQ(grid::GrammarText(u"m", u"pl"), u"m");
  EXPECT_EQ(grid::GrammarText(u"m", u"P"), u"m");

  EXPECT_EQ(grid::FittedPointSize(900, 50, 30, 18, 100), 23);  // short: 46 % of the row
  EXPECT_EQ(grid::FittedPointSize(900, 50, 30, 18, 80), 18);
  EXPECT_EQ(grid::FittedPointSize(900, 50, 900, 18, 100), 8);  // long: by the proportions
  EXPECT_EQ(grid::FittedPointSize(900, 50, 0, 18, 100), 0);
}

TEST(EntryGridClicks, CellsOfA1000By600ClientArea) {
  const grid::Geometry g = grid::Geometry::Of(QRect(0, 0, 1000, 600));
  // x0 = 50, cell width 900, row height 50: cells 1..5 in rows 6..10 (y 300..550).
  EXPECT_EQ(g.ExamChoiceAt(50, 300, 5), 1);
  EXPECT_EQ(g.ExamChoiceAt(950, 350, 5), 1) << "a lower border belongs to the cell above";
  EXPECT_EQ(g.ExamChoiceAt(500, 351, 5), 2);
  EXPECT_EQ(g.ExamChoiceAt(500, 500, 5), 4);
  EXPECT_EQ(g.ExamChoiceAt(500, 550, 5), 5);
  EXPECT_EQ(g.ExamChoiceAt(49, 320, 5), 0) << "left of the cells";
  EXPECT_EQ(g.ExamChoiceAt(30, 320, 5), 0) << "on a cell's number";
  EXPECT_EQ(g.ExamChoiceAt(951, 320, 5), 0) << "right of the cells";
  EXPECT_EQ(g.ExamChoiceAt(500, 551, 5), 0) << "below the fifth row";
  EXPECT_EQ(g.ExamChoiceAt(500, 299, 5), 0) << "in the header";
}

TEST(EntryGridClicks, EmptyRowsInsideTheCellAreaAndNoCellsChooseNothing) {
  const grid::Geometry g = grid::Geometry::Of(QRect(0, 0, 1000, 600));
  EXPECT_EQ(g.ExamChoiceAt(500, 420, 3), 3);
  EXPECT_EQ(g.ExamChoiceAt(500, 451, 3), std::nullopt);
  EXPECT_EQ(g.ExamChoiceAt(500, 520, 3), std::nullopt);
  EXPECT_EQ(g.ExamChoiceAt(500, 551, 3), 0);
  EXPECT_EQ(g.ExamChoiceAt(10, 10, 0), std::nullopt) << "no numbered cell yet";
  EXPECT_EQ(g.ExamChoiceAt(500, 320, 0), std::nullopt);
}

class CellDrawing : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { test::EnsureApplication(); }
  CellDrawing() : view(fake.Get()), image(1000, 600, QImage::Format_ARGB32_Premultiplied) {
    image.setDotsPerMeterX(3780);
    image.setDotsPerMeterY(3780);
    image.fill(Qt::white);
  }
  void Draw(std::u16string_view text, std::optional<QRgb> fill, int number, int percent = 100) {
    QPainter painter(&image);
    view.DrawCellText(painter, text, 50, 50, 900, 50, fill, grid::kBlueText, number, true, percent);
  }
  QRect Ink() const { return test::InkBox(image, grid::kBlueText, QRect(50, 50, 900, 50)); }

  FakePlatform fake;
  test::TestView view;
  QImage image;
};

TEST_F(CellDrawing, ShortTextIsFortySixPercentOfTheRowInPointsAt96Dpi) {
  Draw(u"HH", grid::kCellFill, 0);
  const QRect ink = Ink();
  // 23 points are 30.7 pixels at 96 dpi; a capital H of Liberation Sans is 0.69 of that.
  EXPECT_NEAR(ink.height(), 21, 2);
  EXPECT_NEAR(ink.center().x(), 500, 3);
  EXPECT_NEAR(ink.center().y(), 75, 3);
  EXPECT_TRUE(Near(At(image, kLeftX, 75), Over(grid::kCellFill, qRgb(255, 255, 255))));
  for (const QPoint frame :
       {QPoint(50, 75), QPoint(950, 75), QPoint(kLeftX, 50), QPoint(kLeftX, 100)}) {
    EXPECT_EQ(At(image, frame.x(), frame.y()), grid::kFramePen) << frame.x() << "," << frame.y();
  }
}

TEST_F(CellDrawing, LongTextShrinksOnOneLineInsideTheCell) {
  Draw(u"une phrase bien trop longue pour la cellule, qui se poursuit encore et encore", {}, 0);
  const QRect ink = Ink();
  EXPECT_GT(ink.width(), 450);
  EXPECT_LT(ink.width(), 900);
  EXPECT_LT(ink.height(), 18);  // one line of a small font
}

TEST_F(CellDrawing, EmptyTextIsFilledAndFramedWithoutNumber) {
  const QImage blank = image;
  view.m_numberedCells = 4;
  Draw(u"", grid::kTranslationFill, 3);
  EXPECT_EQ(test::ChangedPixels(image, blank, QRect(25, 50, 25, 50)), 0);
  EXPECT_EQ(view.m_numberedCells, 4);
  EXPECT_TRUE(Near(At(image, 500, 75), Over(grid::kTranslationFill, qRgb(255, 255, 255))));
  EXPECT_EQ(At(image, 50, 75), grid::kFramePen);
}

LessonRow FullRow(std::vector<std::u16string> translations) {
  return {.gram = u"f",
          .number = u"s",
          .key = u"maison",
          .translations = std::move(translations),
          .recording = test::ShortMp3(),
          .info1 = u"[mɛzɔ̃]",
          .info2 = u"mai-son",
          .info3 = u"la maison"};
}

TEST(RenderedGrid, FiveTranslationsNumberedBelowTheHeaderAndTypingLine) {
  test::ViewHarness h(test::ViewHarness::Make<CConspect1View>);
  ASSERT_TRUE(h.Open({FullRow({u"дом", u"жилище", u"здание", u"семья", u"очаг"})}));
  const QImage frame = h.Frame();
  const QImage& bg = h.Background();
  ASSERT_EQ(frame.size(), QSize(1000, 600));

  // Row 0: grammar text only, no fill, no frame.
  EXPECT_EQ(At(frame, kLeftX, kMid), At(bg, kLeftX, kMid));
  EXPECT_GT(test::ChangedPixels(frame, bg, QRect(50, 0, 900, 50)), 0);
  for (int row = 1; row <= 10; ++row) {
    const int y = row * 50;
    const QRgb fill = row <= 4   ? grid::kCellFill
                      : row == 5 ? grid::kTypingFill
                                 : grid::kTranslationFill;
    EXPECT_TRUE(Near(At(frame, kLeftX, y + kMid), Over(fill, At(bg, kLeftX, y + kMid))))
        << "row " << row;
    EXPECT_EQ(At(frame, 50, y + kMid), grid::kFramePen) << "row " << row;
    EXPECT_EQ(At(frame, 950, y + kMid), grid::kFramePen) << "row " << row;
    EXPECT_EQ(At(frame, kLeftX, y), grid::kFramePen) << "row " << row;
    const int numberInk = test::ChangedPixels(frame, bg, QRect(25, y, 25, 50));
    if (row >= 6) {
      EXPECT_GT(numberInk, 0) << "row " << row;
    } else {
      EXPECT_EQ(numberInk, 0) << "row " << row;
    }
  }
  EXPECT_EQ(h.View().m_numberedCells, 5);
  // Status line: text, no fill, no frame.
  EXPECT_EQ(At(frame, kLeftX, 550 + kMid), At(bg, kLeftX, 550 + kMid));
  EXPECT_EQ(At(frame, 50, 550 + kMid), At(bg, 50, 550 + kMid));
  EXPECT_GT(test::ChangedPixels(frame, bg, QRect(50, 550, 900, 50)), 0);
}

TEST(RenderedGrid, TwoTranslationsLeaveRowsEightToTenEmptyAndTheStatusInRowEleven) {
  test::ViewHarness h(test::ViewHarness::Make<CConspect1View>);
  ASSERT_TRUE(h.Open({FullRow({u"дом", u"жилище"})}));
  const QImage frame = h.Frame();
  const QImage& bg = h.Background();
  EXPECT_GT(test::ChangedPixels(frame, bg, QRect(0, 350, 1000, 50)), 0);
  EXPECT_EQ(test::ChangedPixels(frame, bg, QRect(0, 401, 1000, 149)), 0);
  EXPECT_GT(test::ChangedPixels(frame, bg, QRect(50, 550, 900, 50)), 0);
  EXPECT_EQ(h.View().m_numberedCells, 2);
}

TEST(RenderedGrid, PluralMarkOnlyForNumberCodeP) {
  auto grammarInk = [](std::u16string number) {
    test::ViewHarness h(test::ViewHarness::Make<CConspect1View>);
    LessonRow row = FullRow({u"дома"});
    row.number = number;
    EXPECT_TRUE(h.Open({row}));
    return test::ChangedPixels(h.Frame(), h.Background(), QRect(50, 0, 900, 50));
  };
  const int plain = grammarInk(u"pl");
  EXPECT_EQ(grammarInk(u"P"), plain);
  EXPECT_GT(grammarInk(u"p"), plain + 20);
}

TEST(RenderedGrid, HiddenHeaderKeepsTheTypingLineAndHiddenTranslationsKeepTheStatus) {
  test::ViewHarness h(test::ViewHarness::Make<CConspect1View>);
  ASSERT_TRUE(h.Open({FullRow({u"дом"})}));
  h.View().ToggleHeader();
  h.View().ToggleTranslations();
  const QImage frame = h.Frame();
  const QImage& bg = h.Background();
  EXPECT_EQ(test::ChangedPixels(frame, bg, QRect(0, 0, 1000, 249)), 0);
  EXPECT_TRUE(Near(At(frame, kLeftX, 275), Over(grid::kTypingFill, At(bg, kLeftX, 275))));
  EXPECT_EQ(test::ChangedPixels(frame, bg, QRect(0, 301, 1000, 249)), 0);
  EXPECT_GT(test::ChangedPixels(frame, bg, QRect(50, 550, 900, 50)), 0);
  EXPECT_TRUE(h.Messages().empty());  // a lesson is loaded: the switches say nothing
}

}  // namespace
}  // namespace verbaro
