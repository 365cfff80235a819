#pragma once
// The primary screen's work area (the desktop without panels), in pixels.
#include <QRect>

namespace verbaro {

class WorkArea {
 public:
  virtual ~WorkArea() = default;
  // An invalid (null) rectangle when it cannot be read.
  virtual QRect Get() const = 0;
};

class QtWorkArea : public WorkArea {
 public:
  QRect Get() const override;
};

}  // namespace verbaro
