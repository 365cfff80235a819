// What a repaint decides before it draws (the cells of the grid, the typing line and its marks,
// the sounds), the scene kept with the fills of the rows, and that a repaint over the kept fills
// leaves the same pixels as drawing every cell with its fill.
#include <gtest/gtest.h>

#include <QPainter>

#include "data/KeyTranslation.h"
#include "data/PlainLessonState.h"
#include "platform/QtText.h"
#include "support/ViewsTestSupport.h"
#include "views/AnswerMarks.h"
#include "views/Conspect1View.h"
#include "views/EntryPicture.h"
#include "views/Exam1View.h"
#include "views/FilledScene.h"
#include "views/VirtualKeys.h"

namespace verbaro {
namespace {

using namespace grid;

std::vector<int> Rows(const EntryPicture& picture) {
  std::vector<int> rows;
  for (const Cell& cell : picture.cells) rows.push_back(cell.row);
  return rows;
}

class Picture : public ::testing::Test {
 protected:
  Picture() {
    state.m_wsFrGram = u"f";
    state.m_wsFrNumber = u"p";
    state.m_wsKeyWord = u"maison";
    state.m_wsInfo1 = u"[mɛzɔ̃]";
    state.m_vwsAltWords = {u"дом", u"жилище"};
    state.m_vUserIndexes = {0, 1, 2};
    state.m_nUserFilterIndex = 1;
  }
  PlainLessonState state{u"Модуль \"Тест\""};
};

TEST_F(Picture, HeaderTranslationsAndStatusInTheirRowsAndTheEntrySounded) {
  const EntryPicture picture = PictureOf(state, std::nullopt, false);
  EXPECT_EQ(Rows(picture), (std::vector<int>{0, 1, 2, 3, 4, 6, 7, 11}));
  EXPECT_EQ(picture.cells[0].text, u"f, pl");
  EXPECT_EQ(picture.cells[0].fill, std::nullopt);
  EXPECT_FALSE(picture.cells[0].frame);
  EXPECT_EQ(picture.cells[2].text, u"[mɛzɔ̃]");
  EXPECT_EQ(picture.cells[2].textColor, kRedText);
  EXPECT_EQ(picture.cells[6].text, u"жилище");
  EXPECT_EQ(picture.cells[6].number, 2);
  EXPECT_EQ(picture.cells[6].fill, kTranslationFill);
  EXPECT_EQ(picture.cells[7].text, u"2 / 3");
  EXPECT_EQ(picture.cells[7].percent, kStatusSize);
  EXPECT_EQ(picture.status, u"2 / 3");
  EXPECT_TRUE(picture.soundEntry);
  EXPECT_FALSE(picture.errorSignal);
  EXPECT_FALSE(picture.typingMarks);

  const RowFills fills = FillsOf(picture);
  EXPECT_EQ(fills[0], std::nullopt);
  EXPECT_EQ(fills[1], kCellFill);
  EXPECT_EQ(fills[5], std::nullopt);
  EXPECT_EQ(fills[7], kTranslationFill);
  EXPECT_EQ(fills[8], std::nullopt);
  EXPECT_EQ(fills[11], std::nullopt);
}

TEST_F(Picture, SwitchesHideRowsButNeverTheStatusAndFiveTranslationsAtMost) {
  state.m_bHideHeader = 1;
  state.m_bHidePerevod = 1;
  EXPECT_EQ(Rows(PictureOf(state, std::nullopt, false)), (std::vector<int>{11}));
  state.m_bHidePerevod = 0;
  state.m_vwsAltWords = {u"1", u"2", u"3", u"4", u"5", u"6", u"7"};
  EXPECT_EQ(Rows(PictureOf(state, std::nullopt, false)),
            (std::vector<int>{6, 7, 8, 9, 10, 11}));
}

TEST_F(Picture, AnEntryWithoutTranslationsHasNoStatusAndIsNotSounded) {
  state.m_vwsAltWords.clear();
  const EntryPicture picture = PictureOf(state, TypingLine{u"m", true, {}}, false);
  EXPECT_EQ(Rows(picture), (std::vector<int>{0, 1, 2, 3, 4, 5}));
  EXPECT_FALSE(picture.status);
  EXPECT_FALSE(picture.soundEntry);
}

TEST_F(Picture, TheTypingLineEndsInTheCaretAndAWrongOneSignalsEvenInASilentRepaint) {
  const EntryPicture right = PictureOf(state, TypingLine{u"mai", true, {}}, true);
  ASSERT_EQ(right.cells[5].row, kTypingRow);
  EXPECT_EQ(right.cells[5].text, u"mai|");
  EXPECT_EQ(right.cells[5].textColor, kTypedText);
  EXPECT_EQ(right.cells[5].fill, kTypingFill);
  EXPECT_FALSE(right.errorSignal);
  EXPECT_FALSE(right.soundEntry);

  TypingLine wrong{u"mx", false, {}};
  wrong.marks.wrongIndex = 1;
  wrong.marks.wrongLength = 1;
  const EntryPicture picture = PictureOf(state, wrong, true);
  EXPECT_EQ(picture.cells[5].textColor, kTypingError);
  EXPECT_TRUE(picture.errorSignal);
  ASSERT_TRUE(picture.typingMarks);
  EXPECT_EQ(picture.typingMarks->wrongIndex, 1u);
}

TEST_F(Picture, RightAnswerHighlightOnlyInExamViewsAfterARefusal) {
  state.m_trueCellIndex = 1;
  state.m_bExamMode = 1;
  EXPECT_EQ(CellFill(state, kTranslationFill, 2), kTranslationFill);
  state.m_showTrueAnswer = 1;
  EXPECT_EQ(CellFill(state, kTranslationFill, 2), kAnswerHighlight);
  EXPECT_EQ(CellFill(state, kTranslationFill, 1), kTranslationFill);
  EXPECT_EQ(CellFill(state, std::nullopt, 0), std::nullopt);
  state.m_bExamMode = 0;
  EXPECT_EQ(CellFill(state, kTranslationFill, 2), kTranslationFill);

  state.m_bExamMode = 1;
  const EntryPicture picture = PictureOf(state, std::nullopt, false);
  EXPECT_EQ(picture.cells[5].fill, kTranslationFill);
  EXPECT_EQ(picture.cells[6].fill, kAnswerHighlight);
  EXPECT_EQ(FillsOf(picture)[7], kAnswerHighlight);
  EXPECT_EQ(*picture.status, u"Правильно: 0; Неправильно: 0; Осталось: 0; Подсказок: 0");
}

// ---- the typing line ----

TEST(TypingLine, MarksOfRightWrongAndUncombinedKeys) {
  NoLetterMarks marks;
  EXPECT_FALSE(TypingLineOf(u"été", u"ét", true, marks).marks.wrongIndex);
  EXPECT_FALSE(TypingLineOf(u"été", u"ét", true, marks).marks.typedThrough);
  EXPECT_TRUE(TypingLineOf(u"été", u"été", true, marks).marks.typedThrough);
  EXPECT_FALSE(TypingLineOf(u"", u"", true, marks).marks.typedThrough);

  const TypingLine wrong = TypingLineOf(u"été", u"étx", false, marks);
  EXPECT_EQ(wrong.shown, u"étx");
  EXPECT_FALSE(wrong.matches);
  EXPECT_EQ(wrong.marks.wrongIndex, 2u);
  EXPECT_EQ(wrong.marks.wrongLength, 1u);

  // A mark shows as the accent and its key, and is boxed whole, also inside right letters.
  const std::u16string typed = std::u16string(u"b") + kNoLetterMark;
  marks.Add(u"b", u'\'', u'l');
  const TypingLine mark = TypingLineOf(u"bl", typed, false, marks);
  EXPECT_EQ(mark.shown, u"b´l");
  EXPECT_EQ(mark.marks.wrongIndex, 1u);
  EXPECT_EQ(mark.marks.wrongLength, 2u);
  const TypingLine inside = TypingLineOf(std::u16string(u"b") + kNoLetterMark + u"n", typed,
                                         false, marks);
  EXPECT_EQ(inside.marks.wrongIndex, 1u);
}

// ---- the scene kept with the fills ----

QImage Scene(QSize size, qreal ratio) {
  QImage scene(size, QImage::Format_ARGB32_Premultiplied);
  for (int y = 0; y < size.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(scene.scanLine(y));
    for (int x = 0; x < size.width(); ++x) line[x] = qRgb(x * 7 % 256, y * 3 % 256, (x ^ y) % 256);
  }
  scene.setDevicePixelRatio(ratio);
  return scene;
}

// The fills blended over a copy of the scene, as a repaint drawing each cell with its fill does.
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
    const QSize client(200, 120);
    QImage scene = Scene((QSizeF(client) * ratio).toSize(), ratio);
    const Geometry grid = Geometry::Of(QRect(QPoint(0, 0), client));
    const int rows = scene.height();
    RowFills fills;
    for (int row = 1; row <= 10; ++row) fills[static_cast<size_t>(row)] = kCellFill;
    fills[5] = kTypingFill;

