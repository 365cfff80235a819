// From exec to the first visible window: starts PROGRAM LESSON in a fresh process with a fresh
// home of its own (settings, progress and caches in an empty scratch folder), on the X display
// of $DISPLAY, and takes the moment the server maps a top-level window of that process (its
// _NET_WM_PID). Prints every start and the median; the resident memory of the process at that
// moment is taken from /proc beside it. Plain C++ and xcb, no Qt: the harness itself loads
// nothing the program would then find warm.
//
//   first_window_bench PROGRAM LESSON [--runs=5] [--against=OTHER] [--store=FILE]
//
// With --store, every fresh home starts with a copy of FILE as the learner's progress store (a
// learner with a history instead of a first start).
// With --against, the starts of OTHER (another build of the program) alternate with those of
// PROGRAM, so that both see the same load, and the ratio of the medians is printed too.
//
// scripts/bench_start.sh installs a Release build into a scratch prefix, starts Xvfb and runs
// this on the installed program with the starter lesson.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;

double NowMs() {
  using Clock = std::chrono::steady_clock;
  return std::chrono::duration<double, std::milli>(Clock::now().time_since_epoch()).count();
}

struct Start {
  double windowMs = 0;
  double cpuMs = 0;  // run time of all the process's threads until then
  double residentMb = 0;
};

// The environment of this process with the home folders of a first start in `home`.
std::vector<std::string> FreshEnvironment(const fs::path& home) {
  const char* replaced[] = {
      "HOME=", "XDG_CONFIG_HOME=", "XDG_DATA_HOME=", "XDG_CACHE_HOME=", "XDG_STATE_HOME="};
  std::vector<std::string> env;
  for (char** entry = environ; *entry; ++entry) {
    const std::string text = *entry;
    const bool drop = std::any_of(std::begin(replaced), std::end(replaced),
                                  [&text](const char* name) { return text.starts_with(name); });
    if (!drop) env.push_back(text);
  }
  env.push_back("HOME=" + home.string());
  env.push_back("XDG_CONFIG_HOME=" + (home / ".config").string());
  env.push_back("XDG_DATA_HOME=" + (home / ".local/share").string());
  env.push_back("XDG_CACHE_HOME=" + (home / ".cache").string());
  env.push_back("XDG_STATE_HOME=" + (home / ".local/state").string());
  return env;
}

// The sound server's client settings (address, cookie) stay reachable from the fresh home, as
// they are from a learner's: without them the program would look for a server in vain.
void KeepSoundServerSettings(const fs::path& home) {
  const char* own = std::getenv("XDG_CONFIG_HOME");
  const char* user = std::getenv("HOME");
  const fs::path pulse = own && *own ? fs::path(own) / "pulse"
                         : user      ? fs::path(user) / ".config/pulse"
                                     : fs::path();
  std::error_code error;
  if (!pulse.empty() && fs::is_directory(pulse, error)) {
    fs::create_directories(home / ".config", error);
    fs::copy(pulse, home / ".config/pulse", fs::copy_options::recursive, error);
  }
}

double ResidentMb(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  for (std::string line; std::getline(status, line);) {
    if (line.starts_with("VmRSS:")) return std::strtod(line.c_str() + 6, nullptr) / 1024.0;
  }
  return 0;
}

// The time the threads of `pid` have run so far (the first figure of each thread's schedstat, in
// nanoseconds): less at the mercy of other processes on the machine than the wall clock.
double CpuMs(pid_t pid) {
  double total = 0;
  std::error_code error;
  for (const fs::directory_entry& task :
       fs::directory_iterator("/proc/" + std::to_string(pid) + "/task", error)) {
    std::ifstream schedstat(task.path() / "schedstat");
    double nanoseconds = 0;
    if (schedstat >> nanoseconds) total += nanoseconds / 1e6;
  }
  return total;
}

