#pragma once
// The Qt boundary for UTF-16 texts: QString holds UTF-16 code units, so no conversion is lossy.
#include <QString>
#include <string>
#include <string_view>

namespace verbaro {

inline QString ToQ(std::u16string_view text) {
  return QString(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size()));
}

inline std::u16string FromQ(const QString& text) {
  return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()),
                        static_cast<size_t>(text.size()));
}

}  // namespace verbaro
