// Typing in the Conspect views checked against sources that do not come from the program's own
// key tables: the accent table of the user's manual, the physical rows of the standard Russian
// keyboard, and the rules of the typing line (exact comparison, Space, pages of ten entries).
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QRegularExpression>
#include <map>
#include <optional>

#include "platform/QtText.h"
#include "support/ViewsTestSupport.h"
#include "views/Conspect1View.h"
#include "views/Conspect2View.h"
#include "views/EntryGrid.h"
#include "views/VirtualKeys.h"

namespace verbaro {
namespace {

using test::LessonRow;
using test::ViewHarness;

const QRect kTypingRow(50, 250, 900, 50);

LessonRow Entry(std::u16string key) {
  return {u"adj", u"", std::move(key), {u"перевод"}, test::ShortMp3()};
}

// ---- the exact comparison ----

TEST(TypingLine, ALetterThatDiffersOnlyInCaseIsWrong) {
  ViewHarness h(ViewHarness::Make<CConspect1View>);
  ASSERT_TRUE(h.Open({Entry(u"Paris"), Entry(u"b")}));
  h.Keys({'P', 'A', 'R', 'I', 'S'});
  EXPECT_EQ(h.Typed(), u"paris");
  EXPECT_FALSE(h.View().m_typedMatches);
  EXPECT_FALSE(test::InkBox(h.Frame(), grid::kTypingError, kTypingRow).isEmpty());
  EXPECT_EQ(h.fake.errorSignal.plays, 5);

  for (int i = 0; i < 5; ++i) h.Key(vk::kBack);
  h.fake.keyboard.shift = true;  // Shift held down through the P
  h.Keys({vk::kShift, 'P'});
  h.fake.keyboard.shift = false;
  h.Keys({'A', 'R', 'I', 'S'});
  EXPECT_EQ(h.Typed(), u"Paris");
  EXPECT_TRUE(h.View().m_typedMatches);
  EXPECT_TRUE(test::InkBox(h.Frame(), grid::kTypingError, kTypingRow).isEmpty());
}

TEST(TypingLine, SpaceOnAWrongLineLongerThanTheWordIsTypedAndDoesNotMoveOn) {
  ViewHarness h(ViewHarness::Make<CConspect1View>);
  ASSERT_TRUE(h.Open({Entry(u"ab"), Entry(u"c")}));
  h.Keys({'A', 'B', 'X', vk::kSpace});
  EXPECT_EQ(h.Typed(), u"abx ");
  EXPECT_EQ(h.View().m_nUserFilterIndex, 0);
  EXPECT_FALSE(h.View().m_typedMatches);
  h.Key(vk::kSpace);
  EXPECT_EQ(h.Typed(), u"abx  ");
  EXPECT_EQ(h.View().m_nUserFilterIndex, 0);
}

TEST(TypingLine, PageDownAndPageUpMoveByExactlyTenEntries) {
  ViewHarness h(ViewHarness::Make<CConspect1View>);
  ASSERT_TRUE(h.Open(test::NumberedRows(25)));
  const auto position = [&h] { return h.View().m_nUserFilterIndex; };
  const std::pair<int, int32_t> steps[] = {
      {vk::kNext, 10}, {vk::kNext, 20}, {vk::kNext, 24}, {vk::kPrior, 14}, {vk::kPrior, 4},
      {vk::kPrior, 0}, {vk::kDown, 1},  {vk::kNext, 11}, {vk::kNext, 21},  {vk::kPrior, 11},
  };
  for (const auto& [key, expected] : steps) {
    h.Key(key);
    EXPECT_EQ(position(), expected) << (key == vk::kNext ? "PageDown" : "PageUp or Down");
  }
}

// ---- the accent table of the manual ----

// The keys that give an accent sign on a US keyboard, and whether that needs Shift.
struct UsKey {
  int virtualKey;
  bool shift;
};
const std::map<QChar, UsKey>& UsKeyboard() {
  static const std::map<QChar, UsKey> keys = {
      {u'`', {vk::kOem3, false}},
      {u'~', {vk::kOem3, true}},
      {u'\'', {vk::kOem7, false}},
      {u',', {vk::kOemComma, false}},
      {u'^', {'6', true}},
      {u':', {vk::kOem1, true}},
      {u'@', {'2', true}},
      {u'/', {vk::kOem2, false}},
      {u'&', {'7', true}},
      {u'!', {'1', true}},
      {u'?', {vk::kOem2, true}},
      // the same keys without Shift, as the manual names them
      {u'6', {'6', false}},
      {u';', {vk::kOem1, false}},
      {u'2', {'2', false}},
      {u'7', {'7', false}},
      {u'1', {'1', false}},
  };
  return keys;
}

// One letter of the table and the keys the manual says give it.
struct TableLetter {
  QChar letter;
  QString chord;  // as the manual writes it, for messages
  std::vector<int> keys;
};

// The letter key under an accented letter: its Unicode base letter; the letters with no
// decomposition are named by the manual's hint after the row, or sit on the key of the letter
// they are drawn from (eth on D, the slashed o on O).
QChar BaseLetter(QChar letter, const QString& hint, int indexInRow) {
  const QString decomposed = QString(letter).normalized(QString::NormalizationForm_D);
  if (decomposed.size() > 1) return decomposed.at(0);
  if (!hint.isEmpty()) {
    const QStringList hinted = hint.split(QLatin1Char(','));
    return hinted.at(indexInRow % hinted.size()).trimmed().at(0);
  }
  static const std::map<QChar, QChar> drawnFrom = {
      {u'ð', u'd'}, {u'Ð', u'D'}, {u'ø', u'o'}, {u'Ø', u'O'}};
  const auto it = drawnFrom.find(letter);
  return it == drawnFrom.end() ? QChar() : it->second;
}

// A chord of the manual, "Ctrl+X" or "Ctrl+Shift+X (sign)": the key named as on a US keyboard,
// with the sign it gives under Shift in brackets. The bracketed sign must be what that key gives
// with Shift, so a wrongly named key fails here rather than only confusing a learner.
std::optional<std::vector<int>> ChordKeys(const QString& chord) {
  static const QRegularExpression pattern(QStringLiteral("^Ctrl\\+(Shift\\+)?(.)(?: \\((.)\\))?$"));
  const QRegularExpressionMatch match = pattern.match(chord);
  if (!match.hasMatch()) return std::nullopt;
  const auto key = UsKeyboard().find(match.captured(2).at(0));
  if (key == UsKeyboard().end() || key->second.shift) return std::nullopt;
  const bool shift = !match.captured(1).isEmpty();
  if (shift != !match.captured(3).isEmpty()) return std::nullopt;
  std::vector<int> keys{vk::kControl};
  if (shift) {
    const auto sign = UsKeyboard().find(match.captured(3).at(0));
    if (sign == UsKeyboard().end() || !sign->second.shift ||
        sign->second.virtualKey != key->second.virtualKey) {
      return std::nullopt;
    }
    keys.push_back(vk::kShift);
  }
  keys.push_back(key->second.virtualKey);
  return keys;
}

// Reads the manual's accent table: each line "letters<TAB>chord → буква" (or "→ a, o, s", the
// letters to press in order) or the line of the inverted marks "¡, ¿<TAB>chord, chord".
std::vector<TableLetter> AccentTableOfTheManual() {
  QFile file(QStringLiteral(":/TEXT/help"));
  if (!file.open(QIODevice::ReadOnly)) return {};
  const QString help = QString::fromUtf8(file.readAll()).remove(QLatin1Char('\r'));
  const qsizetype header = help.indexOf(QStringLiteral("Вставляемая буква\t"));
  if (header < 0) return {};
  const QStringList lines = help.mid(header).split(QLatin1Char('\n')).mid(1);
  const QString arrow = QStringLiteral(" → ");
  std::vector<TableLetter> table;
  for (const QString& line : lines) {
    const QStringList columns = line.split(QLatin1Char('\t'));
    if (columns.size() != 2) break;  // the table ends with the first line without a tab
    const QStringList letters = columns[0].split(QStringLiteral(", "));
    if (const qsizetype at = columns[1].indexOf(arrow); at > 0) {
      const std::optional<std::vector<int>> accent = ChordKeys(columns[1].left(at));
      if (!accent) return {};
      const QString then = columns[1].mid(at + arrow.size());
      const QString hint = then == QStringLiteral("буква") ? QString() : then;
      for (int i = 0; i < letters.size(); ++i) {
        const QChar letter = letters[i].at(0);
        const QChar base = BaseLetter(letter, hint, i);
        std::vector<int> keys = *accent;
        if (letter.isUpper()) keys.push_back(vk::kShift);
        keys.push_back(base.toUpper().unicode());
        table.push_back({letter, columns[1], keys});
      }
      continue;
    }
    // "Ctrl+Shift+1 (!), Ctrl+Shift+/ (?)": one chord per letter.
    const QStringList chords = columns[1].split(QStringLiteral(", "));
    for (int i = 0; i < letters.size() && i < chords.size(); ++i) {
      const std::optional<std::vector<int>> keys = ChordKeys(chords[i]);
      if (!keys) return {};
      table.push_back({letters[i].at(0), chords[i], *keys});
    }
  }
  return table;
}

TEST(AccentTable, EveryLetterOfTheManualsTableComposesFromTheKeysItNames) {
  const std::vector<TableLetter> table = AccentTableOfTheManual();
  ASSERT_EQ(table.size(), 66u) << "the manual's table was not read whole";
  std::u16string all;
  for (const TableLetter& entry : table) all += char16_t(entry.letter.unicode());

  ViewHarness h(ViewHarness::Make<CConspect1View>);
  ASSERT_TRUE(h.Open({Entry(all)}));
  for (const TableLetter& entry : table) {
    for (int key : entry.keys) h.Key(key);
    ASSERT_FALSE(h.Typed().empty());
    EXPECT_EQ(QChar(h.Typed().back()), entry.letter)
        << QString(entry.letter).toStdString() << " by " << entry.chord.toStdString();
  }
  EXPECT_EQ(h.Typed(), all);
  EXPECT_TRUE(h.View().m_typedMatches);
}

// ---- the Russian keyboard ----

// The physical keys of the three letter rows, as X11 key codes (Linux input codes + 8): from
// the key right of Tab, of CapsLock and of the left Shift.
struct PhysicalRow {
  quint32 firstKeycode;
  std::u16string letters;  // the standard Russian layout, printed on the keys
};
const PhysicalRow kRussianRows[] = {
    {24, u"йцукенгшщзхъ"},
    {38, u"фывапролджэ"},
    {52, u"ячсмитьбю"},
};

TEST(RussianKeyboard, TypingThePhysicalRowsGivesTheirLetters) {
  std::vector<LessonRow> rows;
  for (const PhysicalRow& row : kRussianRows) {
    rows.push_back(
        {u"m", u"s", u"mot" + row.letters.substr(0, 1), {row.letters}, test::ShortMp3()});
  }
  for (const bool shift : {false, true}) {
    SCOPED_TRACE(shift ? "with Shift" : "without Shift");
    ViewHarness h(ViewHarness::Make<CConspect2View>);
    std::vector<LessonRow> lesson = rows;
    if (shift) {
      for (LessonRow& row : lesson) {
        row.translations[0] = FromQ(ToQ(row.translations[0]).toUpper());
      }
    }
    ASSERT_TRUE(h.Open(lesson));
    h.fake.keyboard.shift = shift;
    for (const PhysicalRow& row : kRussianRows) {
      const std::u16string expected = shift ? FromQ(ToQ(row.letters).toUpper()) : row.letters;
      ASSERT_EQ(h.View().m_wsKeyWord, expected);
      for (quint32 i = 0; i < row.letters.size(); ++i) {
        // A US layout on the X server: what the key is called there does not matter.
        QKeyEvent event(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, row.firstKeycode + i, 0,
                        0);
        QApplication::sendEvent(&h.View(), &event);
      }
      EXPECT_EQ(h.Typed(), expected);
      EXPECT_TRUE(h.View().m_typedMatches);
      h.Key(vk::kTab);
    }
  }
}

}  // namespace
}  // namespace verbaro
