#pragma once
// A sound server of the test's own, which it may stop and start again as a desktop's server
// restarts: PulseAudio, or PipeWire with WirePlumber and its pulse server (and a D-Bus session
// bus of its own, which WirePlumber needs). Everything lives in a private runtime folder, so no
// other test or program ever reaches it, and nothing that others use is touched: Stop ends only
// the processes this object started.
//
// Each start loads a new null sink, kSinkName, and makes it the default output; its monitor
// can be recorded. The kind comes from VERBARO_SOUND_SERVER ("pipewire", else PulseAudio).
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>
#include <vector>

namespace verbaro::test {

class PrivateSoundServer {
 public:
  enum class Kind { kPulseAudio, kPipeWire };
  static constexpr const char* kSinkName = "verbaro_private";

  static Kind KindFromEnvironment();
  explicit PrivateSoundServer(Kind kind = KindFromEnvironment());
  ~PrivateSoundServer();
  PrivateSoundServer(const PrivateSoundServer&) = delete;
  PrivateSoundServer& operator=(const PrivateSoundServer&) = delete;

  // Why this machine cannot run the server (a program is missing), or empty.
  QString Missing() const;
  // Starts the server and waits until it answers with its null sink as the default output;
  // false with a reason otherwise.
  bool Start(QString* reason);
  // Ends the server's processes: politely, or at once as a crash would.
  void Stop(bool kill = false);
  bool Running() const;

  // The address clients use (unix:<folder>/pulse/native). Point this process at it with
  // qputenv("PULSE_SERVER", ...) before its first sound client connects; pactl and parec
  // started afterwards inherit it.
  QString Address() const;
  QString Monitor() const { return QString::fromLatin1(kSinkName) + QStringLiteral(".monitor"); }
  Kind ServerKind() const { return m_kind; }

 private:
  bool Launch(const QString& program, const QStringList& arguments, QString* reason);
  bool WaitUntilAnswering(QString* reason);

  const Kind m_kind;
  QTemporaryDir m_folder;
  QProcessEnvironment m_environment;
  std::unique_ptr<QProcess> m_bus;  // WirePlumber's session bus; lives as long as the object
  std::vector<std::unique_ptr<QProcess>> m_processes;
};

// Runs pactl against the server this process uses; its trimmed output, or a null string when
// it fails.
QString RunPactl(const QStringList& arguments);

}  // namespace verbaro::test
