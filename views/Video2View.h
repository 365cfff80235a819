#pragma once
// CVideo2View: the passive mode "Видео-2", the lesson reversed: an entry is a translation that
// may carry several recordings, one per foreign word with that translation. Each tick sounds the
// entry's next recording; after the last one the selection moves to the next entry by itself.
#include "views/Video1View.h"

namespace verbaro {

class CVideo2View : public CVideo1View {
  Q_OBJECT

 public:
  explicit CVideo2View(const Platform& platform, QWidget* parent = nullptr);

  std::u16string GetModeName() const override;
  // Loads the lesson, then reverses it (which builds the filters and selects the first one).
  bool LoadLesson() override;
  void Repaint() override;
  // The end-of-sound tick. The record selection moves to the next entry as soon as it picks the
  // previous entry's last recording, so arriving at the last entry of the filter does not mean
  // it was heard: its recordings are sounded through before the end of the filter is told.
  void OnTimer() override;

 protected:
  void OnCreate() override;

 private:

  // The last repaint sounded (or skipped) the last recording of the last entry of the filter.
  bool m_bLastEntryDone = false;
};

}  // namespace verbaro
