#pragma once

#include <string_view>
#include <vector>

namespace velloria {

// Files the program carries inside itself: the shipped language files and the help page.
struct EmbeddedFile {
    std::string_view name;
    std::string_view bytes;
};

const std::vector<EmbeddedFile>& embeddedFiles();

// The shipped language files (".lng") among them.
std::vector<EmbeddedFile> shippedLanguages();

} // namespace velloria
