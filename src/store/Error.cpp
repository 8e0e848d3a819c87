#include "store/Error.h"

#include <cstring>

namespace velloria {

namespace {

std::string quoted(const std::filesystem::path& path)
{
    return "\"" + path.string() + "\"";
}

} // namespace

Error fileNotFoundError()
{
    return Error("File not found");
}

Error cannotOpenFileError(const std::filesystem::path& path, std::string_view reason)
{
    return Error("Cannot open file " + quoted(path) + ". " + std::string(reason));
}

Error cannotCreateFileError(const std::filesystem::path& path, std::string_view reason)
{
    return Error("Cannot create file " + quoted(path) + ". " + std::string(reason));
}

Error cannotDeleteFileError(const std::filesystem::path& path, std::string_view reason)
{
    return Error("Cannot delete file " + quoted(path) + ". " + std::string(reason));
}

Error cannotCreateDirectoryError(const std::filesystem::path& path, std::string_view reason)
{
    return Error("Cannot create directory " + quoted(path) + ". " + std::string(reason));
}

Error invalidIntegerError(std::string_view text)
{
    return Error("'" + std::string(text) + "' is not a valid integer value");
}

Error invalidBooleanError(std::string_view text)
{
    return Error("'" + std::string(text) + "' is not a valid boolean value");
}

Error invalidLevelError(int level, std::string_view item)
{
    return Error("Invalid level (" + std::to_string(level) + ") for item \"" + std::string(item) + "\"");
}

std::string systemReason(int errorNumber)
{
    return std::strerror(errorNumber);
}

} // namespace velloria
