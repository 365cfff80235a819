// What the learner hears: the time from a key (F2 on a loaded entry) to the first sound at the
// monitor of the sound server's null sink. The whole program as it runs (main frame, Conspect-1
// view, the starter lesson, the real wave output on the default output, real timers); only the
// message boxes, the file dialog and the error signal are fakes. Every recording of the lesson
// copy is a tone that is loud from its first sample, so the first sound is the recording's
// start.
//
// Each key is sent as the desktop delivers it (a key event with F2's physical key code to the
// view that has the focus) after the previous sound has ended. Printed per key and as the
// median, with the part spent before the wave output's Write returned (decoding, opening,
// handing over) and the rest (the server starting the stream and mixing it).
//
//   key_to_sound_bench [--keys=N] [--monitor=SOURCE] [--label=TEXT]
//
// It uses the sound server that PULSE_SERVER names (scripts/bench_sound.sh starts a private
// PulseAudio and a private PipeWire in turn). Not a test: it checks no target.
#include <sqlite3.h>
#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/Commands.h"
#include "app/MainFrame.h"
#include "platform/PulseWaveOut.h"
#include "platform/ViewTimer.h"
#include "sound/Mp3Player.h"
#include "support/BenchLessons.h"
#include "support/MonitorListener.h"
#include "tests/fakes/FakePlatform.h"
#include "views/WordsView.h"

namespace verbaro::bench {
namespace {

using Clock = MonitorListener::Clock;
constexpr int kThreshold = 1000;
constexpr quint32 kF2Keycode = 68;  // X11 keycode of the physical F2 key

std::vector<uint8_t> ReadFile(const std::string& path) {
  QFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::ReadOnly)) return {};
  const QByteArray bytes = file.readAll();
  return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// The wave output of the program, noting when each Write returned.
class TimedWaveOut : public WaveOut {
 public:
  explicit TimedWaveOut(Clock::time_point* written) : m_written(written) {}
  int Open(const PcmFormat& format) override { return m_out.Open(format); }
  int Write(const uint8_t* data, size_t bytes) override {
    const int result = m_out.Write(data, bytes);
    *m_written = Clock::now();
    return result;
  }
  void Reset() override { m_out.Reset(); }
  void Close() override { m_out.Close(); }
  bool IsOpen() const override { return m_out.IsOpen(); }

 private:
  PulseWaveOut m_out;
  Clock::time_point* m_written;
};

// Seconds from the start of 16-bit stereo PCM to its first frame whose mono mix (as the
// listener records it) is audible: what the recording itself puts before its sound.
double LeadIn(const std::vector<uint8_t>& pcm) {
  const auto* samples = reinterpret_cast<const int16_t*>(pcm.data());
  const size_t frames = pcm.size() / 4;
  for (size_t i = 0; i < frames; ++i) {
    if (std::abs((int{samples[2 * i]} + int{samples[2 * i + 1]}) / 2) > kThreshold) {
      return static_cast<double>(i) / MonitorListener::kRate;
    }
  }
  return 0;
}

void Spin(int milliseconds) {
  const Clock::time_point until = Clock::now() + std::chrono::milliseconds(milliseconds);
  while (Clock::now() < until) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    QThread::msleep(1);
  }
}

// Runs the event loop until the monitor has been silent for quietMs.
void WaitForSilence(const MonitorListener& listener, int quietMs, int atMostMs) {
  const Clock::time_point give_up = Clock::now() + std::chrono::milliseconds(atMostMs);
  while (Clock::now() < give_up &&
         Clock::now() - listener.LastSound() < std::chrono::milliseconds(quietMs)) {
    Spin(10);
  }
}

// A copy of the starter lesson whose every recording is the 1 s test tone.
std::string ToneLesson() {
  static QTemporaryDir folder;
  const std::string path = folder.filePath(QStringLiteral("tones.db")).toStdString();
  const std::vector<uint8_t> tone =
      ReadFile(std::string(VERBARO_TEST_FIXTURES) + "/mp3/tone_1s_44k_stereo.mp3");
  if (!folder.isValid() || tone.empty() ||
      !QFile::copy(QString::fromStdString(StarterLessonPath()), QString::fromStdString(path))) {
    std::fprintf(stderr, "key_to_sound_bench: cannot make the tone lesson\n");
    return {};
  }
  QFile::setPermissions(QString::fromStdString(path),
                        QFileDevice::ReadOwner | QFileDevice::WriteOwner);
  sqlite3* db = nullptr;
  sqlite3_stmt* update = nullptr;
  bool ok = sqlite3_open(path.c_str(), &db) == SQLITE_OK &&
            sqlite3_prepare_v2(db, "UPDATE FrRuDict SET Mp3Word = ?;", -1, &update, nullptr) ==
                SQLITE_OK &&
            sqlite3_bind_blob(update, 1, tone.data(), static_cast<int>(tone.size()),
                              SQLITE_STATIC) == SQLITE_OK &&
            sqlite3_step(update) == SQLITE_DONE;
  sqlite3_finalize(update);
  sqlite3_close(db);
  if (!ok) std::fprintf(stderr, "key_to_sound_bench: cannot write the tone lesson\n");
  return ok ? path : std::string();
}

