// The folder state reader: any bytes read without fault.
#include "FuzzChecks.h"
#include "store/FolderStateFile.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size)
{
    const velloria::FolderStateParse parse = velloria::parseFolderStates({reinterpret_cast<const char*>(data), size});
    velloria::fuzz::require(parse.states.size() <= size, "no more states than bytes");
    return 0;
}
