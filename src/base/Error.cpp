#include "base/Error.h"

#include <cstring>

namespace velloria {

namespace {

// Joins the pieces by appending; "literal" + std::string trips a false -Wrestrict in GCC 12.
std::string join(std::initializer_list<std::string_view> pieces)
{
    std::string text;
    for (std::string_view piece : pieces)
        text.append(piece);
    return text;
}

std::string quoted(const std::filesystem::path& path)
{
    return join({"\"", path.string(), "\""});
}

} // namespace

std::string Error::visibleMessage(const std::string& message)
{
    if (message.find('\0') == std::string::npos)
        return message;
    std::string visible;
    for (char c : message)
        visible += c == '\0' ? std::string_view("\\0") : std::string_view(&c, 1);
    return visible;
}

Error fileNotFoundError()
{
    return Error("File not found");
}

Error cannotOpenFileError(const std::filesystem::path& path, std::string_view reason)
{
    return Error(join({"Cannot open file ", quoted(path), ". ", reason}));
}

Error cannotCreateFileError(const std::filesystem::path& path, std::string_view reason)
{
    return Error(join({"Cannot create file ", quoted(path), ". ", reason}));
}

Error cannotDeleteFileError(const std::filesystem::path& path, std::string_view reason)
{
    return Error(join({"Cannot delete file ", quoted(path), ". ", reason}));
}

Error cannotCreateDirectoryError(const std::filesystem::path& path, std::string_view reason)
{
    return Error(join({"Cannot create directory ", quoted(path), ". ", reason}));
}

Error invalidIntegerError(std::string_view text)
{
    return Error(join({"'", text, "' is not a valid integer value"}));
}

Error invalidBooleanError(std::string_view text)
{
    return Error(join({"'", text, "' is not a valid boolean value"}));
}

Error invalidLevelError(int level, std::string_view item)
{
    return Error(join({"Invalid level (", std::to_string(level), ") for item \"", item, "\""}));
}

std::string systemReason(int errorNumber)
{
    return std::strerror(errorNumber);
}

} // namespace velloria
