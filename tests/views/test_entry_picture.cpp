// The scene kept with the fills of the grid's rows: a repaint over it leaves the same pixels as
// drawing every cell with its own fill, and texts that might reach into a filled row below are
// drawn cell by cell.
#include <gtest/gtest.h>

#include <QPainter>

#include "data/PlainLessonState.h"
#include "support/ViewsTestSupport.h"
#include "views/AnswerMarks.h"
#include "views/Conspect1View.h"
#include "views/Exam1View.h"
#include "views/FilledScene.h"
#include "views/VirtualKeys.h"

namespace verbaro {
namespace {

using namespace grid;

TEST(EntryPicture, RightAnswerHighlightOnlyInExamViewsAfterARefusal) {
  PlainLessonState state(u"Модуль \"Тест\"");
  state.m_vwsAltWords = {u"дом", u"жилище"};
  state.m_trueCellIndex = 1;
  state.m_bExamMode = 1;
  EXPECT_EQ(CellFill(state, kTranslationFill, 2), kTranslationFill);
  state.m_showTrueAnswer = 1;
  EXPECT_EQ(CellFill(state, kTranslationFill, 1), kTranslationFill);
  const RowFills fills = FillsOf(PictureOf(state, std::nullopt, false));
  EXPECT_EQ(fills[kFirstTranslationRow], kTranslationFill);
  EXPECT_EQ(fills[kFirstTranslationRow + 1], kAnswerHighlight);
  EXPECT_EQ(fills[kFirstTranslationRow + 2], std::nullopt);
  state.m_bExamMode = 0;
  EXPECT_EQ(CellFill(state, kTranslationFill, 2), kTranslationFill);
}

QImage Scene(QSize size, qreal ratio) {
  QImage scene(size, QImage::Format_ARGB32_Premultiplied);
  for (int y = 0; y < size.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(scene.scanLine(y));
    for (int x = 0; x < size.width(); ++x) line[x] = qRgb(x * 7 % 256, y * 3 % 256, (x ^ y) % 256);
  }
  scene.setDevicePixelRatio(ratio);
  return scene;
}

// The fills blended over a copy of the scene, as drawing each cell with its fill does.
QImage Blended(const QImage& scene, const Geometry& grid, const RowFills& fills) {
  QImage image = scene.copy();
  image.setDevicePixelRatio(scene.devicePixelRatio());
  QPainter painter(&image);
  for (int row = 0; row < kRows; ++row) {
    if (const auto fill = fills[static_cast<size_t>(row)]) {
      painter.fillRect(QRect(grid.x, grid.RowY(row), grid.width, grid.rowHeight),
                       QColor::fromRgba(*fill));
    }
  }
  return image;
}

TEST(FilledScene, ChangedFillsAndAChangedSceneAreComposedAgainAtEveryRatio) {
  for (const qreal ratio : {1.0, 2.0, 1.25}) {
    QImage scene = Scene(QSize(250, 150), ratio);
    const Geometry grid = Geometry::Of(QRect(0, 0, 200, 120));
    RowFills fills;
    for (int row = 1; row <= 10; ++row) fills[static_cast<size_t>(row)] = kCellFill;
    FilledScene kept;
    EXPECT_EQ(kept.Compose(scene, grid, fills, 150), Blended(scene, grid, fills)) << ratio;
    fills[8] = std::nullopt;  // a row losing its fill, another changing it, one gaining it
    fills[7] = kAnswerHighlight;
    fills[0] = kTranslationFill;
    EXPECT_EQ(kept.Compose(scene, grid, fills, 150), Blended(scene, grid, fills)) << ratio;
    QPainter(&scene).fillRect(QRect(0, 0, 50, 50), Qt::red);  // the scene composed anew
    EXPECT_EQ(kept.Compose(scene, grid, fills, 150), Blended(scene, grid, fills)) << ratio;
    const QImage other = Scene(scene.size(), ratio).mirrored();  // another view's scene
    EXPECT_EQ(kept.Compose(other, grid, fills, 150), Blended(other, grid, fills)) << ratio;
  }
}

TEST(CellReach, MarksBelowLettersAndRowsTooLowForTheMarksOverTheLineEndOutside) {
  test::EnsureApplication();
  CellFont font;
  QImage device(10, 10, QImage::Format_ARGB32_Premultiplied);
  device.setDotsPerMeterX(3780);
  device.setDotsPerMeterY(3780);
  const int points = FittedPointSize(900, 50, 1, 1, kFullSize);
  const qreal clearance = marks::MarkReach(QRect(0, 0, 900, 50));
  const std::u16string stacked =
      u"g\u0317\u0316\u0318\u0319\u031C\u031D\u031E\u031F\u0320"
      u"\u0324\u0325\u0326\u0329\u032A\u032B\u032C\u032D";
  for (const std::u16string_view text : std::initializer_list<std::u16string_view>{
           u"gypsy|", u"ÉÂÇ jour", u"[mɛzɔ̃]", u"Щётка, йод", u"é´l|", stacked}) {
    EXPECT_TRUE(font.EndsInside(text, points, QSize(900, 50), clearance, &device));
  }
  // Four pixels less below: the marks under the letter reach past the edge, where the line and
  // the descenders of an ordinary word still end above it.
  EXPECT_TRUE(font.EndsInside(u"gypsy", points, QSize(900, 46), 0, &device));
  EXPECT_FALSE(font.EndsInside(stacked, points, QSize(900, 46), 0, &device));
  EXPECT_FALSE(font.EndsInside(u"a", FittedPointSize(900, 6, 1, 1, kFullSize), QSize(900, 6),
                               marks::MarkReach(QRect(0, 0, 900, 6)), &device));
}

// A view that shows its composed scene, for the pictures drawn cell by cell.
template <typename View>
class SceneOf : public View {
 public:
  using View::View;
  QImage Scene() const { return this->m_sceneSurface.copy(this->rect()); }
};

template <typename View>
std::unique_ptr<CWordsView> MakeWithScene(const Platform& platform) {
  return std::make_unique<SceneOf<View>>(platform);
}

// The back buffer as drawn with every cell's own fill: the scene, then the current entry.
template <typename View>
QImage DrawnCellByCell(const test::ViewHarness& h) {
  auto& view = static_cast<SceneOf<View>&>(h.View());
  std::optional<TypingLine> typing;
  if (view.m_bConspectMode) {
    typing = TypingLineOf(view.m_expectedText, view.m_typedText, view.m_typedMatches != 0,
                          view.m_noLetterMarks);
  }
  QImage image = view.Scene();
  QPainter painter(&image);
  view.DrawUserData(painter, view.rect(), PictureOf(view, typing, true), false);
  return image;
}

test::LessonRow Row(std::u16string key, std::vector<std::u16string> translations) {
  return {u"f", u"s", std::move(key), std::move(translations), test::ShortMp3(), u"[mɛzɔ̃]"};
}

TEST(SamePixels, TypingNavigatingSwitchingAndResizingOverTheKeptFills) {
  test::ViewHarness h(MakeWithScene<CConspect1View>);
  ASSERT_TRUE(h.Open({Row(u"maison", {u"дом", u"жилище", u"здание"}), Row(u"ma", {u"моя"}),
                      Row(u"g\u0317\u0316\u0318\u0319\u031C\u031D\u031E", {u"1", u"2", u"3"})}));
  const auto same = [&](const char* what) {
    EXPECT_EQ(h.Frame(), DrawnCellByCell<CConspect1View>(h)) << what;
  };
  same("shown");
  h.Keys({'M', 'A', 'X'});
  same("a wrong letter boxed");
  h.Key(vk::kDown);
  h.Keys({'M', 'A'});
  same("another entry typed through");
  h.Key(vk::kDown);
  same("marks below a letter");
  h.View().ToggleHeader();
  same("no header");
  h.View().ToggleTranslations();
  same("no translations");
  h.View().ToggleHeader();
  h.View().ToggleTranslations();
  // Rows of 6 pixels are too low for the marks over the typing line: drawn cell by cell.
  for (const QSize size : {QSize(500, 75), QSize(400, 100), QSize(1000, 600)}) {
    h.View().resize(size);  // not shown: the resize event would wait for that
    h.View().Repaint();
    ASSERT_EQ(h.Frame().size(), size);
    same("resized");
  }
}

TEST(SamePixels, TheRightAnswerHighlightedAfterARefusalAndGoneAfterwards) {
  test::ViewHarness h(MakeWithScene<CExam1View>);
  std::vector<test::LessonRow> rows;
  for (const char16_t* word : {u"un", u"deux", u"trois", u"quatre", u"cinq", u"six", u"sept"}) {
    rows.push_back({u"m", u"s", word, {std::u16string(u"t") + word}, test::ShortMp3()});
  }
  ASSERT_TRUE(h.Open(rows));
  h.View().SelectUserFilter(kFirstFilterCommand, u"");
  ASSERT_TRUE(h.As<CExam1View>().HasQuestion());
  const QImage asked = h.Frame();
  EXPECT_EQ(asked, DrawnCellByCell<CExam1View>(h));
  h.View().m_showTrueAnswer = 1;  // as a refusal repaints
  h.View().Repaint();
  EXPECT_NE(h.Frame(), asked);
  EXPECT_EQ(h.Frame(), DrawnCellByCell<CExam1View>(h));
  h.View().m_showTrueAnswer = 0;
  h.View().Repaint();
  EXPECT_EQ(h.Frame(), DrawnCellByCell<CExam1View>(h));
}

}  // namespace
}  // namespace verbaro