    FilledScene kept;
    EXPECT_EQ(kept.Compose(scene, grid, fills, rows), Blended(scene, grid, fills)) << ratio;
    // A row losing its fill, another changing it, one gaining it.
    fills[8] = std::nullopt;
    fills[7] = kAnswerHighlight;
    fills[0] = kTranslationFill;
    EXPECT_EQ(kept.Compose(scene, grid, fills, rows), Blended(scene, grid, fills)) << ratio;
    EXPECT_EQ(kept.Compose(scene, grid, fills, rows), Blended(scene, grid, fills)) << ratio;
    // The scene drawn on (pictures of another size, another view's scene) is taken afresh.
    QPainter(&scene).fillRect(QRect(0, 0, 50, 50), Qt::red);
    EXPECT_EQ(kept.Compose(scene, grid, fills, rows), Blended(scene, grid, fills)) << ratio;
    const QImage other = Scene(scene.size(), ratio).mirrored();
    EXPECT_EQ(kept.Compose(other, grid, fills, rows), Blended(other, grid, fills)) << ratio;
  }
}

// ---- texts that stay in their rows ----

TEST(CellReach, OrdinaryTextsEndInsideTheirCellsMarksBelowLettersAndTinyCellsDoNot) {
  test::EnsureApplication();
  CellFont font;
  QImage device(10, 10, QImage::Format_ARGB32_Premultiplied);
  device.setDotsPerMeterX(3780);
  device.setDotsPerMeterY(3780);
  const QSize cell(900, 50);
  const int points = FittedPointSize(cell.width(), cell.height(), 1, 1, kFullSize);
  const qreal clearance = marks::MarkReach(QRect(QPoint(0, 0), cell));
  const std::u16string stacked = u"g\u0317\u0316\u0318\u0319\u031C\u031D\u031E\u031F\u0320"
                                 u"\u0324\u0325\u0326\u0329\u032A\u032B\u032C\u032D";
  for (const std::u16string_view text : std::initializer_list<std::u16string_view>{
           u"gypsy|", u"ÉÂÇ jour", u"[mɛzɔ̃]", u"Щётка, йод", u"1", u"é´l|", stacked}) {
    EXPECT_TRUE(font.EndsInside(text, points, cell, clearance, &device)) << ToQ(text).toStdString();
  }
  // A little less room below: the marks under the letter reach past the edge where the line
  // and the descenders of an ordinary word still end above it.
  const QSize lower(900, 46);
  EXPECT_TRUE(font.EndsInside(u"gypsy", points, lower, 0, &device));
  EXPECT_FALSE(font.EndsInside(stacked, points, lower, 0, &device));
  EXPECT_FALSE(font.EndsInside(stacked, points, lower, 0, &device)) << "asked again";
  // Rows so low that the marks over the line would reach below them.
  EXPECT_FALSE(font.EndsInside(u"a", FittedPointSize(900, 6, 1, 1, kFullSize), QSize(900, 6),
                               marks::MarkReach(QRect(0, 0, 900, 6)), &device));
}

