#include "BenchView.h"

#include <QMenu>

namespace verbaro::bench {

BenchView::BenchView(Factory make, QSize size) {
  fake.workArea.rect = QRect(QPoint(0, 0), size);
  m_pMenuBar = std::make_unique<QMenuBar>();
  for (const char* title : {"&0-Файл", "&1-Действия", "&2-Вид", "&3-Модули"}) {
    m_pMenuBar->addMenu(QString::fromUtf8(title));
  }
  m_pMenuBar->addMenu(QStringLiteral("&4-Фильтры"))
      ->addAction(QStringLiteral("&0-Все слова и фразы"))
      ->setData(800);
  m_pMenuBar->addMenu(QStringLiteral("&5-Настройки"));
  m_pView = make(fake.Get());
  m_pView->SetMainMenu(m_pMenuBar.get());
  m_pView->resize(size);
  m_pView->Create();
  m_pView->SetMainLog(&fake.log);
  // Timing the drawing, not the decoding: sound has its own benchmark.
  m_pView->m_bIsSound = 0;
}

BenchView::~BenchView() {
  m_pView.reset();
  m_pMenuBar.reset();
}

bool BenchView::Open(const std::string& path) {
  const size_t before = fake.messages.Texts().size();
  fake.files.answers.push_back(QString::fromStdString(path));
  const bool opened = m_pView->OpenLesson();
  return opened && fake.messages.Texts().size() == before;
}

}  // namespace verbaro::bench
