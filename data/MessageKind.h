#pragma once
// The two kinds of message box the program shows, each with its caption and its icon: an error
// («Ошибка») or an information («Информация»). The kind, not the caption's text, decides the icon.
#include <string_view>

namespace verbaro {

enum class MessageKind { Information, Error };

inline constexpr std::u16string_view kCaptionError = u"Ошибка";
inline constexpr std::u16string_view kCaptionInfo = u"Информация";

constexpr std::u16string_view CaptionOf(MessageKind kind) {
  return kind == MessageKind::Error ? kCaptionError : kCaptionInfo;
}

}  // namespace verbaro
