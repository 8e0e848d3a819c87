// The reader of Chromium's Bookmarks file: any bytes either read without fault, every value it
// hands over storable, or refused whole with an Error before the sink hears anything.
#include "FuzzChecks.h"
#include "base/Error.h"
#include "interchange/ChromiumBookmarks.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size)
{
    velloria::fuzz::CheckingSink sink;
    try {
        velloria::readChromiumBookmarks({reinterpret_cast<const char*>(data), size}, sink);
    } catch (const velloria::Error&) {
        velloria::fuzz::require(sink.depth == 0 && !sink.received, "a refused file reached the sink");
    }
    return 0;
}
