#pragma once
// One study view on fake desktop services, as the frame sets it up: its window created, the
// Filters menu it fills, the diagnostic log passed in (not attached,
// as in a normal run), the surfaces and the client area of the given size, and sound off.
#include <QSize>
#include <memory>
#include <string>

#include "tests/fakes/FakeFilterMenu.h"
#include "tests/fakes/FakePlatform.h"
#include "views/WordsView.h"

namespace verbaro::bench {

class BenchView {
 public:
  using Factory = std::unique_ptr<CWordsView> (*)(const Platform&);

  template <typename V>
  static std::unique_ptr<CWordsView> Make(const Platform& platform) {
    return std::make_unique<V>(platform);
  }

  BenchView(Factory make, QSize size);
  ~BenchView();
  BenchView(const BenchView&) = delete;
  BenchView& operator=(const BenchView&) = delete;

  // The view's Open command with the file chooser answering `path`. False when the view
  // refused the lesson or showed any message.
  bool Open(const std::string& path);

  CWordsView& View() const { return *m_view; }
  template <typename V>
  V& As() const {
    return static_cast<V&>(*m_view);
  }

  FakePlatform fake;

 private:
  FakeFilterMenu m_filterMenu;
  std::unique_ptr<CWordsView> m_view;
};

}  // namespace verbaro::bench
