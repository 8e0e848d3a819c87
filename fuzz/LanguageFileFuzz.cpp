// The language file reader: any bytes read without fault.
#include "FuzzChecks.h"
#include "settings/LanguageFile.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size)
{
    const velloria::LanguageFileContent content = velloria::readLanguageFile({reinterpret_cast<const char*>(data), size});
    velloria::fuzz::require(content.texts.size() <= size, "no more texts than bytes");
    return 0;
}
