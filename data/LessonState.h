#pragma once
// The lesson half of a study view: the loaded records, the grammatical filters, the current
// record and the counters, with the operations that read, classify, reverse and select them.
// It knows nothing of widgets: the view supplies messages and repaints through the hooks below,
// and passes the filters on to the frame's Filters menu, so all of this runs in plain tests.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "data/FilterKinds.h"
#include "data/LessonRowTexts.h"
#include "data/MessageKind.h"
#include "data/NoLetterMarks.h"
#include "data/WordsData.h"

struct sqlite3;
struct sqlite3_stmt;

namespace verbaro {

class DiagnosticLog;
class LessonRecordings;

class LessonState {
 public:
  LessonState() = default;
  virtual ~LessonState() = default;
  LessonState(const LessonState&) = delete;
  LessonState& operator=(const LessonState&) = delete;

  // ---- hooks supplied by the view ----
  // A modal box with one OK button owned by the view, captioned and drawn as its kind says.
  virtual void ShowMessage(MessageKind kind, std::u16string_view text) = 0;
  // Redraws the current entry (and sounds it unless suppressed).
  virtual void Repaint() = 0;
  // Shows this view's filters (FilterMenuItems) in the Filters menu; false when there is no menu.
  virtual bool BuildFilterMenu() = 0;
  // The view's mode name, such as "Модуль \"Конспект-1\"".
  virtual std::u16string GetModeName() const = 0;
  // Question building of the Exam views; the base has nothing to do.
  virtual bool SetUserExamData() { return true; }
  // Puts the records of a chosen filter into play (m_vUserIndexes) and counts their answers in
  // m_nTotalCountAltWords. The Exam views keep learnt answers learnt.
  virtual void TakeFilterRecords(const std::vector<int32_t>& records);
  // Stops the sound and clears the loaded lesson (the view first stops its device).
  virtual void StopSound();

  void SetLogStream(DiagnosticLog* log) { m_mainLog = log; }
  DiagnosticLog* Log() const { return m_mainLog; }

  // ---- lesson file ----
  // SQLite result code, 0 with an open connection in *db on success.
  int OpenDatabase(const std::u16string& path, sqlite3** db);
  bool LoadWordsData();
  // Appends the record of the statement's current row (a row of the text query) with a reference
  // to the recording of rowid nRow, probed through `recordings`; false when it cannot be read.
  bool ReadWordsRow(const std::shared_ptr<LessonRecordings>& recordings, int nRow,
                    sqlite3_stmt* stmt, lesson::RowReading reading);

  // ---- filters ----
  bool CreateUserFilters();
  void AddToUserFilter(const std::u16string& name, int nIndex, const std::u16string& gramKey);
  // Makes filter (id - 800) current; modeText empty for the silent selection after a load.
  void SelectUserFilter(int id, std::u16string_view modeText);
  // The Filters menu items (command id, text "name (count)") in filter order; the single item
  // "&0 - Все слова и фразы" with id 800 while there are no filters.
  std::vector<std::pair<int, std::u16string>> FilterMenuItems() const;

  // ---- current record ----
  // Makes the record at the position current and picks its current recording, the one a repaint
  // sounds; false when the record cannot be shown or sounded.
  bool SetUserData();
  // After a repaint has picked its recording: the "-2" views take the record's next recording
  // for the next repaint, the first again after the last.
  void AdvanceRecording();
  // Copies the record's recordings and texts into the current-record members; its answers too
  // unless the caller supplies its own (the exam views show drawn answer cells instead).
  void TakeCurrentRecord(const WordsData& record, bool withAnswers);

  // ---- reversed ("contra versa") lesson of the "-2" views ----
  bool BuildContraVersaData();

  // ---- typing check of the Conspect views ----
  // Copies the key text into the expected text and recomputes lengths and the match flag.
  void CheckTypedText();
  void ClearTypedText();

  // ---- members ----
  DiagnosticLog* m_mainLog = nullptr;
  std::u16string m_szDataFile;

  std::vector<WordsData> m_vWordsData;
  std::map<std::u16string, std::vector<int32_t>> m_mapUserFilters;
  // Grammar key -> the records of that fine category, indexes ascending. Their answers are the
  // records' own (m_vWordsData[index].vwsAltWords), which stay as they are while the filters do.
  std::map<std::u16string, std::vector<int32_t>> m_mapExtGramKeysToMapIndToVWS;
  std::vector<int32_t> m_vUserIndexes;
  int32_t m_nSelectedFilter = 0;
  int32_t m_nUserFilterIndex = 0;
  int32_t m_nCurMp3Index = 0;

  // current record (copies, replaced by each successful SetUserData)
  std::vector<Mp3Recording> m_vpMp3Word;
  std::vector<int32_t> m_nvMp3WordSize;
  Mp3Recording m_pMp3Word;
  int32_t m_nMp3WordSize = 0;
  std::u16string m_wsKeyWord;
  std::u16string m_wsFrGram;
  std::u16string m_wsFrNumber;
  std::u16string m_wsInfo1;
  std::u16string m_wsInfo2;
  std::u16string m_wsInfo3;
  std::vector<std::u16string> m_vwsAltWords;

  // typing line of the Conspect views
  std::u16string m_expectedText;
  std::u16string m_typedText;
  NoLetterMarks m_noLetterMarks;  // what the marks of the typed text show
  int32_t m_expectedLength = 0;
  int32_t m_typedLength = 0;
  int32_t m_typedMatches = 1;

  // switches and mode flags (the flags are set when the view's window is created)
  // The run switch of the play-through: the end-of-sound tick goes on only while it is set.
  // Space in the Video views, the end of the filter and hiding the view clear it.
  int32_t m_bPlayOnPaint = 1;
  int32_t m_bIsSound = 1;
  int32_t m_bConspectMode = 0;
  int32_t m_bVideoMode = 0;
  int32_t m_bExamMode = 0;
  int32_t m_bContraVersa = 0;
  int32_t m_bHideHeader = 0;
  int32_t m_bHidePerevod = 0;

  // counters
  int32_t m_nTotalCountAltWords = 0;
  int32_t m_rightAnswers = 0;   // "Правильно"
  int32_t m_wrongAnswers = 0;   // "Неправильно"
  int32_t m_hints = 0;          // "Подсказок"
  int32_t m_trueCellIndex = 0;  // 0-based cell of the right answer
  int32_t m_nTrueInd = 0;
  int32_t m_numberedCells = 0;   // answer cells drawn by the last repaint
  int32_t m_showTrueAnswer = 0;  // answer highlight for one repaint after a refusal
  const int32_t m_nMaxAltWords = kMaxAltWords;

  // video settings
  int32_t m_nPhraseDelay = 0;
  int32_t m_nPhraseRepeats = 1;

 protected:
  void ShowError(std::u16string_view text) { ShowMessage(MessageKind::Error, text); }
  void ShowInfo(std::u16string_view text) { ShowMessage(MessageKind::Information, text); }
  // Clears the lesson, filters, current recordings, answers, typing line and counters.
  void ClearLessonData();
  // Empties the expected and the typed text of the typing line.
  void ClearTypingLine();
  // True when diagnostic lines would be written anywhere.
  bool IsLogging() const;
};

}  // namespace verbaro
