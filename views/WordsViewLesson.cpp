// CWordsView: opening a lesson, the Filters menu, and the sound of the current entry.

#include <QScopedValueRollback>
#include <utility>

#include "data/DiagnosticLog.h"
#include "data/ResumePosition.h"
#include "data/Text.h"
#include "platform/ErrorSignal.h"
#include "platform/FileChooser.h"
#include "platform/FreedMemory.h"
#include "platform/QtText.h"
#include "platform/ViewTimer.h"
#include "sound/Mp3Player.h"
#include "views/WordsView.h"

namespace verbaro {

// ---- lesson loading ----

std::optional<std::u16string> CWordsView::OpenDataFileDialog() {
  const std::optional<QString> path = m_platform.files->ChooseLessonFile(this);
  if (!path) return std::nullopt;
  return FromQ(*path);
}

bool CWordsView::OpenLesson() {
  std::optional<std::u16string> path;
  {
    const TickHold hold(this);
    path = OpenDataFileDialog();
  }
  if (!path) {
    m_resume.reset();
    return false;
  }
  m_szDataFile = std::move(*path);
  // For this opening only, also when it fails; an exam starts afresh.
  const std::optional<ResumePoint> resume =
      m_bExamMode ? std::nullopt : std::exchange(m_resume, std::nullopt);
  bool loaded = false;
  {
    // A place to resume at is shown with one repaint once the lesson is loaded: the selection
    // of the first filter that ends each loading would show and sound the first entry first.
    QScopedValueRollback<bool> held(m_inRepaint, m_inRepaint || resume.has_value());
    loaded = LoadLesson();
  }
  if (loaded && resume) ResumeAt(*resume);
  ReturnFreedMemory();  // what reading, reversing and merging freed
  m_resume.reset();
  return loaded;
}

void CWordsView::ForgetLesson() {
  StopPlayback(1);
  StopSound();
  m_szDataFile.clear();
  m_reportedPlace.reset();
  Repaint();
}

bool CWordsView::ReloadData(bool bBuildFilters) {
  StopPlayback(1);
  StopSound();
  if (!LoadWordsData()) return false;
  m_review = {};
  if (m_events) m_events->LessonRead(m_modeIndex, *this);
  if (!bBuildFilters) return true;
  if (!CreateUserFilters() || !BuildFilterMenu()) return false;
  if (m_bExamMode) return true;
  SelectUserFilter(kFirstFilterCommand, u"");
  return true;
}

void CWordsView::ResumeAt(const ResumePoint& point) {
  {
    // One repaint for the resumed place: the selection's own would sound the first entry first.
    QScopedValueRollback<bool> held(m_inRepaint, true);
    SelectResumedFilter(point.filterId);
    m_nUserFilterIndex = ResumePosition(m_vWordsData, m_vUserIndexes, point.position, point.keyWord,
                                        point.occurrence);
  }
  Repaint();
}

void CWordsView::SelectResumedFilter(int filterId) {
  // A review filter is computed afresh with the lesson's Filters menu; one that is empty now
  // (nothing missed or due any more) gives way to all words.
  const bool review = (filterId == kMissedFilterCommand && !m_review.missed.empty()) ||
                      (filterId == kDueFilterCommand && !m_review.due.empty());
  if (review) {
    SelectReviewFilter(filterId, u"");
    return;
  }
  const bool known = filterId >= kFirstFilterCommand &&
                     filterId - kFirstFilterCommand < static_cast<int>(m_mapUserFilters.size());
  SelectUserFilter(known ? filterId : kFirstFilterCommand, u"");
}

bool CWordsView::ShowsAPlace() const {
  return !m_bExamMode && m_nUserFilterIndex >= 0 &&
         static_cast<size_t>(m_nUserFilterIndex) < m_vUserIndexes.size();
}

std::optional<ResumePoint> CWordsView::ShownPlace() const {
  if (!ShowsAPlace()) return std::nullopt;
  const int32_t record = m_vUserIndexes[static_cast<size_t>(m_nUserFilterIndex)];
  return ResumePoint{kFirstFilterCommand + m_nSelectedFilter, m_nUserFilterIndex, m_wsKeyWord,
                     HeadWordOccurrence(m_vWordsData, record)};
}

void CWordsView::ReportShownEntry() {
  if (!ShowsAPlace()) return;
  // Compared without the occurrence, which takes a walk through the lesson: this runs at every
  // repaint, each typed character included.
  const ResumePoint place{kFirstFilterCommand + m_nSelectedFilter, m_nUserFilterIndex, m_wsKeyWord};
  if (m_reportedPlace && m_reportedPlace->first == m_szDataFile &&
      m_reportedPlace->second.filterId == place.filterId &&
      m_reportedPlace->second.position == place.position &&
      m_reportedPlace->second.keyWord == place.keyWord) {
    return;
  }
  m_reportedPlace.emplace(m_szDataFile, place);
  OnEntryShown();
  if (m_events) m_events->EntryShown(m_modeIndex, *this);
}

bool CWordsView::LoadLesson() { return ReloadData(true); }

bool CWordsView::BuildFilterMenu() {
  if (!m_filterMenu) {
    ShowError(u"Нет доступа к меню!");
    return false;
  }
  FilterMenuItemList items = FilterMenuItems();
  AppendReviewItems(items);
  m_filterMenu->Fill(items);
  return true;
}

void CWordsView::AppendReviewItems(FilterMenuItemList& items) {
  if (!m_events || m_mapUserFilters.empty()) return;
  m_review = m_events->Review(m_modeIndex, *this);
  if (m_review.missed.empty() && m_review.due.empty() && m_review.hard.empty()) return;
  items.emplace_back(kFilterSeparator, std::u16string());
  if (!m_review.missed.empty()) {
    items.emplace_back(kMissedFilterCommand, std::u16string(kMissedFilterName) + u" (" +
                                                 ToU16(m_review.missed.size()) + u")");
  }
  if (!m_review.due.empty()) {
    items.emplace_back(kDueFilterCommand,
                       std::u16string(kDueFilterName) + u" (" + ToU16(m_review.due.size()) + u")");
  }
  if (!m_review.hard.empty()) {
    items.emplace_back(kHardFilterCommand, std::u16string(kHardFilterName) + u" (" +
                                               ToU16(m_review.hard.size()) + u")");
  }
}

void CWordsView::SelectReviewFilter(int id, std::u16string_view modeText) {
  const std::vector<int32_t>* list = id == kMissedFilterCommand ? &m_review.missed
                                     : id == kDueFilterCommand  ? &m_review.due
                                     : id == kHardFilterCommand ? &m_review.hard
                                                                : nullptr;
  if (!list || list->empty()) return;
  const std::vector<int32_t>& records = *list;
  ClearTypingLine();
  m_nSelectedFilter = id - kFirstFilterCommand;
  m_rightAnswers = 0;
  m_wrongAnswers = 0;
  m_hints = 0;
  TakeFilterRecords(records);
  m_nUserFilterIndex = 0;
  m_nCurMp3Index = 0;
  Repaint();
  if (modeText.empty()) return;
  const std::u16string_view name = id == kMissedFilterCommand ? kMissedFilterName
                                   : id == kDueFilterCommand  ? kDueFilterName
                                                              : kHardFilterName;
  ShowInfo(u"Выбран фильтр: \"" + std::u16string(name) + u"\",\nв режиме:\n\"" +
           std::u16string(modeText) + u"\".");
}

// ---- sound ----

bool CWordsView::PlayCurrentSound() {
  if (!m_bIsSound) return false;
  // The recording is read from the lesson file now, not when the lesson was opened.
  const int size = std::min(m_nMp3WordSize, m_pMp3Word.Size());
  const std::optional<unsigned> period = m_player->PlayRecording(m_pMp3Word, size, this);
  if (!period) return false;
  m_tickWaiting = false;  // this recording's own end replaces a tick that waited
  // The Video views pause between phrases after each recording.
  const unsigned delay = m_bVideoMode && m_nPhraseDelay > 0 ? unsigned(m_nPhraseDelay) : 0u;
  m_timer->Start(*period + delay);
  return true;
}

void CWordsView::ToggleSound() {
  m_bIsSound = !m_bIsSound;
  if (m_mainLog) m_mainLog->Line(GetModeName(), u" : m_bIsSound = ", m_bIsSound);
  ShowInfo(GetModeName() + u" :\n" + (m_bIsSound ? u"Звук включен!" : u"Звук выключен!"));
  Repaint();
}

void CWordsView::StopPlayback(int32_t bPlayOnPaint) {
  m_player->StopDevice();
  m_bPlayOnPaint = bPlayOnPaint;
}

void CWordsView::StopSound() {
  m_player->StopDevice();
  // The lesson goes away: a pending end-of-sound tick would move through data that is gone.
  m_timer->Kill();
  m_tickWaiting = false;
  LessonState::StopSound();
}

void CWordsView::PlayErrorSignal() {
  if (m_platform.errorSignal) m_platform.errorSignal->Play();
}

}  // namespace verbaro
