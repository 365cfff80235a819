#include "views/Conspect2View.h"

#include "platform/Platform.h"

namespace verbaro {

CConspect2View::CConspect2View(const Platform& platform, QWidget* parent)
    : CConspect1View(platform, parent) {}

std::u16string CConspect2View::GetModeName() const { return u"Модуль \"Конспект-2\""; }

void CConspect2View::OnCreate() {
  LoadPictures(602, QStringLiteral("Res/Conspect2.jpg"), 603,
               QStringLiteral("Res/Conspect2Logo.png"));
  m_bIsSound = 1;
  m_bConspectMode = 1;
  m_bContraVersa = 1;
}

bool CConspect2View::LoadLesson() { return ReloadData(false) && BuildContraVersaData(); }

std::optional<char16_t> CConspect2View::TranslateKey(int virtualKey) {
  return TranslateCyrillic(virtualKey, *m_platform.keyboard);
}

}  // namespace verbaro
