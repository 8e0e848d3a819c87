#include "store/FolderStateFile.h"

#include "base/Error.h"
#include "base/TextLines.h"
#include "store/FolderTree.h"

#include <charconv>

namespace velloria {

namespace {

// A decimal integer with optional blanks around it and an optional sign.
std::optional<long long> parseInteger(std::string_view text)
{
    std::string_view digits = trimmed(text);
    if (!digits.empty() && digits.front() == '+')
        digits.remove_prefix(1);
    long long value = 0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (digits.empty() || ec != std::errc() || end != digits.data() + digits.size())
        return std::nullopt;
    return value;
}

std::optional<bool> parseBoolean(std::string_view text)
{
    const std::string_view word = trimmed(text);
    if (equalsIgnoringAsciiCase(word, "True"))
        return true;
    if (equalsIgnoringAsciiCase(word, "False"))
        return false;
    return std::nullopt;
}

} // namespace

FolderStateParse parseFolderStates(std::string_view bytes)
{
    FolderStateParse result;
    const auto lines = splitLines(bytes);
    const auto lineAt = [&](std::size_t i) { return i < lines.size() ? lines[i] : std::string_view(); };
    for (std::size_t i = 0; i < lines.size(); i += 3) {
        const auto index = parseInteger(lineAt(i));
        if (!index) {
            result.error = invalidIntegerError(lineAt(i)).what();
            break;
        }
        const auto expanded = parseBoolean(lineAt(i + 1));
        if (!expanded) {
            result.error = invalidBooleanError(lineAt(i + 1)).what();
            break;
        }
        const auto selected = parseBoolean(lineAt(i + 2));
        if (!selected) {
            result.error = invalidBooleanError(lineAt(i + 2)).what();
            break;
        }
        result.states.push_back({*index, *expanded, *selected});
    }
    return result;
}

std::string writeFolderStates(const std::vector<TFolderRecord>& records)
{
    LineWriter writer;
    for (std::size_t i = 0; i < records.size(); ++i) {
        writer.line(std::to_string(i));
        writer.line(records[i].Expanded ? "True" : "False");
        writer.line(records[i].Selected ? "True" : "False");
    }
    return writer.take();
}

} // namespace velloria
