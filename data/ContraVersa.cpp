// The reversed lesson of the "-2" views: each translation of one grammatical kind becomes an
// entry whose answers are the foreign words sharing it, with all their recordings.
#include <map>

#include "data/LessonState.h"
#include "data/LogText.h"
#include "platform/DiagnosticLog.h"

namespace verbaro {

namespace {

constexpr std::u16string_view kLeftOutGram = u"~~";

WordsData NewReversedRecord(const WordsData& source, const std::u16string& translation) {
  WordsData reversed;
  reversed.vpMp3Word = source.vpMp3Word;
  reversed.nvMp3WordSize = source.nvMp3WordSize;
  reversed.vwsAltWords = {source.wsKeyWord};
  reversed.vnWordErrors = {0};
  reversed.wsFrGram = source.wsFrGram;
  reversed.wsFrNumber = source.wsFrNumber;
  reversed.wsKeyWord = translation;
  return reversed;
}

// Key, grammar and number stay those of the first row that made the entry.
void MergeIntoReversedRecord(WordsData& reversed, const WordsData& source) {
  reversed.vpMp3Word.insert(reversed.vpMp3Word.end(), source.vpMp3Word.begin(),
                            source.vpMp3Word.end());
  reversed.nvMp3WordSize.insert(reversed.nvMp3WordSize.end(), source.nvMp3WordSize.begin(),
                                source.nvMp3WordSize.end());
  reversed.vwsAltWords.push_back(source.wsKeyWord);
  reversed.vnWordErrors.push_back(0);
}

}  // namespace

bool CLessonState::BuildContraVersaData() {
  if (m_vWordsData.empty()) {
    if (m_pMainLog) m_pMainLog->Line(u"Отсутствуют исходные данные : m_vWordsData.size() == 0");
    return false;
  }
  if (m_pMainLog) m_pMainLog->Line(u"\nПостроение отображения mapWordToWD из вектора m_vWordsData:");

  // Ordered by UTF-16 code units, so the reversed lesson comes out sorted by translation.
  std::map<std::u16string, WordsData> mapWordToWD;
  for (size_t n = 0; n < m_vWordsData.size(); ++n) {
    const WordsData& record = m_vWordsData[n];
    if (record.wsFrGram == kLeftOutGram) continue;
    for (size_t i = 0; i < record.vwsAltWords.size(); ++i) {
      const std::u16string& translation = record.vwsAltWords[i];
      std::u16string key = ExtendedKey(translation, record);
      if (m_pMainLog) {
        m_pMainLog->Line(n, u".", i, u". wsExtAltWord = \"", key, u"\"; wsFrWord = \"",
                         record.wsKeyWord, u"\"");
      }
      const auto found = mapWordToWD.find(key);
      if (found == mapWordToWD.end()) {
        mapWordToWD.emplace(std::move(key), NewReversedRecord(record, translation));
      } else {
        MergeIntoReversedRecord(found->second, record);
      }
    }
  }

  if (IsLogging()) {
    DiagnosticLog& log = *m_pMainLog;
    log.Line(u"\n*** Test для отображения mapWordToWD\n*");
    log.Line(u"mapWordToWD.size() = ", mapWordToWD.size(), u" элем.");
    int m = 0;
    for (const auto& [key, reversed] : mapWordToWD) {
      log.Line(m++, u". wsExtWord = \"", key, u"\" : ", JoinTexts(reversed.vwsAltWords), u"\"");
    }
    log.Line(u"*\n*** Test для отображения mapWordToWD\n");
  }

  // The direct lesson is no longer needed: everything the reversed one uses is in the map.
  StopSound();

  if (m_pMainLog) {
    m_pMainLog->Line(u"\n*** Test для перегруженного вектора m_vWordsData в режиме contra versa\n*");
  }
  int m = 0;
  for (auto& [key, reversed] : mapWordToWD) {
    if (static_cast<int32_t>(reversed.vwsAltWords.size()) > m_nMaxAltWords) {
      ShowInfo(u"nCountFrWords > m_nMaxAltWords");
      return false;
    }
    if (IsLogging()) {
      const std::u16string sizes =
          reversed.nvMp3WordSize.empty() ? u"0" : JoinSizes(reversed.nvMp3WordSize);
      m_pMainLog->Line(m, u" : ", sizes, u" : wsExtAltWord = \"", key, u"\" : wsAltWord = \"",
                       reversed.wsKeyWord, u"\" : ", JoinTexts(reversed.vwsAltWords), u"\"");
    }
    m_vWordsData.push_back(std::move(reversed));
    ++m;
  }
  if (m_pMainLog) {
    m_pMainLog->Line(u"*\n*** Test для перегруженного вектора m_vWordsData в режиме contra versa");
  }

  if (!CreateUserFilters() || !BuildFilterMenu()) return false;
  SelectUserFilter(kFirstFilterCommand, u"");
  return true;
}

}  // namespace verbaro
