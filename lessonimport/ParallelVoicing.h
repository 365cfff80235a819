#pragma once
// The French voice for many words at once. espeak-ng keeps one synthesiser per process, so the
// words are shared out among worker processes, as many as there are cores; each speaks its words,
// encodes them to the lesson's MP3 and sends them back through a pipe.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace verbaro::lessonimport {

struct VoicedWord {
  std::vector<uint8_t> mp3;  // empty when it failed
  std::string error;         // why, in Russian
};

// One result per text, in order. `oneDone` is called in this process as each word arrives.
// `workers` 0: one per core. Call it while this process runs no other thread.
std::vector<VoicedWord> VoiceInParallel(const std::vector<std::string>& texts, unsigned workers,
                                        const std::function<void()>& oneDone);

}  // namespace verbaro::lessonimport