// ---- the same pixels ----

// A view that shows its composed scene, for the pictures drawn cell by cell below.
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

// The back buffer as a repaint draws it when every cell is drawn with its own fill: the scene,
// then the picture of the view's current entry.
template <typename View = CConspect1View>
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
  return {.gram = u"f",
          .number = u"s",
          .key = std::move(key),
          .translations = std::move(translations),
          .recording = test::ShortMp3(),
          .info1 = u"[mɛzɔ̃]",
          .info2 = u"mai-son",
          .info3 = u"la maison"};
}

TEST(SamePixels, TypingNavigatingAndSwitchingOverTheKeptFills) {
  test::ViewHarness h(MakeWithScene<CConspect1View>);
  ASSERT_TRUE(h.Open({Row(u"maison", {u"дом", u"жилище", u"здание"}), Row(u"ma", {u"моя"}),
                      Row(u"gypsy", {u"1", u"2", u"3", u"4", u"5"})}));
  EXPECT_EQ(h.Frame(), DrawnCellByCell(h));
  h.Keys({'M', 'A'});
  EXPECT_EQ(h.Frame(), DrawnCellByCell(h)) << "typed right";
  h.Key('X');
  EXPECT_EQ(h.Frame(), DrawnCellByCell(h)) << "a wrong letter boxed";
  h.Key(vk::kDown);
  h.Keys({'M', 'A'});
  EXPECT_EQ(h.Frame(), DrawnCellByCell(h)) << "another entry typed through";
  h.Key(vk::kDown);
  EXPECT_EQ(h.Frame(), DrawnCellByCell(h)) << "five translations";
  h.View().ToggleHeader();
  EXPECT_EQ(h.Frame(), DrawnCellByCell(h)) << "no header";
  h.View().ToggleTranslations();
  EXPECT_EQ(h.Frame(), DrawnCellByCell(h)) << "no translations";
  h.View().ToggleHeader();
  h.View().ToggleTranslations();
  h.Key(vk::kHome);
  EXPECT_EQ(h.Frame(), DrawnCellByCell(h)) << "back at the first entry";
}

