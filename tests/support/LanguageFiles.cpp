#include "support/LanguageFiles.h"

#include "settings/EmbeddedFiles.h"

#include <algorithm>
#include <stdexcept>

namespace velloria::test {

std::string shippedLanguage(std::string_view name)
{
    for (const EmbeddedFile& file : shippedLanguages())
        if (file.name == name)
            return std::string(file.bytes);
    throw std::runtime_error("no shipped language " + std::string(name));
}

std::string withoutEntriesFrom(std::string_view bytes, int first)
{
    std::string kept;
    for (std::size_t start = 0; start < bytes.size();) {
        const std::size_t end = std::min(bytes.find('\n', start), bytes.size() - 1) + 1;
        const std::string_view line = bytes.substr(start, end - start);
        const bool numbered = line.size() > 3 && line[3] == ' ' && line.find_first_not_of("0123456789") == 3;
        if (!numbered || std::stoi(std::string(line.substr(0, 3))) < first)
            kept += line;
        start = end;
    }
    return kept;
}

} // namespace velloria::test
