#pragma once
// Small desktop services: the current time in seconds (its interface lives with the exam rules),
// the simple beep, and opening a web or mail address with the desktop's handler.
#include <QString>
#include <cstdint>
#include <vector>

#include "data/Clock.h"

namespace verbaro {

class FakeClock : public Clock {
 public:
  int64_t seconds = 1'700'000'000;
  int64_t NowSeconds() const override { return seconds; }
};

class Beeper {
 public:
  virtual ~Beeper() = default;
  virtual void Beep() = 0;
};

class QtBeeper : public Beeper {
 public:
  void Beep() override;
};

class FakeBeeper : public Beeper {
 public:
  int beeps = 0;
  void Beep() override { ++beeps; }
};

class UrlOpener {
 public:
  virtual ~UrlOpener() = default;
  virtual void Open(const QString& address) = 0;
};

class QtUrlOpener : public UrlOpener {
 public:
  void Open(const QString& address) override;
};

class FakeUrlOpener : public UrlOpener {
 public:
  std::vector<QString> opened;
  void Open(const QString& address) override { opened.push_back(address); }
};

}  // namespace verbaro
