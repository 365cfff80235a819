#pragma once
// CVideo2View: the passive mode "Видео-2", the lesson reversed: an entry is a translation that
// may carry several recordings, one per foreign word with that translation. Each tick sounds the
// entry's next recording; after the last one the tick moves on to the next entry.
#include "views/Video1View.h"

namespace verbaro {

class CVideo2View : public CVideo1View {
  Q_OBJECT

 public:
  explicit CVideo2View(const Platform& platform, QWidget* parent = nullptr);

  std::u16string GetModeName() const override;
  // Loads the lesson, then reverses it (which builds the filters and selects the first one).
  bool LoadLesson() override;

 protected:
  void OnCreate() override;
};

}  // namespace verbaro
