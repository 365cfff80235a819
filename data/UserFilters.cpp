// The grammatical filters of the loaded lesson: classifying the records, the Filters menu items
// and the choice of the working filter.
#include <algorithm>
#include <iterator>
#include <map>
#include <utility>

#include "data/DiagnosticLog.h"
#include "data/FilterKinds.h"
#include "data/LessonState.h"
#include "data/LogText.h"
#include "data/Text.h"

namespace verbaro {

namespace {

void LogRecordLine(DiagnosticLog& log, int32_t index, const WordsData& record) {
  log.Line(index, u". ", JoinSizes(record.nvMp3WordSize), u" : wsKeyWord = \"", record.wsKeyWord,
           u"\" : \"", JoinTexts(record.vwsAltWords), u"\"");
}

// The entries of a map keyed by filter name or grammar key, found by the constant the
// classification returned: a lesson fills at most a few dozen of them, so a short scan by
// address replaces a string and a map lookup per record.
template <typename Value>
class EntryByName {
 public:
  explicit EntryByName(std::map<std::u16string, Value>& map) : m_map(map) {}

  Value& operator[](std::u16string_view name) {
    for (const auto& [seen, value] : m_seen) {
      if (seen.data() == name.data() && seen.size() == name.size()) return *value;
    }
    Value& value = m_map[std::u16string(name)];  // map entries stay where they are
    m_seen.emplace_back(name, &value);
    return value;
  }

 private:
  std::map<std::u16string, Value>& m_map;
  std::vector<std::pair<std::u16string_view, Value*>> m_seen;
};

}  // namespace

bool LessonState::CreateUserFilters() {
  if (m_vWordsData.empty()) {
    if (m_mainLog) m_mainLog->Line(u"Отсутствуют исходные данные : m_vWordsData.size() == 0");
    return false;
  }
  if (m_mainLog) {
    m_mainLog->Line(u"\nCWordsView::CreateUserFilters() :");
    m_mainLog->Line(u"m_vWordsData.size() = ", m_vWordsData.size(), u" элем.");
  }

  m_nTotalCountAltWords = 0;
  m_mapUserFilters.clear();
  m_mapExtGramKeysToMapIndToVWS.clear();

  // Each record goes into its filters as AddToUserFilter would put it, records in order.
  EntryByName filters(m_mapUserFilters);
  EntryByName answersByGramKey(m_mapExtGramKeysToMapIndToVWS);
  for (size_t i = 0; i < m_vWordsData.size(); ++i) {
    const WordsData& record = m_vWordsData[i];
    const auto index = static_cast<int32_t>(i);
    const FilterPlacements placements =
        ClassifyRecord(record.wsFrGram, record.wsFrNumber, m_bExamMode != 0);
    if (placements.empty()) continue;
    for (const FilterPlacement& placement : placements) {
      filters[placement.name].push_back(index);
      if (placement.gramKey.empty()) continue;
      answersByGramKey[placement.gramKey].push_back(index);  // indexes ascend
    }
    m_nTotalCountAltWords += static_cast<int32_t>(record.vwsAltWords.size());
    if (IsLogging()) LogRecordLine(*m_mainLog, index, record);
  }

  if (IsLogging()) {
    DiagnosticLog& log = *m_mainLog;
    log.Line(u"*** Тестирование пользовательских фильтров\n*");
    int n = 0;
    for (const auto& [name, indexes] : m_mapUserFilters) {
      log.Line(n++, u". ", name, u" : ", indexes.size(), u" элем.");
      for (const int32_t index : indexes) LogRecordLine(log, index, m_vWordsData[index]);
    }
    log.Line(u"*\n*** Тестирование пользовательских фильтров\n");

    log.Line(u"CWordsView::CreateUserFilters() из m_mapExtGramKeysToMapIndToVWS :");
    log.Line(u"*** Тестирование уникальных пользовательских фильтров\n*");
    n = 0;
    for (const auto& [gramKey, indexes] : m_mapExtGramKeysToMapIndToVWS) {
      log.Line(n++, u". ", gramKey, u" : ", indexes.size(), u" элем.");
      for (const int32_t index : indexes) {
        log.Line(index, u". wsKeyWord = \"", m_vWordsData[index].wsKeyWord, u"\" : \"",
                 JoinTexts(m_vWordsData[index].vwsAltWords), u"\"");
      }
    }
    log.Line(u"*\n*** Тестирование уникальных пользовательских фильтров\n");
  }
  return true;
}

void LessonState::AddToUserFilter(const std::u16string& name, int nIndex,
                                  const std::u16string& gramKey) {
  if (nIndex < 0 || static_cast<size_t>(nIndex) >= m_vWordsData.size()) return;
  m_mapUserFilters[name].push_back(nIndex);
  if (!gramKey.empty()) {
    // A record is in its category once, however often it is added.
    std::vector<int32_t>& indexes = m_mapExtGramKeysToMapIndToVWS[gramKey];
    const auto at = std::lower_bound(indexes.begin(), indexes.end(), nIndex);
    if (at == indexes.end() || *at != nIndex) indexes.insert(at, nIndex);
  }
}

std::vector<std::pair<int, std::u16string>> LessonState::FilterMenuItems() const {
  std::vector<std::pair<int, std::u16string>> items;
  if (m_mapUserFilters.empty()) {
    items.emplace_back(kFirstFilterCommand, std::u16string(kFilterAll));
    return items;
  }
  int id = kFirstFilterCommand;
  for (const auto& [name, indexes] : m_mapUserFilters) {
    items.emplace_back(id++, name + u" (" + ToU16(indexes.size()) + u")");
  }
  return items;
}

void LessonState::TakeFilterRecords(const std::vector<int32_t>& records) {
  m_vUserIndexes = records;
  // The Exam views show this as the number of answers still to give.
  m_nTotalCountAltWords = 0;
  for (const int32_t index : m_vUserIndexes) {
    if (index >= 0 && static_cast<size_t>(index) < m_vWordsData.size()) {
      m_nTotalCountAltWords += static_cast<int32_t>(m_vWordsData[index].vwsAltWords.size());
    }
  }
}

void LessonState::SelectUserFilter(int id, std::u16string_view modeText) {
  ClearTypingLine();
  std::u16string message = u"Выбран фильтр";
  std::u16string name;

  const int position = id - kFirstFilterCommand;
  if (id >= kFirstFilterCommand && static_cast<size_t>(position) < m_mapUserFilters.size()) {
    const auto filter = std::next(m_mapUserFilters.begin(), position);
    name = filter->first;
    m_nSelectedFilter = position;
    m_rightAnswers = 0;
    m_wrongAnswers = 0;
    m_hints = 0;
    TakeFilterRecords(filter->second);
  }

  if (!name.empty()) {
    message += u": \"" + name + u"\"";
  } else {
    message += u" по умолчанию";
  }
  message += u",\nв режиме:\n\"";
  message += modeText;
  message += u"\".";

  m_nUserFilterIndex = 0;
  m_nCurMp3Index = 0;
  if (!name.empty()) {
    Repaint();
  } else {
    message += u"\nТребуется загрузка данных!";
  }
  if (!modeText.empty()) ShowInfo(message);
}

}  // namespace verbaro
