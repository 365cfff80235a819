#pragma once
// The beep counted and the opened addresses kept.
#include <QString>
#include <vector>

#include "platform/Desktop.h"

namespace verbaro {

class FakeBeeper : public Beeper {
 public:
  int beeps = 0;
  void Beep() override { ++beeps; }
};

class FakeUrlOpener : public UrlOpener {
 public:
  std::vector<QString> opened;
  void Open(const QString& address) override { opened.push_back(address); }
};

}  // namespace verbaro
