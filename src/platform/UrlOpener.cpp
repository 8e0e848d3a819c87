#include "platform/UrlOpener.h"

#include "base/TextLines.h"
#include "base/WebAddress.h"

#include <cerrno>
#include <sys/wait.h>
#include <unistd.h>

namespace velloria {

namespace {

// Run detached by sh, so that asking the desktop for its browser never holds up the window. The
// address is an argument of the script, never part of its text.
constexpr const char* kNewWindowScript = R"(browser=$(xdg-settings get default-web-browser 2>/dev/null)
case "$browser" in
firefox*) exec firefox --new-window "$1" ;;
librewolf*) exec librewolf --new-window "$1" ;;
chromium*) exec chromium --new-window "$1" ;;
google-chrome*) exec google-chrome --new-window "$1" ;;
brave*) exec brave-browser --new-window "$1" ;;
microsoft-edge*) exec microsoft-edge --new-window "$1" ;;
vivaldi*) exec vivaldi --new-window "$1" ;;
esac
exec xdg-open "$1")";

} // namespace

bool startDetached(const std::vector<std::string>& arguments)
{
    if (arguments.empty())
        return false;
    std::vector<char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    const pid_t child = ::fork();
    if (child < 0)
        return false;
    if (child == 0) {
        // The grandchild runs the program, so that nobody has to wait for it.
        ::setsid();
        if (::fork() == 0) {
            ::execvp(argv[0], argv.data());
            ::_exit(127);
        }
        ::_exit(0);
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

std::string browserAddress(const std::string& address)
{
    return hasScheme(address) ? address : "http://" + address;
}

void DesktopUrlOpener::open(const std::string& target)
{
    startDetached({"xdg-open", target});
}

void DesktopUrlOpener::openInNewWindow(const std::string& target)
{
    startDetached({"sh", "-c", kNewWindowScript, "sh", target});
}

} // namespace velloria
