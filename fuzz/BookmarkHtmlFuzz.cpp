// The bookmark HTML file reader: any bytes read without fault, every value it hands over storable.
#include "FuzzChecks.h"
#include "interchange/NetscapeFile.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size)
{
    velloria::fuzz::CheckingSink sink;
    velloria::readNetscapeFile({reinterpret_cast<const char*>(data), size}, sink);
    return 0;
}
