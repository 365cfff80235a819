#include "app/Accelerators.h"

#include <QKeyEvent>
#include <QWidget>

#include "app/Commands.h"
#include "platform/DialogPlacement.h"
#include "views/VirtualKeys.h"

namespace verbaro {

namespace {

struct Accelerator {
  int virtualKey;
  Qt::KeyboardModifiers modifiers;
  int command;
};

constexpr int kF(int n) { return vk::kF1 + n - 1; }
constexpr int Mode(StudyMode mode) { return cmd::ModeCommand(mode); }

const Accelerator kAccelerators[] = {
    {'A', Qt::ControlModifier, cmd::kAbout},
    {'O', Qt::ControlModifier, cmd::kOpen},
    {kF(1), Qt::NoModifier, cmd::kHelp},
    {kF(2), Qt::NoModifier, cmd::kRepeatSound},
    {kF(2), Qt::AltModifier, cmd::kToggleSound},
    {kF(3), Qt::NoModifier, cmd::kToggleHeader},
    {kF(3), Qt::AltModifier, cmd::kToggleTranslations},
    {kF(4), Qt::NoModifier, cmd::kVideoSettings},
    {kF(5), Qt::NoModifier, Mode(StudyMode::Conspect1)},
    {kF(6), Qt::NoModifier, Mode(StudyMode::Video1)},
    {kF(7), Qt::NoModifier, Mode(StudyMode::Exam1)},
    {kF(5), Qt::AltModifier, Mode(StudyMode::Conspect2)},
    {kF(6), Qt::AltModifier, Mode(StudyMode::Video2)},
    {kF(7), Qt::AltModifier, Mode(StudyMode::Exam2)},
    {kF(8), Qt::NoModifier, cmd::kLessonStatistics},
    // Second keys of the Alt+F commands: desktops take Alt+F2, Alt+F3 and Alt+F5 to Alt+F7 for
    // themselves (GNOME's run prompt, unmaximise, window switching and moving; KDE's and Xfce's
    // own), so those keys never reach the program there. No major desktop takes these.
    {kF(2), Qt::ShiftModifier, cmd::kToggleSound},
    {kF(3), Qt::ShiftModifier, cmd::kToggleTranslations},
    {kF(5), Qt::ShiftModifier, Mode(StudyMode::Conspect2)},
    {kF(6), Qt::ShiftModifier, Mode(StudyMode::Video2)},
    {kF(7), Qt::ShiftModifier, Mode(StudyMode::Exam2)},
    // Alt+F4 belongs to the window manager; taking it here keeps it working without one.
    {kF(4), Qt::AltModifier, cmd::kExit},
};

}  // namespace

int AcceleratorCommand(int virtualKey, Qt::KeyboardModifiers modifiers) {
  const Qt::KeyboardModifiers counted =
      modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier);
  for (const Accelerator& entry : kAccelerators) {
    if (entry.virtualKey == virtualKey && entry.modifiers == counted) return entry.command;
  }
  return 0;
}

QStringList AcceleratorNames(int command) {
  QStringList names;
  for (const Accelerator& entry : kAccelerators) {
    if (entry.command != command) continue;
    QString name;
    if (entry.modifiers & Qt::ControlModifier) name += QStringLiteral("Ctrl+");
    if (entry.modifiers & Qt::AltModifier) name += QStringLiteral("Alt+");
    if (entry.modifiers & Qt::ShiftModifier) name += QStringLiteral("Shift+");
    if (entry.virtualKey >= vk::kF1 && entry.virtualKey < vk::kF1 + 24) {
      name += QStringLiteral("F") + QString::number(entry.virtualKey - vk::kF1 + 1);
    } else {
      name += QChar(entry.virtualKey);
    }
    names << name;
  }
  return names;
}

QString ToolTipWithKeys(const QString& toolTip, int command) {
  const QStringList names = AcceleratorNames(command);
  if (names.size() < 2) return toolTip;
  return toolTip + QStringLiteral(" (") + names.join(QStringLiteral(", ")) + QLatin1Char(')');
}

AcceleratorFilter::AcceleratorFilter(QWidget* window, std::function<void(int)> onCommand,
                                     LatinLayoutLetter latinLayoutLetter)
    : QObject(window),
      m_window(window),
      m_onCommand(std::move(onCommand)),
      m_latinLayoutLetter(std::move(latinLayoutLetter)) {}

bool AcceleratorFilter::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress || !watched->isWidgetType()) return false;
  // While the window holds a dialog inside it (see ExecDialog), its keys are the dialog's, also
  // those the dialog leaves and that travel on to the window.
  if (static_cast<QWidget*>(watched)->window() != m_window || HoldsDialogInside(m_window)) {
    return false;
  }
  const auto* key = static_cast<QKeyEvent*>(event);
  const int command =
      AcceleratorCommand(ShortcutKeyOfEvent(*key, m_latinLayoutLetter), key->modifiers());
  if (command == 0) return false;
  m_onCommand(command);
  return true;
}

}  // namespace verbaro
