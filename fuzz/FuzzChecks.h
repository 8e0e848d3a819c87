#pragma once

// Checks shared by the fuzz targets: a failed check aborts, so libFuzzer keeps the input.

#include "base/Text.h"
#include "interchange/Interchange.h"

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace velloria::fuzz {

inline void require(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "check failed: %s\n", what);
        std::abort();
    }
}

// A text that the library will store on one line of one of its files: valid UTF-8 and no line
// break, so that writing it can neither split a record nor leave bytes no reader can take.
inline void requireStorable(std::string_view text, const char* what)
{
    require(isValidUtf8(text), what);
    require(text.find_first_of("\r\n") == std::string_view::npos, what);
}

// Takes what a bookmark reader hands over and checks every value as the import would store it.
class CheckingSink : public ImportSink {
public:
    void beginFolder(std::string_view name, std::optional<std::string_view> description) override
    {
        received = true;
        requireStorable(name, "folder name");
        if (description)
            requireStorable(*description, "folder description");
        ++depth;
    }
    void endFolder() override
    {
        if (depth > 0)
            --depth;
    }
    void addLink(std::string_view title, std::string_view address, std::string_view description,
                 const LinkDates& dates) override
    {
        received = true;
        for (const std::optional<Date>& date : {dates.added, dates.visited})
            require(!date || parseDate(formatDate(*date)) == date, "link date");
        requireStorable(title, "link title");
        requireStorable(address, "link address");
        requireStorable(description, "link description");
    }

    std::size_t depth = 0;
    bool received = false; // a folder or a link was handed over
};

} // namespace velloria::fuzz
