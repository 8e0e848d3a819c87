// The link file reader: any bytes read without fault, read as views into the bytes the same rows
// as read into values of their own, and what is read survives a save: writing the rows and
// reading them back gives the same file again.
#include "FuzzChecks.h"
#include "store/LinkFile.h"

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size)
{
    using namespace velloria;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const LinkFileParse first = parseLinkFile(bytes);
    const LinkFileView view = viewLinkFile(bytes);
    fuzz::require(view.error == first.error && view.links.size() == first.links.size()
                      && std::equal(view.links.begin(), view.links.end(), first.links.begin(),
                                    [](const LinkRecordView& v, const TLinkRecord& l) { return v == l; })
                      && std::equal(view.descriptions.begin(), view.descriptions.end(), first.descriptions.begin(),
                                    first.descriptions.end()),
                  "the views read the same rows as the values");
    const std::string written = writeLinkFile(first.links, first.descriptions);
    const LinkFileParse second = parseLinkFile(written);
    fuzz::require(!second.error, "written link file reads without error");
    fuzz::require(second.links.size() == first.links.size(), "no row lost");
    fuzz::require(writeLinkFile(second.links, second.descriptions) == written, "rows survive a save");
    return 0;
}
