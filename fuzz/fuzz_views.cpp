// The six study views as a learner drives them: a main frame on recording fakes (message boxes
// never block), a few small lessons with real recordings, and an input that spells a sequence of
// keys (with Shift, Ctrl and CapsLock states), clicks, end-of-sound timer ticks, filter choices,
// the F2/Alt+F2/F3/Alt+F3 commands, mode switches, lesson openings, resizes and wave output
// failures. The exam views' counters are checked after every step.
//
// Input layout: the mode shown first (byte % 6); a set-up byte (0x01 its sound off, 0x02 every
// wave output refuses to open, 0x04 the log attached, 0x40 no lesson opened at the start, else
// the lesson chosen by the high four bits); then operations of one byte each (% 20) followed by
// their arguments (see RunOperation).
#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QResizeEvent>
#include <array>

#include "app/Accelerators.h"
#include "app/Commands.h"
#include "app/MainFrame.h"
#include "fuzz/FuzzChecks.h"
#include "fuzz/FuzzSupport.h"
#include "tests/fakes/FakePlatform.h"
#include "views/Exam1View.h"
#include "views/Video1View.h"
#include "views/VirtualKeys.h"

namespace verbaro::fuzz {
namespace {

std::vector<uint8_t> Fixture(const char* name) {
  QFile file(QStringLiteral(VERBARO_FUZZ_FIXTURES "/mp3/") + QLatin1String(name));
  if (!file.open(QIODevice::ReadOnly)) abort();
  const QByteArray bytes = file.readAll();
  return {bytes.begin(), bytes.end()};
}

LessonRow Row(std::u16string gram, std::u16string number, std::u16string key,
              std::vector<std::u16string> translations, std::vector<uint8_t> blob) {
  LessonRow row;
  row.gram = std::move(gram);
  row.number = std::move(number);
  row.key = std::move(key);
  row.translations = std::move(translations);
  row.blob = std::move(blob);
  return row;
}

// The lessons an input can open, written once per process; the last two choices are a missing
// file and a cancelled dialog.
const std::vector<std::string>& Lessons() {
  static const std::vector<std::string> paths = [] {
    const std::vector<uint8_t> tone = Fixture("tone_short_44k_stereo.mp3");
    const std::vector<uint8_t> mono = Fixture("tone_1s_22k_mono.mp3");
    const std::string folder = ScratchFolder();
    std::vector<std::string> made;
    auto write = [&](const char* name, const std::vector<LessonRow>& rows) {
      made.push_back(folder + "/" + name);
      if (!WriteLesson(made.back(), rows)) abort();
    };
    // Every kind of filter, shared translations (merged reversed entries), accented keys.
    std::vector<LessonRow> words = {
        Row(u"m", u"s", u"chat", {u"кот", u"котик"}, tone),
        Row(u"m", u"s", u"matou", {u"кот"}, tone),
        Row(u"m", u"p", u"yeux", {u"глаза", u"очи"}, tone),
        Row(u"f", u"s", u"maison", {u"дом"}, tone),
        Row(u"f", u"s", u"logis", {u"дом", u"жильё"}, mono),
        Row(u"f", u"p", u"fleurs", {u"цветы"}, tone),
        Row(u"n", u"s", u"été", {u"лето"}, tone),
        Row(u"adj,f", u"", u"belle", {u"красивая"}, tone),
        Row(u"adj,m", u"", u"grand", {u"большой"}, tone),
        Row(u"adv", u"", u"très", {u"очень"}, tone),
        Row(u"num", u"", u"cinq", {u"пять"}, tone),
        Row(u"v", u"", u"faire", {u"делать", u"сделать", u"заставлять", u"совершать", u"творить"},
            tone),
        Row(u"~", u"", u"ça va", {u"как дела"}, tone),
        Row(u"~~", u"", u"garçon, œuf", {u"мальчик, яйцо"}, tone),
    };
    words[0].info1 = u"le chat";
    words[0].info2 = u"les chats";
    write("words.db", words);
    write("single.db", {Row(u"f", u"s", u"Noël", {u"Рождество"}, tone)});
    // Recordings that cannot be played and a row without translations; the NULL recording of
    // the last row ends the reading there.
    std::vector<LessonRow> damaged = {
        Row(u"m", u"s", u"bruit", {u"шум"}, {'n', 'o', 't', ' ', 'm', 'p', '3'}),
        Row(u"m", u"s", u"vide", {u"пусто"}, {}),
        Row(u"m", u"s", u"rien", {}, tone),
        Row(u"v", u"", u"aller", {u"идти"}, tone),
        Row(u"v", u"", u"venir", {u"идти"}, tone),
        Row(u"m", u"s", u"fin", {u"конец"}, {}),
    };
    damaged.back().blobKind = BlobKind::Null;
    write("damaged.db", damaged);
    // Six words for one translation (too many answers), and texts far wider than a cell.
    std::vector<LessonRow> crowded;
    for (const char16_t* word : {u"un", u"deux", u"trois", u"quatre", u"cinq", u"six"}) {
      crowded.push_back(Row(u"m", u"s", word, {u"число"}, tone));
    }
    crowded.push_back(
        Row(u"f", u"s", std::u16string(300, u'w'), {std::u16string(200, u'ж')}, tone));
    write("crowded.db", crowded);
    made.push_back(folder + "/missing.db");
    return made;
  }();
  return paths;
}

// A null text stands for a cancelled dialog.
QString LessonChoice(uint8_t choice) {
  const auto& lessons = Lessons();
  const size_t index = choice % (lessons.size() + 1);
  if (index == lessons.size()) return QString();
  return QString::fromStdString(lessons[index]);
}

// Qt keys for the key events that go through the widget, as the offscreen platform sends them.
constexpr std::array<int, 24> kQtKeys = {
    Qt::Key_A,         Qt::Key_E,     Qt::Key_Z,       Qt::Key_0,         Qt::Key_1,
    Qt::Key_6,         Qt::Key_Space, Qt::Key_Tab,     Qt::Key_Backspace, Qt::Key_Return,
    Qt::Key_Up,        Qt::Key_Down,  Qt::Key_PageUp,  Qt::Key_PageDown,  Qt::Key_Home,
    Qt::Key_End,       Qt::Key_Shift, Qt::Key_Control, Qt::Key_CapsLock,  Qt::Key_Apostrophe,
    Qt::Key_QuoteLeft, Qt::Key_Comma, Qt::Key_Alt,     Qt::Key_F10};

constexpr std::array<int, 7> kWaveOutResults = {
    waveout::kOk,       waveout::kError,        waveout::kNoDevice,  waveout::kNotOpen,
    waveout::kNoMemory, waveout::kStillPlaying, waveout::kDeviceLost};

// Small surfaces for every view: the work area is read when the frame makes its views.
struct SmallScreenPlatform : FakePlatform {
  SmallScreenPlatform() { workArea.rect = QRect(0, 0, 400, 300); }
};

struct Session {
  SmallScreenPlatform fake;
  CMainFrame frame{fake.Get()};
  // Per exam view: right answers plus answers left since its last filter selection.
  std::array<int32_t, 6> filterAnswers{};
};

void SendKey(CWordsView& view, ByteReader& in) {
  const uint8_t which = in.Byte();
  const uint8_t state = in.Byte();
  Qt::KeyboardModifiers modifiers;
  if (state & 0x01) modifiers |= Qt::ShiftModifier;
  if (state & 0x02) modifiers |= Qt::ControlModifier;
  if (state & 0x04) modifiers |= Qt::AltModifier;
  if (state & 0x08) modifiers |= Qt::KeypadModifier;
  // With a scan code the event is read by physical key, as on X11.
  const quint32 scanCode = (state & 0x10) ? which : 0;
  QKeyEvent event(QEvent::KeyPress, kQtKeys[which % kQtKeys.size()], modifiers, scanCode, 0, 0,
                  QString(), (state & 0x20) != 0);
  // The frame takes its accelerators from the key events before the view does. Help, About,
  // the Video settings and the statistics open modal dialogs of their own, which would wait for a
  // person to close them: those keys are left out.
  switch (AcceleratorCommand(ShortcutKeyOfEvent(event, {}), event.modifiers())) {
    case cmd::kHelp:
    case cmd::kAbout:
    case cmd::kVideoSettings:
    case cmd::kLessonStatistics: return;
    default: break;
  }
  QCoreApplication::sendEvent(&view, &event);
}

void SendClick(CWordsView& view, ByteReader& in) {
  const int x = in.Byte() * (view.width() + 20) / 255 - 10;
  const int y = in.Byte() * (view.height() + 20) / 255 - 10;
  const uint8_t how = in.Byte();
  if (how & 0x01) {
    view.OnLButtonDown(x, y);
    return;
  }
  const Qt::MouseButton button = (how & 0x02) ? Qt::RightButton : Qt::LeftButton;
  QMouseEvent event(QEvent::MouseButtonPress, QPointF(x, y), view.mapToGlobal(QPointF(x, y)),
                    button, button, Qt::NoModifier);
  QCoreApplication::sendEvent(&view, &event);
}

void Resize(CWordsView& view, ByteReader& in) {
  const QSize old = view.size();
  const QSize size(in.Byte() * 4, in.Byte() * 3);
  view.resize(size);
  QResizeEvent event(view.size(), old);
  QCoreApplication::sendEvent(&view, &event);
}

void RunOperation(Session& s, int op, ByteReader& in) {
  CMainFrame& frame = s.frame;
  CWordsView* view = frame.CurrentView();
  if (!view) abort();
  FakeKeyboardState& keyboard = s.fake.keyboard;
  switch (op) {
    case 0:
    case 1:
    case 2:
    case 3:
    case 4:
    case 5: {  // a key by its virtual-key code
      const int virtualKey = in.Byte();
      const uint8_t state = in.Byte();
      keyboard.shift = state & 0x01;
      keyboard.ctrl = state & 0x02;
      keyboard.capsLock = state & 0x04;
      view->OnKeyDown(virtualKey);
      break;
    }
    case 6: SendKey(*view, in); break;
    case 7: SendClick(*view, in); break;
    case 8:
    case 9: {  // end-of-sound ticks of any view, shown or not
      auto& timers = s.fake.timers;
      FakeViewTimer* timer = timers[in.Byte() % timers.size()];
      for (int ticks = in.Byte() % 8 + 1; ticks > 0; --ticks) timer->Fire();
      break;
    }
    case 10: frame.OnCommand(kFirstFilterCommand + in.Byte() % 36); break;
    case 11: frame.OnCommand(cmd::kRepeatSound + in.Byte() % 4); break;  // F2 Alt+F2 F3 Alt+F3
    case 12: frame.OnCommand(cmd::kFirstMode + in.Byte() % 6); break;
    case 13:
      s.fake.files.answers.push_back(LessonChoice(in.Byte()));
      frame.OnCommand(cmd::kOpen);
      break;
    case 14: Resize(*view, in); break;
    case 15: {  // the next write or open of one view's wave output fails
      FakeWaveOut* out = s.fake.waveOuts[in.Byte() % s.fake.waveOuts.size()];
      const uint8_t how = in.Byte();
      const int result = kWaveOutResults[how % kWaveOutResults.size()];
      if (how & 0x80) {
        out->openResult = result;
      } else {
        out->writeResults.push_back(result);
      }
      break;
    }
    case 16:
      if (auto* video = dynamic_cast<CVideo1View*>(view)) {
        video->m_nPhraseRepeats = 1 + in.Byte() % 10;
        video->m_nPhraseDelay = in.Byte() * 40;
      }
      break;
    case 17: frame.OnCommand(in.Byte() & 1 ? cmd::kToggleToolbar : cmd::kToggleStatusBar); break;
    case 18: (void)view->grab(); break;  // a paint of the widget itself
    case 19: view->StopPlayback(in.Byte() & 1); break;
  }
}

// `selected`: the mode whose view chose a filter or opened a lesson in this step, or -1.
void CheckExams(Session& s, int selected) {
  for (int mode : {4, 5}) {
    const auto& exam = static_cast<const CExam1View&>(*s.frame.View(mode));
    if (mode == selected) s.filterAnswers[mode] = exam.m_nTotalCountAltWords + exam.m_rightAnswers;
    CheckExamCounters(exam, s.filterAnswers[mode]);
  }
}

}  // namespace
}  // namespace verbaro::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace verbaro;
  using namespace verbaro::fuzz;
  EnsureApplication();
  const InScratchFolder scratch;
  Lessons();
  CWordsView::SharedRepeatCounter() = 0;

  ByteReader in(data, size);
  const int mode = in.Byte() % 6;
  const uint8_t setup = in.Byte();

  auto session = std::make_unique<Session>();
  FakePlatform& fake = session->fake;
  if (setup & 0x04) fake.log.AttachMemory();
  CMainFrame& frame = session->frame;
  frame.CreateFrame(QRect(0, 0, 400, 300));
  for (int m = 0; m < 6; ++m) frame.View(m)->resize(320, 200);
  if (setup & 0x02) {
    for (FakeWaveOut* out : fake.waveOuts) out->openResult = waveout::kNoDevice;
  }
  frame.OnCommand(cmd::kFirstMode + mode);
  if (setup & 0x01) frame.CurrentView()->m_bIsSound = 0;
  if (!(setup & 0x40)) {
    fake.files.answers.push_back(LessonChoice(setup >> 4));
    frame.OnCommand(cmd::kOpen);
  }
  CheckExams(*session, mode);

  for (int step = 0; step < 400 && !in.Empty(); ++step) {
    const int op = in.Byte() % 20;
    const int current = frame.CurrentModeIndex();
    RunOperation(*session, op, in);
    CheckExams(*session, op == 10 || op == 13 ? current : -1);
  }
  return 0;
}
