#pragma once
// The plain text of an Anki field or an HTML cell, and the recordings it refers to.
#include <string>
#include <string_view>
#include <vector>

namespace verbaro::lessonimport {

struct MarkupText {
  std::string text;                 // UTF-8; '\n' between the lines that markup separated
  std::vector<std::string> sounds;  // the NAMEs of [sound:NAME], in order
};

// HTML as text: tags removed; <br>, and the ends of blocks (div, p, li, tr...), separate lines;
// entities decoded (named, decimal, hexadecimal); what <script>, <style> and comments hold
// dropped; [sound:NAME] taken out into `sounds`; [anki:tts ...]TEXT[/anki:tts] leaves TEXT;
// runs of spaces collapsed, lines trimmed, empty lines dropped.
MarkupText ReduceMarkup(std::string_view html);

// A plain-text cell: only [sound:NAME] taken out; its lines keep their breaks, with runs of
// spaces collapsed, trimmed, empty ones dropped.
MarkupText ReduceSoundTags(std::string_view text);

}  // namespace verbaro::lessonimport
