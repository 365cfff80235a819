#include "tools/FrenchSpeech.h"

#include <espeak-ng/speak_lib.h>

namespace verbaro::lesson {
namespace {

// Silence before the word, so that an audio output that starts late does not clip its first
// sound, and after it, so that the word does not end abruptly.
constexpr int kLeadInMs = 80;
constexpr int kTailMs = 120;

// Collects the samples that espeak-ng hands over while it synthesises one text.
int CollectSamples(short* samples, int count, espeak_EVENT* events) {
  auto* pcm = static_cast<Pcm*>(events ? events->user_data : nullptr);
  if (pcm && samples && count > 0)
    pcm->samples.insert(pcm->samples.end(), samples, samples + count);
  return 0;  // go on
}

class Synthesiser {
 public:
  Synthesiser() {
    // Synchronous: espeak_Synth returns when all samples went through the callback.
    // DONT_EXIT: a missing voice data folder must be an error, not the end of the process.
    m_rate = espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, 0, nullptr, espeakINITIALIZE_DONT_EXIT);
    if (m_rate <= 0) {
      m_error = "espeak-ng не запускается (нет данных голосов?)";
      return;
    }
    espeak_SetSynthCallback(CollectSamples);
    if (espeak_SetVoiceByName("fr") != EE_OK) {
      m_error = "в espeak-ng нет французского голоса";
      return;
    }
    espeak_SetParameter(espeakRATE, kSpeechWordsPerMinute, 0);
    m_ready = true;
  }
  ~Synthesiser() {
    if (m_rate > 0) espeak_Terminate();
  }
  Synthesiser(const Synthesiser&) = delete;
  Synthesiser& operator=(const Synthesiser&) = delete;

  std::optional<Pcm> Speak(const std::string& text, std::string& error) {
    if (!m_ready) {
      error = m_error;
      return std::nullopt;
    }
    Pcm pcm;
    pcm.rate = m_rate;
    pcm.channels = 1;
    pcm.samples.assign(static_cast<size_t>(m_rate * kLeadInMs / 1000), 0);
    const size_t leadIn = pcm.samples.size();
    const espeak_ERROR result = espeak_Synth(text.c_str(), text.size() + 1, 0, POS_CHARACTER, 0,
                                             espeakCHARS_UTF8, nullptr, &pcm);
    if (result != EE_OK) {
      error = "espeak-ng не смог произнести текст";
      return std::nullopt;
    }
    if (pcm.samples.size() == leadIn) {
      error = "espeak-ng не выдал звука";
      return std::nullopt;
    }
    pcm.samples.resize(pcm.samples.size() + static_cast<size_t>(m_rate * kTailMs / 1000), 0);
    return pcm;
  }

 private:
  int m_rate = 0;
  bool m_ready = false;
  std::string m_error;
};

}  // namespace

std::optional<Pcm> SpeakFrench(const std::string& text, std::string& error) {
  static Synthesiser synthesiser;
  return synthesiser.Speak(text, error);
}

}  // namespace verbaro::lesson