std::string Option(int argc, char** argv, const std::string& name, const std::string& otherwise) {
  const std::string prefix = "--" + name + "=";
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (argument.rfind(prefix, 0) == 0) return argument.substr(prefix.size());
  }
  return otherwise;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

int Run(int argc, char** argv) {
  const int keys = std::max(1, std::atoi(Option(argc, argv, "keys", "20").c_str()));
  const std::string monitor = Option(argc, argv, "monitor", "verbaro_null.monitor");
  const std::string label = Option(argc, argv, "label", "sound server");

  MonitorListener listener(kThreshold);
  std::string reason;
  if (!listener.Start(monitor, &reason)) {
    std::fprintf(stderr, "key_to_sound_bench: %s\n", reason.c_str());
    return 1;
  }

  Clock::time_point written;
  FakePlatform fake;
  Platform platform = fake.Get();
  platform.makeTimer = [] { return std::unique_ptr<ViewTimer>(std::make_unique<QtViewTimer>()); };
  platform.makeWaveOut = [&written] {
    return std::unique_ptr<WaveOut>(std::make_unique<TimedWaveOut>(&written));
  };
  CMainFrame frame(platform);
  if (!frame.CreateFrame(QRect(0, 0, 1000, 700))) return 1;
  frame.show();
  const std::string lesson = ToneLesson();
  if (lesson.empty()) return 1;
  fake.files.answers.push_back(QString::fromStdString(lesson));
  frame.OnCommand(cmd::kOpen);  // File/Open: the first entry is shown and sounded
  CWordsView* view = frame.CurrentView();
  if (!view || !fake.messages.shown.empty()) {
    std::fprintf(stderr, "key_to_sound_bench: the starter lesson does not open\n");
    return 1;
  }
  // The entry sounds as the lesson opens: once it has been heard and has ended, the keys begin.
  const Clock::time_point opened = Clock::now();
  while (listener.LastSound() < opened && Clock::now() - opened < std::chrono::seconds(5)) Spin(5);
  WaitForSilence(listener, 300, 5000);

  std::vector<double> total, program, server;
  for (int key = 0; key < keys; ++key) {
    listener.Arm();
    const Clock::time_point pressed = Clock::now();
    QKeyEvent f2(QEvent::KeyPress, Qt::Key_F2, Qt::NoModifier, kF2Keycode, 0, 0);
    QApplication::sendEvent(frame.CurrentView(), &f2);
    const Clock::time_point give_up = Clock::now() + std::chrono::seconds(3);
    while (!listener.Onset() && Clock::now() < give_up) Spin(1);
    if (!listener.Onset() || !fake.messages.shown.empty()) {
      std::fprintf(stderr, "key_to_sound_bench: key %d was not heard\n", key + 1);
      return 1;
    }
    const double leadIn = LeadIn(view->Player().m_pSoundBuffer) * 1000;
    const double heard = Ms(*listener.Onset() - pressed);
    total.push_back(heard);
    program.push_back(Ms(written - pressed));
    server.push_back(heard - program.back());
    std::printf(
        "%s key %2d: %6.2f ms (to Write %5.2f ms, server %6.2f ms; the recording's own lead-in "
        "%.1f ms)\n",
        label.c_str(), key + 1, heard, program.back(), server.back(), leadIn);
    WaitForSilence(listener, 300, 10000);
  }
  std::printf(
      "%s: key to first sound, median of %d keys: %.1f ms (min %.1f, max %.1f); "
      "to Write %.2f ms, server %.1f ms\n",
      label.c_str(), keys, Median(total), *std::min_element(total.begin(), total.end()),
      *std::max_element(total.begin(), total.end()), Median(program), Median(server));
  return 0;
}

}  // namespace
}  // namespace verbaro::bench

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  return verbaro::bench::Run(argc, argv);
}
