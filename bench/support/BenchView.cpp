#include "BenchView.h"

namespace verbaro::bench {

BenchView::BenchView(Factory make, QSize size) {
  fake.workArea.rect = QRect(QPoint(0, 0), size);
  m_pView = make(fake.Get());
  m_pView->SetFilterMenu(&m_filterMenu);
  m_pView->resize(size);
  m_pView->Create();
  m_pView->SetMainLog(&fake.log);
  // Timing the drawing, not the decoding: sound has its own benchmark.
  m_pView->m_bIsSound = 0;
}

BenchView::~BenchView() {
  m_pView.reset();
}

bool BenchView::Open(const std::string& path) {
  const size_t before = fake.messages.Texts().size();
  fake.files.answers.push_back(QString::fromStdString(path));
  const bool opened = m_pView->OpenLesson();
  return opened && fake.messages.Texts().size() == before;
}

}  // namespace verbaro::bench
