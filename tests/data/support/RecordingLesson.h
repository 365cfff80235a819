#pragma once
// A lesson state with the view's hooks replaced by recorders, and in-memory records for tests
// that do not need a file.
#include <initializer_list>
#include <string>
#include <vector>

#include "data/DiagnosticLog.h"
#include "data/LessonState.h"

namespace verbaro::test {

struct ShownMessage {
  std::u16string caption;
  std::u16string text;
};

class RecordingLesson : public LessonState {
 public:
  RecordingLesson() {
    m_log.AttachMemory();
    SetLogStream(&m_log);
  }

  void ShowMessage(MessageKind kind, std::u16string_view text) override {
    messages.push_back({std::u16string(CaptionOf(kind)), std::u16string(text)});
  }
  void Repaint() override { ++repaints; }
  bool BuildFilterMenu() override {
    ++menuBuilds;
    return menuResult;
  }
  std::u16string GetModeName() const override { return u"Модуль \"Конспект-1\""; }
  bool SetUserExamData() override {
    ++examDataCalls;
    return examDataResult;
  }
  void StopSound() override {
    ++stopSounds;
    LessonState::StopSound();
  }

  std::string LogText() const { return m_log.Text(); }

  std::vector<ShownMessage> messages;
  int repaints = 0;
  int menuBuilds = 0;
  int stopSounds = 0;
  int examDataCalls = 0;
  bool menuResult = true;
  bool examDataResult = true;

 private:
  DiagnosticLog m_log;
};

// A direct record with one recording of `recordingSize` bytes (seeded by the key's length).
WordsData Record(std::u16string gram, std::u16string number, std::u16string key,
                 std::initializer_list<std::u16string> answers, int recordingSize = 4);

}  // namespace verbaro::test