TEST(SamePixels, MarksBelowLettersOtherSizesAndRowsTooLowForTheirMarks) {
  test::ViewHarness h(MakeWithScene<CConspect1View>);
  test::LessonRow row = Row(u"g\u0317\u0316\u0318\u0319\u031C\u031D\u031E\u031F\u0320\u0324"
                            u"\u0325\u0326\u0329\u032A\u032B\u032C\u032D",
                            {u"дом"});
  ASSERT_TRUE(h.Open({row, Row(u"maison", {u"дом", u"жилище"})}));
  EXPECT_EQ(h.Frame(), DrawnCellByCell(h));
  h.Key(vk::kDown);
  EXPECT_EQ(h.Frame(), DrawnCellByCell(h));
  // Rows of 6 pixels are drawn cell by cell, each with its fill.
  for (const QSize size : {QSize(400, 100), QSize(500, 75), QSize(1000, 600)}) {
    h.View().resize(size);  // not shown: the resize event would wait for that
    h.View().Repaint();
    ASSERT_EQ(h.Frame().size(), size);
    EXPECT_EQ(h.Frame(), DrawnCellByCell(h)) << size.height();
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
  // A refusal repaints with the right answer highlighted for that one repaint.
  h.View().m_showTrueAnswer = 1;
  h.View().Repaint();
  const QImage highlighted = h.Frame();
  EXPECT_NE(highlighted, asked);
  EXPECT_EQ(highlighted, DrawnCellByCell<CExam1View>(h));
  h.View().m_showTrueAnswer = 0;
  h.View().Repaint();
  EXPECT_EQ(h.Frame(), DrawnCellByCell<CExam1View>(h));
}

}  // namespace
}  // namespace verbaro
