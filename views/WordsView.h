#pragma once
// CWordsView: the base of the six study views. A child widget that owns one lesson (through
// LessonState), its sound player, its two pictures, two work-area-sized surfaces and its
// end-of-sound timer. Every change of state ends in Repaint, which composes background and logo,
// chooses the current entry and decides what the grid shows, draws the 12-row grid into the back
// buffer, then sounds the entry. Background and logo are composed into the scene surface only
// when the client size or the pictures change; every repaint starts from a copy of that scene,
// with the fills of the grid's rows over it.
#include <QImage>
#include <QWidget>
#include <memory>
#include <optional>
#include <string>

#include "data/LessonState.h"
#include "platform/Platform.h"
#include "views/EntryPicture.h"
#include "views/FilterMenu.h"
#include "views/StudyEvents.h"

class QPainter;

namespace verbaro {

class Mp3Player;
class FCObjImage;
class ViewTimer;
namespace grid {
class CellFont;
}

class CWordsView : public QWidget, public LessonState {
  Q_OBJECT

 public:
  explicit CWordsView(const Platform& platform, QWidget* parent = nullptr);
  ~CWordsView() override;

  // The frame "creates the window" of a view the first time its mode is chosen: this runs the
  // mode's OnCreate (flags, pictures) once. Before that, Repaint does nothing.
  void Create();
  bool IsCreated() const { return m_created; }

  void SetMainLog(DiagnosticLog* log);
  // The Filters menu that shows this view's filters (the frame's).
  void SetFilterMenu(FilterMenu* menu) { m_filterMenu = menu; }
  // Who hears what the learner does in this view (may be null), and the view's mode index.
  void SetStudyEvents(StudyEvents* events, int modeIndex) {
    m_events = events;
    m_modeIndex = modeIndex;
  }
  // The place the view shows now; nothing in an Exam view or without entries.
  std::optional<ResumePoint> ShownPlace() const;

  // ---- lesson loading ----
  std::optional<std::u16string> OpenDataFileDialog();
  // The frame's Open command: asks for a lesson file and loads it the way the mode needs. A
  // cancelled dialog changes nothing: lesson, position, typed text and sound stay as they were.
  bool OpenLesson();
  // Reads the chosen file m_szDataFile into the view: stops the sound, clears the old lesson,
  // reads the rows and, with bBuildFilters, builds the filters and selects the first one.
  bool ReloadData(bool bBuildFilters);
  // The place the next lesson opening shows instead of the first entry of all words, where the
  // learner left it: its filter when the lesson still has it (a review filter computed afresh,
  // when it is not empty), the same entry in it (ResumePosition), else the filter's first entry.
  // Used by one opening only, in every mode but the exams, which start afresh.
  void SetResumePoint(std::optional<ResumePoint> point) { m_resume = std::move(point); }
  // Drops the lesson and its file name: the view is as before any lesson was opened.
  void ForgetLesson();

  // ---- review filters (after the grammatical ones, when the lesson has history) ----
  // Chooses «Слова с ошибками» or «На сегодня» as any filter is chosen, with the same box.
  void SelectReviewFilter(int id, std::u16string_view modeText);
  const ReviewLists& Review() const { return m_review; }

  // ---- LessonState hooks ----
  void ShowMessage(MessageKind kind, std::u16string_view text) override;
  void Repaint() override;
  bool BuildFilterMenu() override;
  std::u16string GetModeName() const override = 0;
  void StopSound() override;

  // ---- sound ----
  // Sounds the current recording whenever the sound is on: F2 and every repaint but a typing
  // one.
  bool PlayCurrentSound();
  void ToggleSound();
  void StopPlayback(int32_t bPlayOnPaint);
  void PlayErrorSignal();

  // ---- show/hide switches ----
  void ToggleHeader();
  void ToggleTranslations();

  // ---- timer and destruction ----
  virtual void OnTimer();
  // Whether the view acts on its end-of-sound timer: the base and the Video and Conspect-2 views
  // do; Conspect-1 and the Exam views leave it alone (the timer then simply runs out).
  virtual bool HandlesTimer() const { return true; }
  // Stops the sound and clears the lesson, once; the destructor calls it too.
  void OnDestroy();
  // The repeat counter of OnTimer, one for the whole program (0 = the next tick starts the count
  // afresh from the view's repeat setting).
  static int32_t& SharedRepeatCounter();

  // While a dialog or box of the program is open the play-through waits: a tick that comes
  // meanwhile runs as soon as the last hold ends. The view holds itself for its own boxes and
  // its file dialog; the frame holds the current view for its dialogs. A view may be null.
  class TickHold {
   public:
    explicit TickHold(CWordsView* view);
    ~TickHold();
    TickHold(const TickHold&) = delete;
    TickHold& operator=(const TickHold&) = delete;

   private:
    CWordsView* m_view;
  };

  // ---- input, in Windows virtual-key codes and client coordinates ----
  virtual void OnKeyDown(int virtualKey);
  virtual void OnLButtonDown(int x, int y);

