#pragma once
// The short warning tone of a wrong keystroke or a wrong exam answer. Played asynchronously,
// independent of the word's output; each start cuts off the one before.

namespace verbaro {

class ErrorSignal {
 public:
  virtual ~ErrorSignal() = default;
  virtual void Play() = 0;
};

}  // namespace verbaro
