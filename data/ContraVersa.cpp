// The reversed lesson of the "-2" views: each translation of one grammatical kind becomes an
// entry whose answers are the foreign words sharing it, with all their recordings.
#include <algorithm>
#include <iterator>
#include <utility>

#include "data/DiagnosticLog.h"
#include "data/ExtendedKeys.h"
#include "data/GrammarCodes.h"
#include "data/LessonState.h"
#include "data/LogText.h"
#include "data/ReversedRecords.h"

namespace verbaro {

bool LessonState::BuildContraVersaData() {
  if (m_vWordsData.empty()) {
    if (m_mainLog) m_mainLog->Line(u"Отсутствуют исходные данные : m_vWordsData.size() == 0");
    return false;
  }
  if (m_mainLog) m_mainLog->Line(u"\nПостроение отображения mapWordToWD из вектора m_vWordsData:");

  ExtendedKeys keys;
  size_t translations = 0, units = 0;
  for (const WordsData& record : m_vWordsData) {
    if (IsLeftOutGram(record.wsFrGram)) continue;
    translations += record.vwsAltWords.size();
    for (const std::u16string& translation : record.vwsAltWords) {
      units += translation.size() + record.wsFrGram.size() + 4;  // ", " and ",s" at most
    }
  }
  keys.Reserve(translations, units);
  for (size_t n = 0; n < m_vWordsData.size(); ++n) {
    const WordsData& record = m_vWordsData[n];
    if (IsLeftOutGram(record.wsFrGram)) continue;
    for (size_t i = 0; i < record.vwsAltWords.size(); ++i) {
      keys.Add(record.vwsAltWords[i], record, n, i);
      if (m_mainLog) {
        m_mainLog->Line(n, u".", i, u". wsExtAltWord = \"", keys.Key(keys.size() - 1),
                        u"\"; wsFrWord = \"", record.wsKeyWord, u"\"");
      }
    }
  }
  // Ordered by UTF-16 code units, so the reversed lesson comes out sorted by translation; the
  // sort is stable, so the rows sharing a key stay in row order.
  keys.Sort();
  const std::vector<ExtendedKeys::Run> groups = keys.Runs();
  std::vector<WordsData> reversed = ReverseRows(m_vWordsData, keys, groups);

  if (IsLogging()) {
    DiagnosticLog& log = *m_mainLog;
    log.Line(u"\n*** Test для отображения mapWordToWD\n*");
    log.Line(u"mapWordToWD.size() = ", reversed.size(), u" элем.");
    for (size_t m = 0; m < reversed.size(); ++m) {
      log.Line(m, u". wsExtWord = \"", keys.Key(groups[m].first), u"\" : ",
               JoinTexts(reversed[m].vwsAltWords), u"\"");
    }
    log.Line(u"*\n*** Test для отображения mapWordToWD\n");
  }

  // The direct lesson is no longer needed: everything the reversed one uses has been taken.
  StopSound();

  if (m_mainLog) {
    m_mainLog->Line(u"\n*** Test для перегруженного вектора m_vWordsData в режиме contra versa\n*");
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
      m_mainLog->Line(m, u" : ", sizes, u" : wsExtAltWord = \"", keys.Key(groups[m].first),
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
  if (m_mainLog) {
    m_mainLog->Line(u"*\n*** Test для перегруженного вектора m_vWordsData в режиме contra versa");
  }

  if (!CreateUserFilters() || !BuildFilterMenu()) return false;
  SelectUserFilter(kFirstFilterCommand, u"");
  return true;
}

}  // namespace verbaro
