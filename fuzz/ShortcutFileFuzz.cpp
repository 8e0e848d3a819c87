// The shortcut (.url) file reader: any bytes read without fault, the address storable.
#include "FuzzChecks.h"
#include "interchange/Favorites.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size)
{
    const std::string address = velloria::readShortcutAddress({reinterpret_cast<const char*>(data), size});
    velloria::fuzz::requireStorable(address, "shortcut address");
    return 0;
}
