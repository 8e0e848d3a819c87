#pragma once

#include <string>
#include <string_view>

namespace velloria::test {

// The bytes of a language file that Velloria ships ("German.lng").
std::string shippedLanguage(std::string_view name);

// A language file as an older version wrote it: without the entries numbered from first on.
std::string withoutEntriesFrom(std::string_view bytes, int first);

} // namespace velloria::test
