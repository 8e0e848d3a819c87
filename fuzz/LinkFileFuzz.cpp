// The link file reader: any bytes read without fault, and what is read survives a save: writing
// the rows and reading them back gives the same file again.
#include "FuzzChecks.h"
#include "store/LinkFile.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size)
{
    using namespace velloria;
    const LinkFileParse first = parseLinkFile({reinterpret_cast<const char*>(data), size});
    const std::string written = writeLinkFile(first.links, first.descriptions);
    const LinkFileParse second = parseLinkFile(written);
    fuzz::require(!second.error, "written link file reads without error");
    fuzz::require(second.links.size() == first.links.size(), "no row lost");
    fuzz::require(writeLinkFile(second.links, second.descriptions) == written, "rows survive a save");
    return 0;
}
