#include "app/Run.h"

#include <QApplication>

#include "app/MainFrame.h"
#include "platform/MessageBoxes.h"
#include "platform/Platform.h"
#include "platform/WorkArea.h"

namespace verbaro {

QRect InitialFrameRect(const QRect& workArea) {
  const int w = workArea.width();
  const int h = workArea.height();
  const int left = w * 35 / 200;
  const int right = w * 165 / 200;
  const int top = h * 10 / 200;
  const int bottom = h * 190 / 200;
  return QRect(QPoint(left, top), QSize(right - left, bottom - top));
}

int Run(QApplication& app, const Platform& platform, const FrameFactory& makeFrame) {
  app.setQuitOnLastWindowClosed(false);
  std::unique_ptr<CMainFrame> frame = makeFrame ? makeFrame(platform) : nullptr;
  const QRect rect = InitialFrameRect(platform.workArea->Get());
  if (!frame || !frame->CreateFrame(rect)) {
    platform.messages->ShowError(QApplication::activeWindow(),
                                 QStringLiteral("Проблема создания главного окна!"));
    return 0;
  }
  frame->show();
  const int result = app.exec();
  frame.reset();
  return result;
}

}  // namespace verbaro
