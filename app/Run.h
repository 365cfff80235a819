#pragma once
// Start-up and shut-down of the program around the main frame's event loop.
#include <QRect>
#include <functional>
#include <memory>

class QApplication;

namespace verbaro {

struct Platform;
class CMainFrame;

// The initial frame rectangle: 65 % of the work area's width with 17.5 % on each side, 90 % of
// its height with 5 % above and below. Only the work area's size enters, not its origin.
QRect InitialFrameRect(const QRect& workArea);

using FrameFactory = std::function<std::unique_ptr<CMainFrame>(const Platform&)>;

// Makes and shows the frame and runs the event loop. Returns 1 after the frame was closed, 0 with
// the message "Проблема создания главного окна!" when the frame could not be made.
int Run(QApplication& app, const Platform& platform, const FrameFactory& makeFrame);

}  // namespace verbaro
