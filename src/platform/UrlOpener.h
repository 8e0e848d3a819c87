#pragma once

#include <string>
#include <vector>

namespace velloria {

// Hands addresses and documents to the desktop: the default browser, mail program or viewer.
// Opening never waits for the program it starts, and reports nothing: a missing browser is
// the desktop's to show.
class UrlOpener {
public:
    virtual ~UrlOpener() = default;
    virtual void open(const std::string& target) = 0;
    // Opens the address in a new browser window where the browser allows it.
    virtual void openInNewWindow(const std::string& target) = 0;
};

// The desktop's opener: xdg-open, and for a new window the default browser's own
// "--new-window" option when it is one of the browsers known to take it.
class DesktopUrlOpener final : public UrlOpener {
public:
    void open(const std::string& target) override;
    void openInNewWindow(const std::string& target) override;
};

// Records what was asked, for tests.
class RecordingUrlOpener final : public UrlOpener {
public:
    void open(const std::string& target) override { opened.push_back(target); }
    void openInNewWindow(const std::string& target) override { opened.push_back("new window: " + target); }
    std::vector<std::string> opened;
};

// Starts a program without waiting for it; the program outlives the caller and leaves no
// zombie. Returns false when it could not be started.
bool startDetached(const std::vector<std::string>& arguments);

// The address a link opens: as stored when it names a scheme ("https:", "mailto:", ...),
// otherwise with "http://" in front.
std::string browserAddress(const std::string& address);

} // namespace velloria
