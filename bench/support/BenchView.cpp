#include "BenchView.h"

namespace verbaro::bench {

BenchView::BenchView(Factory make, QSize size) {
  fake.workArea.rect = QRect(QPoint(0, 0), size);
  m_view = make(fake.Get());
  m_view->SetFilterMenu(&m_filterMenu);
  m_view->resize(size);
  m_view->Create();
  m_view->SetMainLog(&fake.log);
  // Timing the drawing, not the decoding: sound has its own benchmark.
  m_view->m_bIsSound = 0;
}

BenchView::~BenchView() { m_view.reset(); }

bool BenchView::Open(const std::string& path) {
  const size_t before = fake.messages.Texts().size();
  fake.files.answers.push_back(QString::fromStdString(path));
  const bool opened = m_view->OpenLesson();
  return opened && fake.messages.Texts().size() == before;
}

}  // namespace verbaro::bench
