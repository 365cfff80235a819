#pragma once
// The French voice of espeak-ng, used for every lesson entry that has no recording of its own.
// espeak-ng keeps one global synthesiser per process; this wraps it, started on first use.
#include <optional>
#include <string>

#include "tools/Pcm.h"

namespace verbaro::lesson {

// A learner's pace: slower than espeak-ng's default of 175 words a minute.
inline constexpr int kSpeechWordsPerMinute = 140;

// Speaks UTF-8 text; returns mono PCM at the synthesiser's rate (22050 Hz), or nothing with
// `error` set (in Russian).
std::optional<Pcm> SpeakFrench(const std::string& text, std::string& error);

}  // namespace verbaro::lesson