xcb_atom_t Atom(xcb_connection_t* x, const char* name) {
  xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
      x, xcb_intern_atom(x, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
  const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
  std::free(reply);
  return atom;
}

std::optional<uint32_t> WindowPid(xcb_connection_t* x, xcb_window_t window, xcb_atom_t pidAtom) {
  xcb_get_property_reply_t* reply = xcb_get_property_reply(
      x, xcb_get_property(x, 0, window, pidAtom, XCB_ATOM_CARDINAL, 0, 1), nullptr);
  std::optional<uint32_t> pid;
  if (reply && xcb_get_property_value_length(reply) == 4) {
    pid = *static_cast<const uint32_t*>(xcb_get_property_value(reply));
  }
  std::free(reply);
  return pid;
}

class Display {
 public:
  Display() : m_x(xcb_connect(nullptr, nullptr)) {}
  ~Display() { xcb_disconnect(m_x); }
  Display(const Display&) = delete;
  Display& operator=(const Display&) = delete;

  bool Open() {
    if (xcb_connection_has_error(m_x)) return false;
    m_root = xcb_setup_roots_iterator(xcb_get_setup(m_x)).data->root;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(m_x, m_root, XCB_CW_EVENT_MASK, &mask);
    m_pidAtom = Atom(m_x, "_NET_WM_PID");
    xcb_flush(m_x);
    return true;
  }

  // Waits up to `timeoutMs` for a top-level window of `pid` to be mapped; the moment it was
  // seen, or nothing.
  std::optional<double> WaitForWindowOf(pid_t pid, double timeoutMs) {
    const double end = NowMs() + timeoutMs;
    pollfd fd{xcb_get_file_descriptor(m_x), POLLIN, 0};
    while (NowMs() < end) {
      while (xcb_generic_event_t* event = xcb_poll_for_event(m_x)) {
        const double seen = NowMs();
        const bool mapped = (event->response_type & 0x7F) == XCB_MAP_NOTIFY;
        const auto* map = reinterpret_cast<const xcb_map_notify_event_t*>(event);
        const bool ours = mapped && !map->override_redirect && map->event == m_root &&
                          WindowPid(m_x, map->window, m_pidAtom) == static_cast<uint32_t>(pid);
        std::free(event);
        if (ours) return seen;
      }
      if (xcb_connection_has_error(m_x)) return std::nullopt;
      poll(&fd, 1, 50);
    }
    return std::nullopt;
  }

 private:
  xcb_connection_t* m_x;
  xcb_window_t m_root = 0;
  xcb_atom_t m_pidAtom = XCB_ATOM_NONE;
};

std::optional<Start> StartOnce(Display& display, const std::string& program,
                               const std::string& lesson, const std::string& store) {
  char folder[] = "/tmp/verbaro-first-window-XXXXXX";
  if (!mkdtemp(folder)) return std::nullopt;
  const fs::path home = folder;
  KeepSoundServerSettings(home);
  if (!store.empty()) {
    const fs::path place = home / ".local/share/verbaro";
    std::error_code error;
    fs::create_directories(place, error);
    if (error || !fs::copy_file(store, place / "progress.sqlite", error)) {
      std::fprintf(stderr, "cannot copy the store %s\n", store.c_str());
      fs::remove_all(home, error);
      return std::nullopt;
    }
  }
  std::vector<std::string> env = FreshEnvironment(home);
  std::vector<char*> envp;
  for (std::string& entry : env) envp.push_back(entry.data());
  envp.push_back(nullptr);
  std::string programArg = program, lessonArg = lesson;
  char* argv[] = {programArg.data(), lessonArg.data(), nullptr};

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  const double started = NowMs();
  const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, envp.data());
  posix_spawn_file_actions_destroy(&actions);
  std::optional<Start> start;
  if (spawned == 0) {
    if (const std::optional<double> seen = display.WaitForWindowOf(pid, 10'000)) {
      start = Start{*seen - started, CpuMs(pid), ResidentMb(pid)};
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
  }
  std::error_code ignored;
  fs::remove_all(home, ignored);
  return start;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

struct Series {
  std::vector<double> window, cpu, resident;
  void Print(const char* name) const {
    std::printf(
        "%s: exec to first window: median %.1f ms (min %.1f, max %.1f) of %zu starts; %.1f ms "
        "CPU, %.1f MB resident\n",
        name, Median(window), *std::min_element(window.begin(), window.end()),
        *std::max_element(window.begin(), window.end()), window.size(), Median(cpu),
        Median(resident));
  }
};

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s PROGRAM LESSON [--runs=N] [--against=OTHER] [--store=FILE]\n",
                 argv[0]);
    return 2;
  }
  int runs = 5;
  std::string store;
  std::vector<std::string> programs = {argv[1]};
  for (int i = 3; i < argc; ++i) {
    if (std::strncmp(argv[i], "--runs=", 7) == 0) runs = std::max(1, std::atoi(argv[i] + 7));
    if (std::strncmp(argv[i], "--against=", 10) == 0) programs.emplace_back(argv[i] + 10);
    if (std::strncmp(argv[i], "--store=", 8) == 0) store = argv[i] + 8;
  }
  Display display;
  if (!display.Open()) {
    std::fprintf(stderr, "no X display (DISPLAY=%s)\n",
                 std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "");
    return 1;
  }
  std::vector<Series> series(programs.size());
  for (int run = 0; run < runs; ++run) {
    for (size_t p = 0; p < programs.size(); ++p) {
      const std::optional<Start> start = StartOnce(display, programs[p], argv[2], store);
      if (!start) {
        std::fprintf(stderr, "%s, start %d: no window within 10 s\n", programs[p].c_str(), run + 1);
        return 1;
      }
      std::printf("%s start %d: window after %.1f ms (%.1f ms CPU), %.1f MB resident\n",
                  p == 0 ? "program" : "against", run + 1, start->windowMs, start->cpuMs,
                  start->residentMb);
      series[p].window.push_back(start->windowMs);
      series[p].cpu.push_back(start->cpuMs);
      series[p].resident.push_back(start->residentMb);
    }
  }
  series[0].Print("program");
  if (series.size() > 1) {
    series[1].Print("against");
    std::printf("program / against: %.2fx wall, %.2fx CPU\n",
                Median(series[0].window) / Median(series[1].window),
                Median(series[0].cpu) / Median(series[1].cpu));
  }
  return 0;
}
