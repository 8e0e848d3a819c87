// The folder description reader: any bytes read without fault; the pairs survive a save; the
// look-ups agree with the whole read.
#include "FuzzChecks.h"
#include "store/FolderDescriptionFile.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size)
{
    using namespace velloria;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::vector<DescriptionPair> first = parseFolderDescriptions(bytes);
    const std::string written = writeFolderDescriptions(first);
    const std::vector<DescriptionPair> second = parseFolderDescriptions(written);
    fuzz::require(second.size() == first.size(), "no description lost");
    fuzz::require(writeFolderDescriptions(second) == written, "descriptions survive a save");
    const auto last = lastFolderDescriptions(bytes);
    for (const DescriptionPair& pair : first)
        fuzz::require(last.contains(pair.name), "every name has a last description");
    if (!first.empty())
        fuzz::require(findFolderDescription(bytes, first.front().name).has_value(), "a read name is found");
    return 0;
}
