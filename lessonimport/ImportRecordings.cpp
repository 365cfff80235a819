#include "lessonimport/ImportRecordings.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <optional>
#include <thread>

#include "lessonimport/LessonRecording.h"
#include "lessonimport/ParallelVoicing.h"

namespace verbaro::lessonimport {
namespace {

// The outcome of one given recording, before the voice takes over the failed ones.
struct GivenOutcome {
  std::optional<LessonRecording> recording;
  std::string error;
};

// Reads each given recording (one at a time: a package's reader is not shared between threads)
// and converts it, on as many threads as there are cores.
std::vector<GivenOutcome> ConvertGiven(const std::vector<ImportedEntry>& entries,
                                       const std::vector<size_t>& withSound,
                                       const SourceMedia* media,
                                       const std::function<void()>& oneDone) {
  std::vector<GivenOutcome> outcomes(withSound.size());
  std::atomic<size_t> next{0};
  std::mutex reading;
  std::mutex reporting;
  const auto work = [&] {
    for (size_t i = next++; i < withSound.size(); i = next++) {
      const ImportedEntry& entry = entries[withSound[i]];
      GivenOutcome& outcome = outcomes[i];
      std::optional<std::vector<uint8_t>> bytes;
      {
        const std::lock_guard lock(reading);
        if (media) bytes = media->Read(entry.sound, outcome.error);
        else outcome.error = "в источнике нет записей";
      }
      if (bytes) outcome.recording = MakeLessonRecording(*bytes, entry.sound, outcome.error);
      const std::lock_guard lock(reporting);
      oneDone();
    }
  };
  const unsigned threads =
      std::max(1u, std::min<unsigned>(std::thread::hardware_concurrency(),
                                      static_cast<unsigned>(withSound.size())));
  std::vector<std::thread> pool;
  for (unsigned t = 1; t < threads; ++t) pool.emplace_back(work);
  work();
  for (std::thread& thread : pool) thread.join();
  return outcomes;
}

}  // namespace

EntryRecordings MakeEntryRecordings(const std::vector<ImportedEntry>& entries,
                                    const SourceMedia* media, const RecordingProgress& progress) {
  EntryRecordings result;
  result.mp3.resize(entries.size());
  std::vector<size_t> withSound;
  for (size_t i = 0; i < entries.size(); ++i)
    if (!entries[i].sound.empty()) withSound.push_back(i);

  size_t total = entries.size();
  size_t done = 0;
  const auto oneDone = [&] {
    ++done;
    if (progress) progress(done, total);
  };

  std::vector<size_t> toVoice;
  const std::vector<GivenOutcome> given = ConvertGiven(entries, withSound, media, oneDone);
  for (size_t i = 0; i < withSound.size(); ++i) {
    const size_t at = withSound[i];
    if (given[i].recording) {
      result.mp3[at] = given[i].recording->mp3;
      ++(given[i].recording->converted ? result.converted : result.given);
    } else {
      result.warnings.push_back(entries[at].place + ": запись «" + entries[at].sound +
                                "» не принята (" + given[i].error +
                                "); слово озвучено голосом espeak-ng");
      toVoice.push_back(at);
    }
  }
  // Each failed recording counted once already: its voicing is counted again.
  total += toVoice.size();
  for (size_t i = 0; i < entries.size(); ++i)
    if (entries[i].sound.empty()) toVoice.push_back(i);
  std::sort(toVoice.begin(), toVoice.end());

  std::vector<std::string> texts;
  for (const size_t at : toVoice) texts.push_back(entries[at].word);
  const std::vector<VoicedWord> voiced = VoiceInParallel(texts, 0, oneDone);
  for (size_t i = 0; i < toVoice.size(); ++i) {
    const size_t at = toVoice[i];
    if (voiced[i].mp3.empty()) {
      result.errors.push_back(entries[at].place + ": слово «" + entries[at].word +
                              "» не озвучено: " + voiced[i].error);
      continue;
    }
    result.mp3[at] = voiced[i].mp3;
    ++result.voiced;
  }
  return result;
}

}  // namespace verbaro::lessonimport
