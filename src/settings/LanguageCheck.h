#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace velloria {

// What a translator must fix in a language file: version problems, a missing name, entries
// missing against the built-in table, lines the program ignores, entries given twice, and
// accelerators used twice within one menu. One finding per line of text; none when the file is
// complete and clean. A file without the entries added after its version is still complete.
std::vector<std::string> checkLanguageFile(std::string_view bytes);

// The added entries (UIText::kFirstAddedNumber on) that the file does not translate, and that
// therefore show in English: one note per line of text.
std::vector<std::string> untranslatedAddedEntries(std::string_view bytes);

// The accelerator of a caption: the character after the first single "&", lower-cased; empty
// when the caption has none.
std::string acceleratorOf(std::string_view caption);

} // namespace velloria
