// libFuzzer entry point over the whole batch path (fuzz/BatchInput.h); scripts/fuzz runs it.

#include "fuzz/BatchInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    md::fuzz::runBatchInput(data, size);
    return 0;
}
