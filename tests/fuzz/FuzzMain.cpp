// The libFuzzer entry of one target, chosen by ZAR_FUZZ_ENTRY when this file is compiled.

#include "FuzzSupport.h"

#ifndef ZAR_FUZZ_ENTRY
#error "ZAR_FUZZ_ENTRY names the target's function"
#endif

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    zarfuzz::InitializeFuzzing();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return zarfuzz::ZAR_FUZZ_ENTRY(data, size);
}