  // ---- drawing: these draw what they are given and decide nothing ----
  // Finds and reads the cell font and draws both alphabets once, off screen, so that the first
  // entry of the first lesson is drawn without waiting for that.
  void PrepareTextDrawing();
  // The cells of `picture` in the grid of `client`; `fillsDrawn`: the surface has their fills.
  void DrawUserData(QPainter& painter, const QRect& client, const grid::EntryPicture& picture,
                    bool fillsDrawn);
  void DrawCellText(QPainter& painter, std::u16string_view text, int x, int y, int width,
                    int height, std::optional<QRgb> fill, std::optional<QRgb> textColor, int number,
                    bool frame, int percent);
  // The typing line's cell, and over it the first wrong character boxed or a tick.
  void DrawTypedText(QPainter& painter, int x, int y, int width, int height,
                     std::u16string_view shown, std::optional<QRgb> fill,
                     std::optional<QRgb> textColor, const grid::TypingMarks& marks);
  void DrawTypingMarks(QPainter& painter, std::u16string_view shown, const QRect& cell,
                       const grid::TypingMarks& marks);

  // The composed picture of the last repaint (client-sized part of the back buffer).
  QImage BackBuffer() const;
  Mp3Player& Player() { return *m_player; }
  ViewTimer& Timer() { return *m_timer; }

 protected:
  // Mode set-up when the window is created: flags, pictures.
  virtual void OnCreate() = 0;
  // Loads the chosen file m_szDataFile as the mode needs it; the base builds the filters.
  virtual bool LoadLesson();
  // Loads the mode's background and logo (built-in pictures unless Res/ has files).
  void LoadPictures(int backgroundId, const QString& backgroundFile, int logoId,
                    const QString& logoFile);

  // A repaint that draws what was typed: it shows the entry without sounding it again.
  void RepaintSilently();
  // Another entry is shown (or the same one anew, after a new lesson or filter).
  virtual void OnEntryShown() {}
  StudyEvents* Events() const { return m_events; }
  int ModeIndex() const { return m_modeIndex; }

  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  bool focusNextPrevChild(bool next) override;  // views receive Tab

  const Platform m_platform;
  std::unique_ptr<Mp3Player> m_player;
  std::unique_ptr<ViewTimer> m_timer;
  std::unique_ptr<FCObjImage> m_background;
  std::unique_ptr<FCObjImage> m_logo;
  QImage m_sceneSurface;
  QImage m_backBuffer;
  // The client size the scene surface was last composed for; empty when it must be composed
  // again (no repaint yet, or new pictures).
  QSize m_sceneSize;
  int m_surfaceWidth = 0;
  int m_surfaceHeight = 0;
  // Device pixels per pixel of the two surfaces (2 on a screen at a scale factor of 2), and
  // pixels of the logo picture per pixel of its own size (2 for the built-in sharp version).
  qreal m_surfaceRatio = 1.0;
  int m_logoPixelRatio = 1;
  FilterMenu* m_filterMenu = nullptr;
  bool m_created = false;
  bool m_destroyed = false;

 private:
  void StopOnDestroy(const std::u16string& modeName);
  // Counts one tick of the play-through: true when the shown entry has been sounded as often as
  // it should (its repeats in Video-1, each of its recordings in Video-2).
  bool EntryHeardThrough();
  // The tick of Conspect-2: the entry's next recording, if it has more than one.
  void SoundNextRecording();
  // The client area of the last repaint in the surfaces' own (device) pixels.
  QRect DeviceRect() const;
  // The font of the grid texts, made on first use and kept.
  grid::CellFont& TextFont();
  // The size in points `text` is drawn at in a cell; 0: nothing to draw.
  int FittedPoints(std::u16string_view text, int width, int height, int percent);

  // ---- the steps of Repaint, in their order ----
  // Background and logo into the scene surface, when the client size or the pictures changed.
  void ComposeScene(const QRect& client);
  // The record chosen (SetUserData), the recording of the next repaint taken, the typed text
  // checked, and what the grid shows decided; nothing when the record cannot be shown.
  std::optional<grid::EntryPicture> ChooseEntry();
  // The typing check of a Conspect view, logged.
  grid::TypingLine CheckTyping();
  // Notes the last numbered cell that shows a text: the exam's choices by key and click.
  void CountNumberedCells(const grid::EntryPicture& picture);
  // The back buffer: the scene, and the picture's grid over it when there is one.
  void DrawBackBuffer(const QRect& client, const grid::EntryPicture* picture);
  // Whether every text of the picture ends inside its own row where a filled row lies below
  // it: then the kept fills give the same pixels as fills drawn with each cell.
  bool TextsStayInTheirRows(const grid::EntryPicture& picture, const grid::Geometry& grid);
  // The error signal for a wrong typed text, then the entry's recording.
  void SoundEntry(const grid::EntryPicture& picture);

  // Selects the resume point's filter and entry silently, then shows it with one repaint.
  void ResumeAt(const ResumePoint& point);
  // Selects the filter of a resume point without a repaint or a box.
  void SelectResumedFilter(int filterId);
  // Whether ShownPlace has a place.
  bool ShowsAPlace() const;
  // Tells the study events when the shown place changed since it was last told.
  void ReportShownEntry();
  // The Filters items of the review lists: a separator and the lists that are not empty.
  void AppendReviewItems(FilterMenuItemList& items);

  std::u16string m_createdModeName;  // for the destructor, where GetModeName is gone
  StudyEvents* m_events = nullptr;
  int m_modeIndex = -1;
  std::optional<ResumePoint> m_resume;
  ReviewLists m_review;
  std::optional<std::pair<std::u16string, ResumePoint>> m_reportedPlace;
  std::unique_ptr<grid::CellFont> m_textFont;
  bool m_inRepaint = false;
  // While a repaint chooses its entry, a box it shows has the bare scene behind it.
  bool m_choosingEntry = false;
  bool m_silentRepaint = false;
  int m_tickHolds = 0;
  bool m_tickWaiting = false;  // a tick came while held
};

}  // namespace verbaro
