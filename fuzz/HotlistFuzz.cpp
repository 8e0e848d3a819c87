// The hotlist reader: any bytes read without fault, every value it hands over storable.
#include "FuzzChecks.h"
#include "interchange/OperaHotlist.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size)
{
    velloria::fuzz::CheckingSink sink;
    velloria::readOperaHotlist({reinterpret_cast<const char*>(data), size}, sink);
    return 0;
}
