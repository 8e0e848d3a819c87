#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>

namespace velloria {

// The one error type of the program. Its message is shown to the user as it stands (in the
// error message box of the program, on stderr by the command-line tool). Core code throws it;
// what was written before the error stays written.
class Error : public std::runtime_error {
public:
    explicit Error(const std::string& message) : std::runtime_error(visibleMessage(message)) {}

private:
    // A NUL byte (a damaged file's bytes quoted in the message) would end the text that what()
    // gives at that place, so it is written as "\0".
    static std::string visibleMessage(const std::string& message);
};

// The texts of the file errors.
Error fileNotFoundError();
Error cannotOpenFileError(const std::filesystem::path& path, std::string_view reason);
Error cannotCreateFileError(const std::filesystem::path& path, std::string_view reason);
Error cannotDeleteFileError(const std::filesystem::path& path, std::string_view reason);
Error cannotCreateDirectoryError(const std::filesystem::path& path, std::string_view reason);
Error invalidIntegerError(std::string_view text);
Error invalidBooleanError(std::string_view text);
Error invalidLevelError(int level, std::string_view item);

// The reason text of the operating system for an errno value.
std::string systemReason(int errorNumber);

} // namespace velloria
