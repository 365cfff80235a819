// The reversed lesson of the "-2" views: each translation of one grammatical kind becomes an
// entry whose answers are the foreign words sharing it, with all their recordings.
#include <algorithm>
#include <iterator>
#include <utility>

#include "data/LessonState.h"
#include "data/LogText.h"
#include "data/DiagnosticLog.h"

namespace verbaro {

namespace {

constexpr std::u16string_view kLeftOutGram = u"~~";

// One translation of one direct record, under its extended key (translation and grammar),
// which is kept in the keys' shared text (ReversedKeys).
struct ReversedSource {
  std::u16string_view key;
  size_t record;
  size_t answer;
};

// The extended keys of every translation, written one after another into one text, so that
// making and sorting them allocates nothing per translation.
class ReversedKeys {
 public:
  explicit ReversedKeys(const std::vector<WordsData>& records) {
    size_t units = 0;
    for (const WordsData& record : records) {
      if (record.wsFrGram == kLeftOutGram) continue;
      const size_t tail = kSeparator.size() + record.wsFrGram.size() + 2;  // ", " gram ",s"
      for (const std::u16string& translation : record.vwsAltWords) units += translation.size() + tail;
    }
    m_text.reserve(units);  // the views below stay valid: the text never grows past this
  }

  std::u16string_view Add(const std::u16string& translation, const WordsData& record) {
    const size_t start = m_text.size();
    m_text.append(translation).append(kSeparator).append(record.wsFrGram);
    m_text.append(NumberSuffix(record.wsFrNumber));
    return std::u16string_view(m_text).substr(start);
  }

 private:
  static constexpr std::u16string_view kSeparator = u", ";
  std::u16string m_text;
};

// The first key of a run of equal keys, and how many direct records share it.
struct ReversedGroup {
  size_t first;
  size_t count;
};

// Appends `from` to `into`; moved instead of copied when this is the last use of `from`.
template <typename List>
void Append(List& into, List& from, bool lastUse) {
  if (lastUse && into.empty()) {
    into = std::move(from);
  } else if (lastUse) {
    into.insert(into.end(), std::make_move_iterator(from.begin()),
                std::make_move_iterator(from.end()));
  } else {
    into.insert(into.end(), from.begin(), from.end());
  }
}

// Builds the reversed entries out of the direct lesson, which is dropped right afterwards: each
// translation is moved into the entry it heads, and a direct record's foreign word and
// recordings are moved into the last entry that takes them (copied into the others).
class ReversedRecordBuilder {
 public:
  ReversedRecordBuilder(std::vector<WordsData>& direct, const std::vector<ReversedSource>& sources)
      : m_direct(direct), m_sources(sources), m_usesLeft(direct.size(), 0) {
    for (const ReversedSource& source : sources) ++m_usesLeft[source.record];
  }

  // Key, grammar and number are those of the first row that made the entry; every row sharing
  // the key adds its foreign word and its recordings, in row order.
  WordsData Build(ReversedGroup group) {
    const ReversedSource& first = m_sources[group.first];
    WordsData& head = m_direct[first.record];
    WordsData reversed;
    reversed.wsFrGram = head.wsFrGram;
    reversed.wsFrNumber = head.wsFrNumber;
    reversed.wsKeyWord = std::move(head.vwsAltWords[first.answer]);
    if (group.count > 1) ReserveForGroup(reversed, group);
    for (size_t s = group.first; s < group.first + group.count; ++s) {
      const size_t record = m_sources[s].record;
      WordsData& source = m_direct[record];
      const bool lastUse = --m_usesLeft[record] == 0;
      Append(reversed.vpMp3Word, source.vpMp3Word, lastUse);
      Append(reversed.nvMp3WordSize, source.nvMp3WordSize, lastUse);
      reversed.vwsAltWords.push_back(lastUse ? std::move(source.wsKeyWord) : source.wsKeyWord);
    }
    reversed.vnWordErrors.assign(group.count, 0);
    return reversed;
  }

 private:
  void ReserveForGroup(WordsData& reversed, ReversedGroup group) const {
    size_t recordings = 0;
    for (size_t s = group.first; s < group.first + group.count; ++s) {
      recordings += m_direct[m_sources[s].record].vpMp3Word.size();
    }
    reversed.vpMp3Word.reserve(recordings);
    reversed.nvMp3WordSize.reserve(recordings);
    reversed.vwsAltWords.reserve(group.count);
  }

