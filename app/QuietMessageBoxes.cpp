#include "app/QuietMessageBoxes.h"

#include "data/DiagnosticLog.h"
#include "platform/QtText.h"

namespace verbaro {

void QuietMessageBoxes::Present(QWidget* owner, const QString& caption, const QString& text,
                                MessageKind kind) {
  if (m_quiet == 0) {
    if (m_boxes) m_boxes->Show(owner, caption, text, kind);
    return;
  }
  if (m_log && m_log->IsAttached()) {
    m_log->Line(u"Не показано при открытии запомненного урока: ", FromQ(caption), u": ",
                FromQ(text));
  }
}

}  // namespace verbaro
