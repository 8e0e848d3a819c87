// The folder tree reader: any bytes read without fault; the folders read survive a save.
#include "FuzzChecks.h"
#include "store/FolderTreeFile.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size)
{
    using namespace velloria;
    const FolderTreeParse first = parseFolderTree({reinterpret_cast<const char*>(data), size});
    const std::string written = writeFolderTree(first.records);
    const FolderTreeParse second = parseFolderTree(written);
    fuzz::require(!second.error, "written tree reads without error");
    fuzz::require(second.records.size() == first.records.size(), "no folder lost");
    fuzz::require(writeFolderTree(second.records) == written, "folders survive a save");
    return 0;
}
