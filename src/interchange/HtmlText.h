#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace velloria {

// The texts inside bookmark HTML files: the character sets such files are written in, character
// references, and escaping for writing.

// Windows-1252 also stands for ISO-8859-1 (as in browsers); MacRoman for the Mac system charset.
enum class HtmlCharset { Utf8, Windows1252, MacRoman };

// The character set of a charset name ("UTF-8", "windows-1252", "X-MAC-SYSTEM", ...), regardless
// of case; an unknown name is taken as UTF-8.
HtmlCharset htmlCharsetNamed(std::string_view name);

// The character set a META tag names ("<META ... CONTENT="text/html; charset=UTF-8">"), if any.
std::optional<HtmlCharset> charsetOfMetaTag(std::string_view tag);

// Decodes the references &amp; &lt; &gt; &quot; &apos; &nbsp; (a blank) and every numeric one,
// once: "&amp;#8230;" becomes "&#8230;". Unknown references, invalid code points and a bare '&'
// stay as written.
std::string decodeCharacterReferences(std::string_view text);

// A raw text of the file (name, title, address, description) as UTF-8 without line breaks: the
// character set applied (in UTF-8 files a text that is not valid UTF-8 is read as Windows-1252),
// references decoded, each run of blanks holding a line break, tab or other control character
// made one blank, blanks at either end removed.
std::string htmlTextValue(std::string_view raw, HtmlCharset charset);

// Appends the text with & < > " escaped as references. A control character (which a library
// value should not hold) becomes a blank, so that what is written stays on its line.
void appendHtmlEscaped(std::string& out, std::string_view text);

// True when text equals the upper-case ASCII word, letters compared without regard to case.
bool equalsAsciiWord(std::string_view text, std::string_view upperWord);

} // namespace velloria
