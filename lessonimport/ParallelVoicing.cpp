#include "lessonimport/ParallelVoicing.h"

#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>
#include <thread>
#include <utility>

#include "tools/FrenchSpeech.h"
#include "tools/Mp3Encode.h"

namespace verbaro::lessonimport {
namespace {

// A worker's message for one word: its index, whether it succeeded, the length of what follows,
// then the MP3 or the error text.
struct FrameHeader {
  uint32_t index = 0;
  uint32_t ok = 0;
  uint32_t length = 0;
};

bool WriteAll(int fd, const void* data, size_t size) {
  const auto* bytes = static_cast<const uint8_t*>(data);
  while (size > 0) {
    const ssize_t written = write(fd, bytes, size);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes += written;
    size -= static_cast<size_t>(written);
  }
  return true;
}

// The worker: every `stride`-th text from `first`; ends the process without running the
// parent's exit handlers.
[[noreturn]] void RunWorker(const std::vector<std::string>& texts, size_t first, size_t stride,
                            int fd) {
  for (size_t i = first; i < texts.size(); i += stride) {
    std::string error;
    std::optional<std::vector<uint8_t>> mp3;
    if (const std::optional<lesson::Pcm> speech = lesson::SpeakFrench(texts[i], error))
      mp3 = lesson::EncodeLessonMp3(*speech, error);
    const FrameHeader header{static_cast<uint32_t>(i), mp3 ? 1u : 0u,
                             static_cast<uint32_t>(mp3 ? mp3->size() : error.size())};
    const bool sent =
        WriteAll(fd, &header, sizeof header) &&
        (mp3 ? WriteAll(fd, mp3->data(), mp3->size()) : WriteAll(fd, error.data(), error.size()));
    if (!sent) _exit(1);
  }
  close(fd);
  _exit(0);
}

// What has arrived from one worker and is not yet a whole message.
struct WorkerPipe {
  pid_t pid = -1;
  int fd = -1;
  std::vector<uint8_t> pending;
};

// Takes the whole messages out of `pending` into the results.
void TakeMessages(WorkerPipe& pipe, std::vector<VoicedWord>& results, std::vector<bool>& arrived,
                  const std::function<void()>& oneDone) {
  size_t at = 0;
  while (pipe.pending.size() - at >= sizeof(FrameHeader)) {
    FrameHeader header;
    std::memcpy(&header, pipe.pending.data() + at, sizeof header);
    if (pipe.pending.size() - at - sizeof header < header.length) break;
    const uint8_t* body = pipe.pending.data() + at + sizeof header;
    if (header.index < results.size() && !arrived[header.index]) {
      VoicedWord& word = results[header.index];
      if (header.ok) word.mp3.assign(body, body + header.length);
      else word.error.assign(reinterpret_cast<const char*>(body), header.length);
      arrived[header.index] = true;
      if (oneDone) oneDone();
    }
    at += sizeof header + header.length;
  }
  pipe.pending.erase(pipe.pending.begin(), pipe.pending.begin() + static_cast<std::ptrdiff_t>(at));
}

}  // namespace

std::vector<VoicedWord> VoiceInParallel(const std::vector<std::string>& texts, unsigned workers,
                                        const std::function<void()>& oneDone) {
  std::vector<VoicedWord> results(texts.size());
  if (texts.empty()) return results;
  if (workers == 0) workers = std::max(1u, std::thread::hardware_concurrency());
  workers = static_cast<unsigned>(std::min<size_t>(workers, texts.size()));

  std::vector<WorkerPipe> pipes;
  for (unsigned k = 0; k < workers; ++k) {
    int fds[2];
    if (pipe(fds) != 0) break;
    const pid_t pid = fork();
    if (pid == 0) {
      close(fds[0]);
      for (const WorkerPipe& other : pipes) close(other.fd);
      RunWorker(texts, k, workers, fds[1]);
    }
    close(fds[1]);
    if (pid < 0) {
      close(fds[0]);
      break;
    }
    pipes.push_back({pid, fds[0], {}});
  }
  std::vector<bool> arrived(texts.size(), false);
  std::vector<uint8_t> buffer(64 * 1024);
  size_t open = pipes.size();
  while (open > 0) {
    std::vector<pollfd> polled;
    for (const WorkerPipe& pipe : pipes)
      if (pipe.fd >= 0) polled.push_back({pipe.fd, POLLIN, 0});
    if (poll(polled.data(), polled.size(), -1) < 0) {
      if (errno == EINTR) continue;
      break;
    }
    for (const pollfd& ready : polled) {
      if (!(ready.revents & (POLLIN | POLLHUP | POLLERR))) continue;
      WorkerPipe& pipe = *std::find_if(pipes.begin(), pipes.end(),
                                       [&](const WorkerPipe& p) { return p.fd == ready.fd; });
      const ssize_t got = read(pipe.fd, buffer.data(), buffer.size());
      if (got < 0 && errno == EINTR) continue;
      if (got <= 0) {
        close(pipe.fd);
        pipe.fd = -1;
        --open;
        continue;
      }
      pipe.pending.insert(pipe.pending.end(), buffer.begin(), buffer.begin() + got);
      TakeMessages(pipe, results, arrived, oneDone);
    }
  }
  for (WorkerPipe& pipe : pipes) {
    if (pipe.fd >= 0) close(pipe.fd);
    int status = 0;
    while (waitpid(pipe.pid, &status, 0) < 0 && errno == EINTR) {
    }
  }
  // Words of a worker that could not start or ended early are spoken here.
  for (size_t i = 0; i < texts.size(); ++i) {
    if (arrived[i]) continue;
    VoicedWord& word = results[i];
    if (const std::optional<lesson::Pcm> speech = lesson::SpeakFrench(texts[i], word.error)) {
      if (std::optional<std::vector<uint8_t>> mp3 = lesson::EncodeLessonMp3(*speech, word.error))
        word.mp3 = std::move(*mp3);
    }
    if (oneDone) oneDone();
  }
  return results;
}

}  // namespace verbaro::lessonimport
