// The .xlsx reader through the public interface (openWorkbook, readSheet):
// any input must give sheets or a refusal with a message, never a crash.
#include "FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Compound files go to the .xls reader: fuzz_xls covers them.
    if (size >= 2 && data[0] == 0xD0 && data[1] == 0xCF)
        return 0;
    velmora::fuzz::readWholeWorkbook(velmora::fuzz::inputFile(data, size, ".xlsx"));
    return 0;
}
