#include "SoundServer.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QStandardPaths>
#include <QThread>
#include <csignal>

namespace verbaro::test {

namespace {

constexpr int kStartMilliseconds = 30000;

QString Pactl(const QProcessEnvironment& environment, const QStringList& arguments) {
  QProcess pactl;
  pactl.setProcessEnvironment(environment);
  pactl.start(QStringLiteral("pactl"), arguments);
  if (!pactl.waitForFinished(5000)) {
    pactl.kill();
    pactl.waitForFinished();
    return {};
  }
  if (pactl.exitStatus() != QProcess::NormalExit || pactl.exitCode() != 0) return {};
  const QString output = QString::fromUtf8(pactl.readAllStandardOutput()).trimmed();
  return output.isNull() ? QStringLiteral("") : output;
}

void End(QProcess& process, bool kill) {
  if (process.state() == QProcess::NotRunning) return;
  if (kill) {
    process.kill();
  } else {
    process.terminate();
  }
  if (!process.waitForFinished(5000)) {
    process.kill();
    process.waitForFinished(5000);
  }
}

}  // namespace

QString RunPactl(const QStringList& arguments) {
  return Pactl(QProcessEnvironment::systemEnvironment(), arguments);
}

PrivateSoundServer::Kind PrivateSoundServer::KindFromEnvironment() {
  return qEnvironmentVariable("VERBARO_SOUND_SERVER") == QStringLiteral("pipewire")
             ? Kind::kPipeWire
             : Kind::kPulseAudio;
}

PrivateSoundServer::PrivateSoundServer(Kind kind) : m_kind(kind) {
  // Short: a socket's path must fit in 108 bytes.
  m_folder.setAutoRemove(true);
  const QString root = m_folder.path();
  m_environment = QProcessEnvironment::systemEnvironment();
  for (const char* name : {"PULSE_SERVER", "PULSE_SINK", "DISPLAY", "WAYLAND_DISPLAY",
                           "PIPEWIRE_REMOTE", "DBUS_SESSION_BUS_ADDRESS"}) {
    m_environment.remove(QString::fromLatin1(name));
  }
  for (const QString& sub : {QStringLiteral("home"), QStringLiteral("config"),
                             QStringLiteral("state"), QStringLiteral("runtime")}) {
    QDir(root).mkpath(sub);
  }
  QFile::setPermissions(root + QStringLiteral("/runtime"),
                        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  m_environment.insert(QStringLiteral("HOME"), root + QStringLiteral("/home"));
  m_environment.insert(QStringLiteral("XDG_CONFIG_HOME"), root + QStringLiteral("/config"));
  m_environment.insert(QStringLiteral("XDG_STATE_HOME"), root + QStringLiteral("/state"));
  m_environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), root + QStringLiteral("/runtime"));
  m_environment.insert(QStringLiteral("PIPEWIRE_RUNTIME_DIR"), root + QStringLiteral("/runtime"));
  if (m_kind == Kind::kPipeWire) {
    m_environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"),
                         QStringLiteral("unix:path=") + root + QStringLiteral("/runtime/bus"));
  }
}

PrivateSoundServer::~PrivateSoundServer() {
  Stop();
  if (m_bus) End(*m_bus, false);
}

QString PrivateSoundServer::Address() const {
  return QStringLiteral("unix:") + m_folder.path() + QStringLiteral("/runtime/pulse/native");
}

QString PrivateSoundServer::Missing() const {
  QStringList programs{QStringLiteral("pactl"), QStringLiteral("parec")};
  if (m_kind == Kind::kPipeWire) {
    programs << QStringLiteral("pipewire") << QStringLiteral("wireplumber")
             << QStringLiteral("pipewire-pulse") << QStringLiteral("dbus-daemon");
  } else {
    programs << QStringLiteral("pulseaudio");
  }
  for (const QString& program : programs) {
    if (QStandardPaths::findExecutable(program).isEmpty()) {
      return program + QStringLiteral(" is not installed");
    }
  }
  if (!m_folder.isValid()) return QStringLiteral("no temporary folder");
  return {};
}

bool PrivateSoundServer::Running() const {
  if (m_processes.empty()) return false;
  for (const auto& process : m_processes) {
    if (process->state() == QProcess::NotRunning) return false;
  }
  return true;
}

