// CWordsView: construction, window life, the show/hide switches, the timer and input events.
// Drawing is in WordsViewDraw.cpp, lesson loading and sound in WordsViewLesson.cpp.
#include "views/WordsView.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QtMath>
#include <algorithm>

#include "data/DiagnosticLog.h"
#include "data/KeyboardState.h"
#include "image/FCObjImage.h"
#include "image/ModePictures.h"
#include "platform/MessageBoxes.h"
#include "platform/QtText.h"
#include "platform/ViewTimer.h"
#include "platform/WorkArea.h"
#include "sound/Mp3Player.h"
#include "views/EntryGrid.h"
#include "views/SurfaceRows.h"
#include "views/VirtualKeys.h"

namespace verbaro {

namespace {

// 96 dots per inch, so that a font of s points is s x 96 / 72 pixels high on the surfaces.
constexpr int kDotsPerMeter96Dpi = 3780;

// The device pixels per pixel of the screens the views are drawn on: 2 at a scale factor of 2.
qreal ScreenPixelRatio() {
  return qGuiApp != nullptr ? std::max<qreal>(1.0, qGuiApp->devicePixelRatio()) : 1.0;
}

// A surface of the work area's size with `ratio` device pixels per pixel: everything is drawn
// in pixels of the work area as before, and with a ratio of 2 texts and pictures keep their
// sharpness on the screen.
QImage MakeSurface(const QRect& workArea, qreal ratio) {
  if (workArea.isEmpty()) return QImage();
  QImage surface(qCeil(workArea.width() * ratio), qCeil(workArea.height() * ratio),
                 QImage::Format_ARGB32_Premultiplied);
  if (surface.isNull()) return surface;
  surface.setDevicePixelRatio(ratio);
  surface.setDotsPerMeterX(kDotsPerMeter96Dpi);
  surface.setDotsPerMeterY(kDotsPerMeter96Dpi);
  // Not cleared here: the six views are all made at start-up, and clearing twelve desktop-sized
  // surfaces would cost most of the start-up time and memory. A view clears its own when its
  // window is created, on first use of the mode.
  return surface;
}

}  // namespace

CWordsView::CWordsView(const Platform& platform, QWidget* parent)
    : QWidget(parent),
      m_platform(platform),
      m_player(std::make_unique<Mp3Player>(m_platform)),
      m_timer(m_platform.makeTimer()),
      m_background(std::make_unique<FCObjImage>()),
      m_logo(std::make_unique<FCObjImage>()) {
  m_timer->onTimeout = [this] {
    if (!HandlesTimer()) return;
    if (m_tickHolds > 0) {
      m_tickWaiting = true;
      return;
    }
    OnTimer();
  };
  setFocusPolicy(Qt::StrongFocus);
  // The back buffer covers the whole client area: nothing is to be erased first.
  setAttribute(Qt::WA_OpaquePaintEvent);

  QRect workArea = m_platform.workArea->Get();
  if (!workArea.isValid()) {
    ShowError(u"Ошибка определения размеров рабочей области");
    workArea = QRect();
  }
  m_surfaceWidth = workArea.width();
  m_surfaceHeight = workArea.height();
  m_surfaceRatio = ScreenPixelRatio();
  m_sceneSurface = MakeSurface(workArea, m_surfaceRatio);
  m_backBuffer = MakeSurface(workArea, m_surfaceRatio);
}

CWordsView::~CWordsView() {
  m_timer->onTimeout = nullptr;
  if (m_created) StopOnDestroy(m_createdModeName);
}

void CWordsView::Create() {
  if (m_created) return;
  m_created = true;
  m_createdModeName = GetModeName();
  if (!m_sceneSurface.isNull()) m_sceneSurface.fill(Qt::black);
  if (!m_backBuffer.isNull()) m_backBuffer.fill(Qt::black);
  OnCreate();
  // A new window is sized as it is made, and sizing repaints.
  Repaint();
  PrepareTextDrawing();
}

void CWordsView::SetMainLog(DiagnosticLog* log) {
  SetLogStream(log);
  if (log) log->Line(GetModeName(), u" в CWordsView::SetMainLog()");
}

CWordsView::TickHold::TickHold(CWordsView* view) : m_view(view) {
  if (m_view) ++m_view->m_tickHolds;
}

CWordsView::TickHold::~TickHold() {
  if (!m_view || --m_view->m_tickHolds > 0 || !m_view->m_tickWaiting) return;
  // The tick runs through the timer, after whatever the closed window's caller does next; a
  // new recording started meanwhile replaces it with its own.
  m_view->m_tickWaiting = false;
  m_view->m_timer->Start(0);
}

void CWordsView::ShowMessage(MessageKind kind, std::u16string_view text) {
  const TickHold hold(this);
  // A box of a repaint that is choosing its entry shows over the bare scene, as when no entry
  // can be shown: the grid of the entry before is gone.
  if (m_choosingEntry) CopyTopRows(m_sceneSurface, m_backBuffer, DeviceRect().height());
  m_platform.messages->Show(this, ToQ(CaptionOf(kind)), ToQ(text), kind);
}

void CWordsView::LoadPictures(int backgroundId, const QString& backgroundFile, int logoId,
                              const QString& logoFile) {
  // A picture that cannot be loaded stays empty and is simply not drawn.
  LoadModePictures(*m_background, *m_logo, backgroundId, backgroundFile, logoId, logoFile,
                   m_surfaceRatio, &m_logoPixelRatio);
  m_sceneSize = QSize();
}

// ---- show/hide switches ----

void CWordsView::ToggleHeader() {
  m_bHideHeader = !m_bHideHeader;
  if (m_mainLog) m_mainLog->Line(GetModeName(), u" : m_bHideHeader = ", m_bHideHeader);
  // With nothing on screen the change could not be seen, so it is told.
  if (m_nTotalCountAltWords == 0) {
    ShowInfo(GetModeName() + u" :\n" +
             (m_bHideHeader ? u"Скрыть заголовок" : u"Показать заголовок"));
  }
  Repaint();
}

void CWordsView::ToggleTranslations() {
  m_bHidePerevod = !m_bHidePerevod;
  if (m_mainLog) m_mainLog->Line(GetModeName(), u" : m_bHidePerevod = ", m_bHidePerevod);
  if (m_nTotalCountAltWords == 0) {
    ShowInfo(GetModeName() + u" :\n" +
             (m_bHidePerevod ? u"Скрыть переводы" : u"Показать переводы"));
  }
  Repaint();
}

// ---- timer and destruction ----

int32_t& CWordsView::SharedRepeatCounter() {
  static int32_t counter = 0;
  return counter;
}

void CWordsView::OnTimer() {
  m_timer->Kill();
  if (!m_bPlayOnPaint) return;
  if (m_bConspectMode && m_bContraVersa) {
    // Conspect-2 is a typing mode: its tick only sounds the entry's further recordings. It never
    // moves on, counts repeats or tells the end of the filter; the navigation keys do that, so
    // no box interrupts a word being typed.
    SoundNextRecording();
    return;
  }
  if (EntryHeardThrough()) {
    // The last entry of the filter gets its full share too before the end is told.
    if (static_cast<size_t>(m_nUserFilterIndex) + 1 >= m_vUserIndexes.size()) {
      ShowInfo(u"Закончились данные по выбранному фильтру!");
      m_bPlayOnPaint = 0;
      return;
    }
    m_nCurMp3Index = 0;
    ++m_nUserFilterIndex;
  }
  Repaint();
}

void CWordsView::SoundNextRecording() {
  // The recordings of a merged entry are sounded one per tick. The record selection moves to the
  // next recording at each repaint and back to the first after the last one, so an index of 0
  // after the repaint means the last recording has just been sounded: stop.
  const auto recordings = static_cast<int32_t>(m_vpMp3Word.size());
  if (recordings < 2) return;
  Repaint();
  if (m_nCurMp3Index == 0) m_timer->Kill();
}

bool CWordsView::EntryHeardThrough() {
  // The reversed views take the entry's next recording at each repaint and start it over after
  // the last one: back at the first, every recording has been heard.
  if (m_bContraVersa) return m_nCurMp3Index == 0;
  // One counter for the whole program, started from the repeat setting at an entry's first tick;
  // a view that starts repeating after another one was left in mid-count continues that count.
  int32_t& counter = SharedRepeatCounter();
  if (counter <= 0) counter = m_nPhraseRepeats;
  if (--counter > 0) return false;
  counter = 0;  // the next entry starts afresh
  return true;
}

void CWordsView::OnDestroy() { StopOnDestroy(GetModeName()); }

void CWordsView::StopOnDestroy(const std::u16string& modeName) {
  if (m_destroyed) return;
  m_destroyed = true;
  if (m_mainLog) {
    m_mainLog->Flush();
    m_mainLog->Line(modeName, u" в CWordsView::OnDestroy() : Останавливаем звук");
  }
  StopPlayback(0);
  CWordsView::StopSound();
}

// ---- input ----

void CWordsView::OnKeyDown(int /*virtualKey*/) {}

void CWordsView::OnLButtonDown(int /*x*/, int /*y*/) {}

void CWordsView::keyPressEvent(QKeyEvent* event) {
  // Alt combinations and F10 are system keys: they belong to the menu, not to the view.
  const int virtualKey = vk::FromKeyEvent(*event);
  if (virtualKey == 0 || vk::IsSystemKey(*event)) {
    QWidget::keyPressEvent(event);
    return;
  }
  m_platform.keyboard->NoteKeyDown(event->nativeModifiers());
  OnKeyDown(virtualKey);
}

void CWordsView::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    QWidget::mousePressEvent(event);
    return;
  }
  const QPoint at = event->position().toPoint();
  OnLButtonDown(at.x(), at.y());
}

bool CWordsView::focusNextPrevChild(bool /*next*/) { return false; }

}  // namespace verbaro
