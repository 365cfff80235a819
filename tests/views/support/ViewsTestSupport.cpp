#include "ViewsTestSupport.h"

#include <algorithm>
#include <cstdlib>

#include "data/DiagnosticLog.h"

namespace verbaro::test {

ViewHarness::ViewHarness(std::unique_ptr<CWordsView> (*make)(const Platform&)) {
  EnsureApplication();
  fake.log.AttachMemory();
  CWordsView::SharedRepeatCounter() = 0;
  m_view = make(fake.Get());
  m_view->SetFilterMenu(&m_filterMenu);
  m_view->resize(1000, 600);
  m_view->SetMainLog(&fake.log);
  m_view->Create();
  m_view->Repaint();
  m_background = m_view->BackBuffer();
}

ViewHarness::~ViewHarness() {
  m_view.reset();
  CWordsView::SharedRepeatCounter() = 0;
}

bool ViewHarness::Open(const std::vector<LessonRow>& rows) {
  const QString path = m_dir.filePath(QStringLiteral("lesson%1.db").arg(++m_lessons));
  m_lessonPath = path.toStdString();
  WriteLesson(m_lessonPath, rows);
  fake.files.answers.push_back(path);
  return m_view->OpenLesson();
}

QRgb Over(QRgb c, QRgb under) {
  const int a = qAlpha(c);
  auto mix = [a](int top, int bottom) { return (top * a + bottom * (255 - a) + 127) / 255; };
  return qRgb(mix(qRed(c), qRed(under)), mix(qGreen(c), qGreen(under)),
              mix(qBlue(c), qBlue(under)));
}

bool Near(QRgb a, QRgb b, int tolerance) {
  return std::abs(qRed(a) - qRed(b)) <= tolerance && std::abs(qGreen(a) - qGreen(b)) <= tolerance &&
         std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

int ChangedPixels(const QImage& image, const QImage& reference, const QRect& area, int tolerance) {
  int changed = 0;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      if (!Near(image.pixel(x, y), reference.pixel(x, y), tolerance)) ++changed;
    }
  }
  return changed;
}

QRect InkBox(const QImage& image, QRgb ink, const QRect& area, int tolerance) {
  QRect box;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      if (Near(image.pixel(x, y), ink, tolerance)) box |= QRect(x, y, 1, 1);
    }
  }
  return box;
}

}  // namespace verbaro::test