  std::vector<WordsData>& m_direct;
  const std::vector<ReversedSource>& m_sources;
  std::vector<size_t> m_usesLeft;  // the reversed entries each direct record still goes into
};

// Runs of equal keys in sorted sources.
std::vector<ReversedGroup> GroupEqualKeys(const std::vector<ReversedSource>& sources) {
  std::vector<ReversedGroup> groups;
  for (size_t s = 0; s < sources.size(); ++s) {
    if (s > 0 && sources[s].key == sources[s - 1].key) {
      ++groups.back().count;
    } else {
      groups.push_back({s, 1});
    }
  }
  return groups;
}

}  // namespace

bool LessonState::BuildContraVersaData() {
  if (m_vWordsData.empty()) {
    if (m_pMainLog) m_pMainLog->Line(u"Отсутствуют исходные данные : m_vWordsData.size() == 0");
    return false;
  }
  if (m_pMainLog) m_pMainLog->Line(u"\nПостроение отображения mapWordToWD из вектора m_vWordsData:");

  size_t translations = 0;
  for (const WordsData& record : m_vWordsData) translations += record.vwsAltWords.size();
  ReversedKeys keys(m_vWordsData);
  std::vector<ReversedSource> sources;
  sources.reserve(translations);
  for (size_t n = 0; n < m_vWordsData.size(); ++n) {
    const WordsData& record = m_vWordsData[n];
    if (record.wsFrGram == kLeftOutGram) continue;
    for (size_t i = 0; i < record.vwsAltWords.size(); ++i) {
      const std::u16string_view key = keys.Add(record.vwsAltWords[i], record);
      if (m_pMainLog) {
        m_pMainLog->Line(n, u".", i, u". wsExtAltWord = \"", key, u"\"; wsFrWord = \"",
                         record.wsKeyWord, u"\"");
      }
      sources.push_back({key, n, i});
    }
  }
  // Ordered by UTF-16 code units, so the reversed lesson comes out sorted by translation; the
  // sort is stable, so the rows sharing a key stay in row order.
  std::stable_sort(sources.begin(), sources.end(),
                   [](const ReversedSource& a, const ReversedSource& b) { return a.key < b.key; });
  const std::vector<ReversedGroup> groups = GroupEqualKeys(sources);

  std::vector<WordsData> reversed;
  reversed.reserve(groups.size());
  ReversedRecordBuilder builder(m_vWordsData, sources);
  for (const ReversedGroup& group : groups) reversed.push_back(builder.Build(group));

  if (IsLogging()) {
    DiagnosticLog& log = *m_pMainLog;
    log.Line(u"\n*** Test для отображения mapWordToWD\n*");
    log.Line(u"mapWordToWD.size() = ", reversed.size(), u" элем.");
    for (size_t m = 0; m < reversed.size(); ++m) {
      log.Line(m, u". wsExtWord = \"", sources[groups[m].first].key, u"\" : ",
               JoinTexts(reversed[m].vwsAltWords), u"\"");
    }
    log.Line(u"*\n*** Test для отображения mapWordToWD\n");
  }

  // The direct lesson is no longer needed: everything the reversed one uses has been taken.
  StopSound();

  if (m_pMainLog) {
    m_pMainLog->Line(u"\n*** Test для перегруженного вектора m_vWordsData в режиме contra versa\n*");
  }
  // An entry with too many answers ends the reversal; the entries before it stay.
  const auto overfull = std::find_if(reversed.begin(), reversed.end(), [this](const WordsData& r) {
    return static_cast<int32_t>(r.vwsAltWords.size()) > m_nMaxAltWords;
  });
  const auto kept = static_cast<size_t>(overfull - reversed.begin());
  if (IsLogging()) {
    for (size_t m = 0; m < kept; ++m) {
      const WordsData& entry = reversed[m];
      const std::u16string sizes =
          entry.nvMp3WordSize.empty() ? u"0" : JoinSizes(entry.nvMp3WordSize);
      m_pMainLog->Line(m, u" : ", sizes, u" : wsExtAltWord = \"", sources[groups[m].first].key,
                       u"\" : wsAltWord = \"", entry.wsKeyWord, u"\" : ",
                       JoinTexts(entry.vwsAltWords), u"\"");
    }
  }
  reversed.erase(reversed.begin() + static_cast<std::ptrdiff_t>(kept), reversed.end());
  m_vWordsData = std::move(reversed);
  if (kept < groups.size()) {
    ShowInfo(u"nCountFrWords > m_nMaxAltWords");
    return false;
  }
  if (m_pMainLog) {
    m_pMainLog->Line(u"*\n*** Test для перегруженного вектора m_vWordsData в режиме contra versa");
  }

  if (!CreateUserFilters() || !BuildFilterMenu()) return false;
  SelectUserFilter(kFirstFilterCommand, u"");
  return true;
}

}  // namespace verbaro
