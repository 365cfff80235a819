// Recordings from other audio: what the trainer plays is kept byte for byte, other formats
// become the lesson's MP3 with their sound, and nothing too long, damaged or unknown gets in.
#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <thread>

#include "AudioFiles.h"
#include "lessonimport/AudioDecode.h"
#include "lessonimport/LessonRecording.h"
#include "tests/support/Files.h"
#include "tests/support/TempFolder.h"
#include "tools/Mp3Inspect.h"

namespace verbaro::lessonimport {
namespace {

using testing::Bytes;
using testing::CrossingsPerSecond;
using testing::RunCommand;
using testing::SoxTone;

// Audio files written by the encoders of their formats in a scratch folder.
class Encoded {
 public:
  // `command` with {in} and {out} replaced by the quoted paths of `source` and of `name`.
  std::filesystem::path Make(const std::string& name, const std::filesystem::path& source,
                             std::string command) const {
    for (const auto& [mark, path] :
         {std::pair{std::string("{in}"), source}, {std::string("{out}"), Path(name)}})
      if (const size_t at = command.find(mark); at != std::string::npos)
        command.replace(at, mark.size(), "'" + path.string() + "'");
    RunCommand(command);
    return Path(name);
  }
  std::filesystem::path Tone(const std::string& name, double seconds,
                             const std::string& soxOptions) const {
    return SoxTone(Path(name), seconds, soxOptions);
  }
  std::filesystem::path Path(const std::string& name) const { return m_folder.Path() / name; }
  std::optional<LessonRecording> Recording(const std::string& name, std::string& error) const {
    return MakeLessonRecording(Bytes(Path(name)), name, error);
  }

