#pragma once
// The text of a table file as UTF-8: UTF-8 with or without its byte order mark, UTF-16 in
// either byte order with its mark or, without one, recognised by its zero bytes.
#include <optional>
#include <string>
#include <string_view>

namespace verbaro::lessonimport {

// Nothing, with `error` set (Russian, with the line), when the bytes are neither well-formed
// UTF-8 nor UTF-16, or hold a zero byte as text.
std::optional<std::string> DecodeTextToUtf8(std::string_view bytes, std::string& error);

}  // namespace verbaro::lessonimport
