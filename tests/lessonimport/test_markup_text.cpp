#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lessonimport/MarkupText.h"

namespace verbaro::lessonimport {
namespace {

struct MarkupCase {
  const char* html;
  const char* text;
  std::vector<std::string> sounds;
};

TEST(MarkupText, HtmlBecomesTheLinesABrowserShows) {
  const std::vector<MarkupCase> cases = {
      // line breaks and blocks separate meanings; inline markup does not split a word
      {"кот<br>кошка", "кот\nкошка", {}},
      {"кот<BR/>кошка<br />мышь", "кот\nкошка\nмышь", {}},
      {"chat<div>кот</div><div>кошка</div>", "chat\nкот\nкошка", {}},
      {"<ul><li>un</li><li>deux</li></ul>", "un\ndeux", {}},
      {"<p>le <b>ch</b><i>at</i></p>", "le chat", {}},
      {"<table><tr><td>a</td><td>b</td></tr><tr><td>c</td></tr></table>", "a b\nc", {}},
      {"<div><br></div><div>  </div>chat<br><br>", "chat", {}},
      // whitespace of the source is a space; runs collapse; lines are trimmed
      {"  le\n\tchat  \r\n noir ", "le chat noir", {}},
      // entities: named, decimal, hexadecimal; unknown or unterminated ones stay as written
      {"l&apos;&eacute;t&#233; &#xE0; &laquo;&nbsp;Paris&nbsp;&raquo;", "l'été à « Paris »", {}},
      {"&lt;b&gt; &amp; &amp;amp;", "<b> & &amp;", {}},
      {"AT&T &bogus; &#xZZ; &#;", "AT&T &bogus; &#xZZ; &#;", {}},
      {"&#0;&#xD800;&#99999999999;", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD", {}},
      {"c&oelig;ur &OElig;", "cœur Œ", {}},
      // a '<' that opens no tag is text; quotes hide a '>' in an attribute
      {"a < b, 3<4", "a < b, 3<4", {}},
      {"<span title=\"a>b\" class='x>y'>chat</span>", "chat", {}},
      // scripts, styles, comments and declarations show nothing
      {"chat<script>alert('<b>кот</b>')</script>", "chat", {}},
      {"<style type=text/css>.x{color:red}</style>chat<SCRIPT src=x></ScRiPt >", "chat", {}},
      {"<!DOCTYPE html><!-- кот --><?xml version=\"1.0\"?>chat", "chat", {}},
      {"chat<script>never closed", "chat", {}},
      {"chat<!-- never closed", "chat", {}},
      {"chat<span", "chat", {}},
      // a </scripts> tag is not the end of a script
      {"<script>x</scripts>y</script>chat", "chat", {}},
      // invisible characters and odd spaces
      {"ch\xC2\xAD"
       "at\xE2\x80\x8B \xE2\x80\xAF!",
       "chat !",
       {}},
      // recordings are taken out wherever they stand, with their names as written
      {"chat [sound:chat.mp3]", "chat", {"chat.mp3"}},
      {"[sound:le chat.ogg]<div>le chat</div>[sound:x&amp;y.mp3]",
       "le chat",
       {"le chat.ogg", "x&y.mp3"}},
      {"[sound:]chat[sound:a.mp3", "chat[sound:a.mp3", {}},
      // text to speech marks keep their text; replay buttons go
      {"[anki:tts lang=fr_FR voices=Apple]le chat[/anki:tts]", "le chat", {}},
      {"[anki:play:q:0]chat [anki:tts lang=fr_FR]", "chat", {}},
      {"[un] [chat]", "[un] [chat]", {}},
  };
  for (const MarkupCase& c : cases) {
    const MarkupText reduced = ReduceMarkup(c.html);
    EXPECT_EQ(reduced.text, c.text) << c.html;
    EXPECT_EQ(reduced.sounds, c.sounds) << c.html;
  }
}

TEST(MarkupText, PlainTextKeepsItsMarkupAndLines) {
  const std::vector<MarkupCase> cases = {
      {"<b>chat</b> &amp; [sound:chat.mp3]", "<b>chat</b> &amp;", {"chat.mp3"}},
      {"le [sound:a.mp3] chat", "le chat", {"a.mp3"}},
      {" кот \r\nкошка\n\n", "кот\nкошка", {}},
      {"[anki:tts]chat[/anki:tts]", "[anki:tts]chat[/anki:tts]", {}},
  };
  for (const MarkupCase& c : cases) {
    const MarkupText reduced = ReduceSoundTags(c.html);
    EXPECT_EQ(reduced.text, c.text) << c.html;
    EXPECT_EQ(reduced.sounds, c.sounds) << c.html;
  }
}

// A field of many megabytes made of what costs the most (unclosed tags, entities, brackets) is
// read in one pass.
TEST(MarkupText, HugeHostileFieldsTakeLinearTime) {
  std::string hostile;
  for (int i = 0; i < 50000; ++i) hostile += "&#x41;[sound:[anki:tts<a x='>'>< ";
  const MarkupText reduced = ReduceMarkup(hostile);
  EXPECT_EQ(reduced.text.substr(0, 2), "A[");
  std::string brackets(1 << 20, '[');
  EXPECT_EQ(ReduceMarkup(brackets).text.size(), brackets.size());
  EXPECT_EQ(ReduceSoundTags(brackets).text.size(), brackets.size());
}

}  // namespace
}  // namespace verbaro::lessonimport