bool PrivateSoundServer::Launch(const QString& program, const QStringList& arguments,
                                QString* reason) {
  auto process = std::make_unique<QProcess>();
  process->setProcessEnvironment(m_environment);
  process->setWorkingDirectory(m_folder.path());
  process->setStandardOutputFile(QProcess::nullDevice());
  process->setStandardErrorFile(
      m_folder.path() + QStringLiteral("/") + program + QStringLiteral(".log"), QIODevice::Append);
  process->start(program, arguments);
  if (!process->waitForStarted(5000)) {
    *reason = program + QStringLiteral(" does not start: ") + process->errorString();
    return false;
  }
  m_processes.push_back(std::move(process));
  return true;
}

bool PrivateSoundServer::Start(QString* reason) {
  if (const QString missing = Missing(); !missing.isEmpty()) {
    *reason = missing;
    return false;
  }
  Stop();
  if (m_kind == Kind::kPulseAudio) {
    // -n: only the modules named here, no configuration of the machine's.
    if (!Launch(QStringLiteral("pulseaudio"),
                {QStringLiteral("--daemonize=no"), QStringLiteral("--system=false"),
                 QStringLiteral("--exit-idle-time=-1"), QStringLiteral("-n"),
                 QStringLiteral("--realtime=no"), QStringLiteral("--high-priority=no"),
                 QStringLiteral("--log-level=error"),
                 QStringLiteral("--load=module-native-protocol-unix auth-anonymous=1")},
                reason)) {
      return false;
    }
  } else {
    if (!m_bus) {
      m_bus = std::make_unique<QProcess>();
      m_bus->setProcessEnvironment(m_environment);
      m_bus->setStandardOutputFile(QProcess::nullDevice());
      m_bus->start(
          QStringLiteral("dbus-daemon"),
          {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--nopidfile"),
           QStringLiteral("--address=") +
               m_environment.value(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"))});
      if (!m_bus->waitForStarted(5000)) {
        *reason = QStringLiteral("dbus-daemon does not start");
        return false;
      }
    }
    // The graph, then its session manager (which links streams to sinks), then the pulse server.
    if (!Launch(QStringLiteral("pipewire"), {}, reason)) return false;
    const QString graph = m_folder.path() + QStringLiteral("/runtime/pipewire-0");
    const QDeadlineTimer up(kStartMilliseconds);
    while (!QFile::exists(graph) && !up.hasExpired()) QThread::msleep(10);
    if (!Launch(QStringLiteral("wireplumber"), {}, reason)) return false;
    if (!Launch(QStringLiteral("pipewire-pulse"), {}, reason)) return false;
  }
  return WaitUntilAnswering(reason);
}

bool PrivateSoundServer::WaitUntilAnswering(QString* reason) {
  QProcessEnvironment clients = m_environment;
  clients.insert(QStringLiteral("PULSE_SERVER"), Address());
  const QDeadlineTimer deadline(kStartMilliseconds);
  while (Pactl(clients, {QStringLiteral("info")}).isNull()) {
    if (!Running() || deadline.hasExpired()) {
      *reason = QStringLiteral("the private sound server does not answer (logs in ") +
                m_folder.path() + QStringLiteral(")");
      m_folder.setAutoRemove(false);
      return false;
    }
    QThread::msleep(20);
  }
  const QString sink = QString::fromLatin1(kSinkName);
  if (Pactl(clients, {QStringLiteral("load-module"), QStringLiteral("module-null-sink"),
                      QStringLiteral("sink_name=") + sink, QStringLiteral("rate=44100")})
          .isNull()) {
    *reason = QStringLiteral("the private sound server does not load its null sink");
    return false;
  }
  // PipeWire's pulse server keeps the default in WirePlumber's settings, which are there only
  // once WirePlumber runs; the default output holding shows that streams will be linked too.
  while (Pactl(clients, {QStringLiteral("set-default-sink"), sink}).isNull() ||
         Pactl(clients, {QStringLiteral("get-default-sink")}) != sink) {
    if (deadline.hasExpired()) {
      *reason = QStringLiteral("the null sink does not become the default output");
      return false;
    }
    QThread::msleep(20);
  }
  return true;
}

void PrivateSoundServer::Stop(bool kill) {
  // The pulse server first, the graph last, as a session ends them.
  for (auto it = m_processes.rbegin(); it != m_processes.rend(); ++it) End(**it, kill);
  m_processes.clear();
}

}  // namespace verbaro::test
