#pragma once
// The one-shot end-of-sound timer of a view (timer id 0). Start replaces a running timer.
#include <functional>
#include <memory>
#include <vector>

class QTimer;

namespace verbaro {

class ViewTimer {
 public:
  virtual ~ViewTimer() = default;
  virtual void Start(unsigned milliseconds) = 0;
  virtual void Kill() = 0;
  virtual bool IsActive() const = 0;
  std::function<void()> onTimeout;
};

class QtViewTimer : public ViewTimer {
 public:
  QtViewTimer();
  ~QtViewTimer() override;
  void Start(unsigned milliseconds) override;
  void Kill() override;
  bool IsActive() const override;

 private:
  std::unique_ptr<QTimer> m_timer;
};

}  // namespace verbaro
