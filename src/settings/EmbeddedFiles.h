#pragma once

#include <string_view>
#include <vector>

namespace velloria {

// Files the program carries inside itself (the shipped language files).
struct EmbeddedFile {
    std::string_view name;
    std::string_view bytes;
};

const std::vector<EmbeddedFile>& embeddedFiles();

} // namespace velloria