 private:
  test::TempFolder m_folder;
};

void ExpectRefused(const Encoded& files, const std::string& name, const std::string& says) {
  SCOPED_TRACE(name);
  std::string error;
  EXPECT_FALSE(files.Recording(name, error));
  EXPECT_NE(error.find(says), std::string::npos) << error;
}

TEST(LessonRecording, KeepsEveryMp3TheTrainerPlaysByteForByte) {
  const Encoded files;
  const auto stereo = files.Tone("tone.wav", 1.0, "-r 44100 -c 2");
  files.Make("lesson.mp3", stereo, "lame --quiet -b 64 {in} {out}");
  files.Make("mono.mp3", files.Tone("mono.wav", 1.0, "-r 22050 -c 1"),
             "lame --quiet -m m -b 32 {in} {out}");
  files.Make("tagged.mp3", stereo, "lame --quiet --tt Maison --add-id3v2 {in} {out}");
  for (const char* name : {"lesson.mp3", "mono.mp3", "tagged.mp3"}) {
    SCOPED_TRACE(name);
    std::string error;
    const auto recording = files.Recording(name, error);
    ASSERT_TRUE(recording) << error;
    EXPECT_FALSE(recording->converted);
    EXPECT_EQ(recording->mp3, Bytes(files.Path(name)));
  }
}

TEST(LessonRecording, ConvertsOtherAudioToTheLessonFormatWithItsSound) {
  const Encoded files;
  const auto cd = files.Tone("cd.wav", 1.0, "-r 44100 -c 2");
  const std::string ffmpeg = "ffmpeg -nostdin -loglevel error -i {in} ";
  files.Make("flac.flac", files.Tone("mono.wav", 1.5, "-r 44100 -c 1"), "flac -s -o {out} {in}");
  files.Make("vorbis.ogg", files.Tone("22k.wav", 0.8, "-r 22050 -c 2"), "oggenc -Q -o {out} {in}");
  files.Make("opus.opus", files.Tone("48k.wav", 1.2, "-r 48000 -c 1"),
             "opusenc --quiet {in} {out}");
  files.Tone("pcm8k.wav", 1.0, "-r 8000 -c 1");
  files.Tone("float96k.wav", 0.5, "-r 96000 -c 2 -e floating-point -b 32");
  files.Tone("six.wav", 1.0, "-r 48000 -c 6");
  files.Tone("tone.aiff", 0.7, "-r 32000 -c 2");
  files.Make("aac.m4a", cd, ffmpeg + "-c:a aac -b:a 96k {out}");
  files.Make("adts.aac", cd, ffmpeg + "-c:a aac -ar 22050 -ac 1 {out}");
  files.Make("alac.m4a", cd, ffmpeg + "-c:a alac {out}");
  files.Make("six.m4a", cd, ffmpeg + "-c:a aac -ac 6 -ar 48000 {out}");

  struct Case {
    const char* name;
    double seconds;
    double within;  // AAC without a container keeps the encoder's priming and padding
  };
  for (const Case& c :
       {Case{"flac.flac", 1.5, 0.06}, Case{"vorbis.ogg", 0.8, 0.06}, Case{"opus.opus", 1.2, 0.06},
        Case{"pcm8k.wav", 1.0, 0.06}, Case{"float96k.wav", 0.5, 0.06}, Case{"six.wav", 1.0, 0.06},
        Case{"tone.aiff", 0.7, 0.06}, Case{"aac.m4a", 1.0, 0.06}, Case{"adts.aac", 1.0, 0.1},
        Case{"alac.m4a", 1.0, 0.06}, Case{"six.m4a", 1.0, 0.06}}) {
    SCOPED_TRACE(c.name);
    std::string error;
    const auto recording = files.Recording(c.name, error);
    ASSERT_TRUE(recording) << error;
    EXPECT_TRUE(recording->converted);
    const lesson::Mp3Stream stream = lesson::InspectMp3(recording->mp3, /*keepPcm=*/true);
    EXPECT_TRUE(lesson::IsLessonFormat(stream)) << stream.error;
    EXPECT_NEAR(static_cast<double>(stream.frames) / 44100.0, c.seconds, c.within);
    // The tone keeps its pitch whatever the source's rate: 440 Hz crosses zero 880 times a second.
    EXPECT_NEAR(CrossingsPerSecond(stream.pcm.samples), 880.0, 30.0);
  }
}

TEST(LessonRecording, RefusesSoundLongerThanTheTrainerPlaysWithoutDecodingItAll) {
  const Encoded files;
  // Eleven minutes of silence compress to little in every format.
  const auto wav = files.Make("long.wav", {}, "sox -n -r 8000 -c 1 -b 16 {out} trim 0 660");
  files.Make("long.flac", wav, "flac -s -o {out} {in}");
  files.Make("long.ogg", wav, "oggenc -Q -o {out} {in}");
  files.Make("long.mp3", wav, "lame --quiet -b 8 {in} {out}");
  // Streams whose length is not declared up front are stopped while they are read.
  files.Make("undeclared.ogg", wav,
             "sox {in} -t raw - | sox -t raw -r 8000 -e signed -b 16 -c 1 - {out}");
  for (const char* name : {"long.m4a", "long.aac"})
    files.Make(name, {},
               "ffmpeg -nostdin -loglevel error -f lavfi -i anullsrc=r=8000:cl=mono -t 660 -c:a "
               "aac {out}");
  for (const char* name : {"long.flac", "long.ogg", "long.mp3", "long.wav", "undeclared.ogg",
                           "long.m4a", "long.aac"}) {
    const auto started = std::chrono::steady_clock::now();
    ExpectRefused(files, name, "запись длиннее 10 минут");
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(20)) << name;
  }
  // Just under the limit is decoded whole (its encoding is the case above).
  files.Make("under.flac", {}, "sox -n -r 8000 -c 1 -b 16 {out} synth 599.9 sine 440 vol 0.001");
  AudioFailure failure = AudioFailure::Other;
  std::string error;
  const auto under = DecodeWithSndfile(Bytes(files.Path("under.flac")), failure, error);
  ASSERT_TRUE(under) << error;
  EXPECT_EQ(under->Frames(), size_t{4799200});  // 599.9 s at 8 kHz
}

TEST(LessonRecording, RefusesWhatIsNoSoundItCanReadWithTheReason) {
  const Encoded files;
  const auto wav = files.Tone("tone.wav", 0.5, "-r 44100 -c 1");
  std::vector<uint8_t> bytes = Bytes(wav);
  bytes.resize(44);  // the header alone: no sound
  test::WriteFileBytes(files.Path("header.wav"), bytes);
  bytes.resize(4000);
  std::mt19937 random(7);
  for (uint8_t& byte : bytes) byte = static_cast<uint8_t>(random());
  for (const char* name : {"noise.ogg", "noise.mp3"}) test::WriteFileBytes(files.Path(name), bytes);
  const uint8_t frameHeader[] = {0xFF, 0xFB, 0x90, 0x64};
  std::copy(std::begin(frameHeader), std::end(frameHeader), bytes.begin());
  test::WriteFileBytes(files.Path("frame.mp3"), bytes);
  test::WriteFileBytes(files.Path("empty.mp3"), {});
  const std::string m4a(
      "\0\0\0\x20"
      "ftypM4A \0\0\0\0M4A mp42isom",
      28);
  test::WriteFileBytes(files.Path("header.m4a"), {m4a.begin(), m4a.end()});
  test::WriteFileBytes(files.Path("page.html"), {'<', 'p', '>', 'x'});
  files.Make("mp3inside.mp4", wav, "ffmpeg -nostdin -loglevel error -i {in} -c:a libmp3lame {out}");
  files.Make("aac.m4a", wav, "ffmpeg -nostdin -loglevel error -i {in} -c:a aac {out}");
  bytes = Bytes(files.Path("aac.m4a"));
  bytes.resize(bytes.size() / 3);
  test::WriteFileBytes(files.Path("cut.m4a"), bytes);

  for (const auto& [name, says] : std::initializer_list<std::pair<const char*, const char*>>{
           {"empty.mp3", "пустой"},
           {"noise.ogg", "не распознан"},
           {"noise.mp3", "MP3 не декодируется"},
           {"frame.mp3", "MP3 не декодируется"},
           {"header.wav", "WAV: "},
           {"header.m4a", "M4A/AAC: "},
           {"page.html", "HTML не поддерживается"},
           {"mp3inside.mp4", "M4A/AAC: кодек mp3 не поддерживается"},
           {"cut.m4a", "M4A/AAC: "}})
    ExpectRefused(files, name, says);
}

TEST(LessonRecording, GivesTheSameRecordingWhenConvertedOnManyThreadsAtOnce) {
  const Encoded files;
  const auto wav = files.Tone("tone.wav", 0.6, "-r 22050 -c 1");
  const std::vector<uint8_t> flac = Bytes(files.Make("tone.flac", wav, "flac -s -o {out} {in}"));
  const std::vector<uint8_t> mp3 = Bytes(files.Make("tone.mp3", wav, "lame --quiet {in} {out}"));
  std::string error;
  const auto alone = MakeLessonRecording(flac, "tone.flac", error);
  ASSERT_TRUE(alone) << error;

  std::vector<std::optional<LessonRecording>> converted(6), kept(6);
  std::vector<std::thread> threads;
  for (size_t i = 0; i < converted.size(); ++i) {
    threads.emplace_back([&, i] {
      std::string threadError;
      converted[i] = MakeLessonRecording(flac, "tone.flac", threadError);
      kept[i] = MakeLessonRecording(mp3, "tone.mp3", threadError);
    });
  }
  for (std::thread& thread : threads) thread.join();
  for (size_t i = 0; i < converted.size(); ++i) {
    ASSERT_TRUE(converted[i] && kept[i]);
    EXPECT_EQ(converted[i]->mp3, alone->mp3);
    EXPECT_EQ(kept[i]->mp3, mp3);
  }
}

}  // namespace
}  // namespace verbaro::lessonimport
