// The .xls reader whole, with the library part: our compound-file and record
// checks, then FreeXL in the helper process (velmora-xls-helper, the same code
// as velmora-cli xls-cells). The program must survive whatever the helper does.
#include "FuzzSupport.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    if (qEnvironmentVariableIsEmpty("VELMORA_XLS_HELPER"))
        qputenv("VELMORA_XLS_HELPER", VELMORA_XLS_HELPER_PATH);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Only compound files reach the .xls reader; fuzz_xlsx covers the rest.
    if (size < 8 || data[0] != 0xD0 || data[1] != 0xCF)
        return 0;
    velmora::fuzz::readWholeWorkbook(velmora::fuzz::inputFile(data, size, ".xls"));
    return 0;
}
