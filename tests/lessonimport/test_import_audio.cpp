// Recordings from other audio: what the trainer plays is kept byte for byte, other formats
// become the lesson's MP3 with their sound, and nothing too long, damaged or unknown gets in.
#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <thread>

#include "AudioFiles.h"
#include "tests/support/TempFolder.h"
#include "lessonimport/AudioDecode.h"
#include "lessonimport/LessonRecording.h"
#include "tools/Mp3Inspect.h"

namespace verbaro::lessonimport {
namespace {

using testing::Bytes;
using testing::CrossingsPerSecond;
using testing::RunCommand;
using testing::SoxTone;

std::string Quoted(const std::filesystem::path& path) { return "'" + path.string() + "'"; }

TEST(LessonRecording, KeepsEveryMp3TheTrainerPlaysByteForByte) {
  const test::TempFolder folder;
  const auto wav = SoxTone(folder.Path() / "tone.wav", 1.0, "-r 44100 -c 2");
  const auto mono = SoxTone(folder.Path() / "mono.wav", 1.0, "-r 22050 -c 1");
  struct Case {
    const char* name;
    std::string command;
  };
  const std::vector<Case> cases = {
      {"lesson.mp3", "lame --quiet -b 64 " + Quoted(wav) + " " + Quoted(folder.Path() / "lesson.mp3")},
      {"mono.mp3", "lame --quiet -m m -b 32 " + Quoted(mono) + " " + Quoted(folder.Path() / "mono.mp3")},
      {"tagged.mp3", "lame --quiet --tt Maison --add-id3v2 " + Quoted(wav) + " " + Quoted(folder.Path() / "tagged.mp3")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RunCommand(c.command);
    const std::vector<uint8_t> given = Bytes(folder.Path() / c.name);
    std::string error;
    const auto recording = MakeLessonRecording(given, c.name, error);
    ASSERT_TRUE(recording) << error;
    EXPECT_FALSE(recording->converted);
    EXPECT_EQ(recording->mp3, given);
  }
}

TEST(LessonRecording, ConvertsOtherAudioToTheLessonFormatWithItsSound) {
  const test::TempFolder folder;
  const auto source = [&](const char* name, double seconds, const char* options) {
    return SoxTone(folder.Path() / name, seconds, options);
  };
  const auto flacWav = source("for-flac.wav", 1.5, "-r 44100 -c 1");
  RunCommand("flac -s -o " + Quoted(folder.Path() / "flac.flac") + " " + Quoted(flacWav));
  const auto oggWav = source("for-ogg.wav", 0.8, "-r 22050 -c 2");
  RunCommand("oggenc -Q -o " + Quoted(folder.Path() / "vorbis.ogg") + " " + Quoted(oggWav));
  const auto opusWav = source("for-opus.wav", 1.2, "-r 48000 -c 1");
  RunCommand("opusenc --quiet " + Quoted(opusWav) + " " + Quoted(folder.Path() / "opus.opus"));
  source("pcm8k.wav", 1.0, "-r 8000 -c 1 -b 16");
  source("float96k.wav", 0.5, "-r 96000 -c 2 -e floating-point -b 32");
  source("six.wav", 1.0, "-r 48000 -c 6");
  source("tone.aiff", 0.7, "-r 32000 -c 2");

  struct Case {
    const char* name;
    double seconds;
  };
  for (const Case& c : {Case{"flac.flac", 1.5}, Case{"vorbis.ogg", 0.8}, Case{"opus.opus", 1.2},
                        Case{"pcm8k.wav", 1.0}, Case{"float96k.wav", 0.5}, Case{"six.wav", 1.0},
                        Case{"tone.aiff", 0.7}}) {
    SCOPED_TRACE(c.name);
    std::string error;
    const auto recording = MakeLessonRecording(Bytes(folder.Path() / c.name), c.name, error);
    ASSERT_TRUE(recording) << error;
    EXPECT_TRUE(recording->converted);
    const lesson::Mp3Stream stream = lesson::InspectMp3(recording->mp3, /*keepPcm=*/true);
    ASSERT_TRUE(stream.decodable) << stream.error;
    EXPECT_TRUE(lesson::IsLessonFormat(stream));
    EXPECT_NEAR(static_cast<double>(stream.frames) / 44100.0, c.seconds, 0.06);
    // The tone keeps its pitch whatever the source's rate: 440 Hz crosses zero 880 times a second.
    EXPECT_NEAR(CrossingsPerSecond(stream.pcm.samples), 880.0, 30.0);
  }
}

TEST(LessonRecording, RefusesSoundLongerThanTheTrainerPlaysWithoutDecodingItAll) {
  const test::TempFolder folder;
  // Eleven minutes of silence compress to little in every format.
  RunCommand("sox -n -r 8000 -c 1 -b 16 " + Quoted(folder.Path() / "long.wav") + " trim 0 660");
  RunCommand("flac -s -o " + Quoted(folder.Path() / "long.flac") + " " + Quoted(folder.Path() / "long.wav"));
  RunCommand("oggenc -Q -o " + Quoted(folder.Path() / "long.ogg") + " " + Quoted(folder.Path() / "long.wav"));
  RunCommand("lame --quiet -b 8 " + Quoted(folder.Path() / "long.wav") + " " + Quoted(folder.Path() / "long.mp3"));
  // A stream whose length is not declared up front is stopped while it is read.
  RunCommand("sox " + Quoted(folder.Path() / "long.wav") + " -t raw - | sox -t raw -r 8000 -e signed -b 16 -c 1 - " +
      Quoted(folder.Path() / "undeclared.ogg"));
  for (const char* name : {"long.flac", "long.ogg", "long.mp3", "long.wav", "undeclared.ogg"}) {
    SCOPED_TRACE(name);
    std::string error;
    const auto started = std::chrono::steady_clock::now();
    EXPECT_FALSE(MakeLessonRecording(Bytes(folder.Path() / name), name, error));
    EXPECT_NE(error.find("длиннее 10 минут"), std::string::npos) << error;
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(20));
  }
  // Just under the limit is decoded whole (its encoding is the case above).
  RunCommand("sox -n -r 8000 -c 1 -b 16 " + Quoted(folder.Path() / "under.flac") + " synth 599.9 sine 440 vol 0.001");
  AudioFailure failure = AudioFailure::Other;
  std::string error;
  const auto under = DecodeWithSndfile(Bytes(folder.Path() / "under.flac"), failure, error);
  ASSERT_TRUE(under) << error;
  EXPECT_EQ(under->Frames(), size_t{4799200});  // 599.9 s at 8 kHz
}

TEST(LessonRecording, RefusesWhatIsNoSoundItCanReadWithTheReason) {
  const test::TempFolder folder;
  const auto wav = SoxTone(folder.Path() / "tone.wav", 0.5, "-r 44100 -c 1");
  std::vector<uint8_t> truncatedWav = Bytes(wav);
  truncatedWav.resize(44);  // the header alone: no sound
  std::vector<uint8_t> noise(4000);
  std::mt19937 random(7);
  for (uint8_t& byte : noise) byte = static_cast<uint8_t>(random());
  std::vector<uint8_t> mp3Garbage = noise;
  mp3Garbage[0] = 0xFF, mp3Garbage[1] = 0xFB, mp3Garbage[2] = 0x90, mp3Garbage[3] = 0x64;
  const std::string m4a = std::string("\0\0\0\x20" "ftypM4A \0\0\0\0M4A mp42isom", 28);
  const std::string text = "<html>not a sound</html>";

  struct Case {
    const char* name;
    std::vector<uint8_t> bytes;
    const char* says;
  };
  const std::vector<Case> cases = {
      {"empty.mp3", {}, "пустой"},
      {"noise.ogg", noise, "не распознан"},
      {"noise.mp3", noise, "MP3 не декодируется"},
      {"frame.mp3", mp3Garbage, "MP3 не декодируется"},
      {"header.wav", truncatedWav, "WAV"},
      {"voice.m4a", {m4a.begin(), m4a.end()}, "M4A/AAC: "},
      {"page.html", {text.begin(), text.end()}, "HTML не поддерживается"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string error;
    EXPECT_FALSE(MakeLessonRecording(c.bytes, c.name, error));
    EXPECT_NE(error.find(c.says), std::string::npos) << error;
  }
}

TEST(LessonRecording, DecodesM4aAndAacWithFfmpegAndOnlyTheirCodecs) {
  const test::TempFolder folder;
  const auto wav = SoxTone(folder.Path() / "tone.wav", 1.0, "-r 44100 -c 2");
  const auto ffmpeg = [&](const std::string& options, const char* name) {
    RunCommand("ffmpeg -nostdin -loglevel error -i " + Quoted(wav) + " " + options + " " + Quoted(folder.Path() / name));
  };
  ffmpeg("-c:a aac -b:a 96k", "aac.m4a");
  ffmpeg("-c:a aac -ar 22050 -ac 1", "adts.aac");
  ffmpeg("-c:a alac", "alac.m4a");
  ffmpeg("-c:a aac -ac 6 -ar 48000", "six.m4a");
  for (const char* name : {"aac.m4a", "adts.aac", "alac.m4a", "six.m4a"}) {
    SCOPED_TRACE(name);
    std::string error;
    const auto recording = MakeLessonRecording(Bytes(folder.Path() / name), name, error);
    ASSERT_TRUE(recording) << error;
    EXPECT_TRUE(recording->converted);
    const lesson::Mp3Stream stream = lesson::InspectMp3(recording->mp3, /*keepPcm=*/true);
    EXPECT_TRUE(lesson::IsLessonFormat(stream));
    // AAC adds its priming samples at the start unless the container says to drop them.
    EXPECT_NEAR(static_cast<double>(stream.frames) / 44100.0, 1.0, 0.08);
    EXPECT_NEAR(CrossingsPerSecond(stream.pcm.samples), 880.0, 30.0);
  }

  ffmpeg("-c:a libmp3lame", "mp3inside.mp4");
  for (const char* name : {"long.m4a", "long.aac"})
    RunCommand("ffmpeg -nostdin -loglevel error -f lavfi -i anullsrc=r=8000:cl=mono -t 660 -c:a aac " +
               Quoted(folder.Path() / name));
  std::vector<uint8_t> cut = Bytes(folder.Path() / "aac.m4a");
  cut.resize(cut.size() / 3);
  folder.Write("cut.m4a", cut);
  struct Case {
    const char* name;
    const char* says;
  };
  for (const Case& c : {Case{"mp3inside.mp4", "M4A/AAC: кодек mp3 не поддерживается"},
                        Case{"long.m4a", "M4A/AAC: запись длиннее 10 минут"},
                        Case{"long.aac", "M4A/AAC: запись длиннее 10 минут"}, Case{"cut.m4a", "M4A/AAC: "}}) {
    SCOPED_TRACE(c.name);
    std::string error;
    EXPECT_FALSE(MakeLessonRecording(Bytes(folder.Path() / c.name), c.name, error));
    EXPECT_NE(error.find(c.says), std::string::npos) << error;
  }
}

TEST(LessonRecording, GivesTheSameRecordingWhenConvertedOnManyThreadsAtOnce) {
  const test::TempFolder folder;
  const auto wav = SoxTone(folder.Path() / "tone.wav", 0.6, "-r 22050 -c 1");
  RunCommand("flac -s -o " + Quoted(folder.Path() / "tone.flac") + " " + Quoted(wav));
  RunCommand("lame --quiet " + Quoted(wav) + " " + Quoted(folder.Path() / "tone.mp3"));
  const std::vector<uint8_t> flac = Bytes(folder.Path() / "tone.flac");
  const std::vector<uint8_t> mp3 = Bytes(folder.Path() / "tone.mp3");
  std::string error;
  const auto alone = MakeLessonRecording(flac, "tone.flac", error);
  ASSERT_TRUE(alone) << error;

  constexpr int kThreads = 6;
  std::vector<std::optional<LessonRecording>> converted(kThreads), kept(kThreads);
  std::vector<std::thread> threads;
  for (int i = 0; i < kThreads; ++i) {
    threads.emplace_back([&, i] {
      std::string threadError;
      converted[static_cast<size_t>(i)] = MakeLessonRecording(flac, "tone.flac", threadError);
      kept[static_cast<size_t>(i)] = MakeLessonRecording(mp3, "tone.mp3", threadError);
    });
  }
  for (std::thread& thread : threads) thread.join();
  for (int i = 0; i < kThreads; ++i) {
    ASSERT_TRUE(converted[static_cast<size_t>(i)] && kept[static_cast<size_t>(i)]);
    EXPECT_EQ(converted[static_cast<size_t>(i)]->mp3, alone->mp3);
    EXPECT_EQ(kept[static_cast<size_t>(i)]->mp3, mp3);
  }
}

}  // namespace
}  // namespace verbaro::lessonimport
