#include "views/Video2View.h"

namespace verbaro {

CVideo2View::CVideo2View(const Platform& platform, QWidget* parent)
    : CVideo1View(platform, parent) {}

std::u16string CVideo2View::GetModeName() const { return u"Модуль \"Видео-2\""; }

bool CVideo2View::LoadLesson() {
  if (!ReloadData(false)) return false;
  return BuildContraVersaData();
}

void CVideo2View::OnCreate() {
  SetUpVideoMode(true, 606, QStringLiteral("Res/Video2.jpg"), 607,
                 QStringLiteral("Res/Video2Logo.png"));
}

}  // namespace verbaro
