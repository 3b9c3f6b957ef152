// One libFuzzer program: KELVARA_FUZZ_ENTRY names the entry point of FuzzEntries.h it drives.
#include "tests/fuzz/FuzzEntries.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    return KELVARA_FUZZ_ENTRY(data, size);
}
