#pragma once
// Small desktop services: the current time in seconds (its interface lives with the exam rules),
// the simple beep, and opening a web or mail address with the desktop's handler.
#include <QString>
#include <cstdint>
#include <vector>

#include "data/Clock.h"

namespace verbaro {

class Beeper {
 public:
  virtual ~Beeper() = default;
  virtual void Beep() = 0;
};

class QtBeeper : public Beeper {
 public:
  void Beep() override;
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

}  // namespace verbaro
