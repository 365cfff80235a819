#pragma once
// CVideo1View: the passive mode "Видео-1". The lesson plays through by itself in its direct
// orientation: each entry is shown and sounded as often as the repeat setting says, then the
// next, until the end of the filter. The end-of-sound timer of the base drives it; this class
// adds the mode's set-up and its keys.
#include <cstdint>

#include "views/WordsView.h"

namespace verbaro {

// What a key does in a Video view, worked out from the position alone so that the rules can be
// checked without a widget.
struct VideoKeyResult {
  enum class Action {
    TogglePlay,   // Space: flip the run switch, draw nothing
    EndOfFilter,  // moving past the last entry: tell the learner, change nothing
    Repaint,      // draw (and sound) the entry at `position`
  };
  Action action = Action::Repaint;
  int32_t position = 0;        // the position after the key
  bool resetMp3Index = false;  // the entry shown next starts with its first recording
};

// The Video key table: `position` is the place in the filter, `count` the number of its entries.
VideoKeyResult ApplyVideoKey(int virtualKey, int32_t position, int32_t count);

inline constexpr char16_t kEndOfFilterText[] = u"Закончились данные по выбранному фильтру!";

class CVideo1View : public CWordsView {
  Q_OBJECT

 public:
  explicit CVideo1View(const Platform& platform, QWidget* parent = nullptr);

  std::u16string GetModeName() const override;
  // Loads with the filters built and the first one selected.
  bool LoadLesson() override;
  void OnKeyDown(int virtualKey) override;

 protected:
  void OnCreate() override;
  // The flags both Video modes set when their window is created, then their pictures.
  void SetUpVideoMode(bool contraVersa, int backgroundId, const QString& backgroundFile, int logoId,
                      const QString& logoFile);
};

}  // namespace verbaro
