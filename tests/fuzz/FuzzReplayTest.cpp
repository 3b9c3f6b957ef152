// The kept fuzz inputs (seeds and the minimised inputs of faults found) replayed through the fuzz
// targets' entry points, without libFuzzer: each must run through.
#include "tests/fuzz/FuzzEntries.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::vector<std::uint8_t> bytesOf(const std::filesystem::path &file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(FuzzReplay, KeptInputsRunThroughEveryTarget) {
    const struct {
        const char *folder;
        int (*entry)(const std::uint8_t *, std::size_t);
    } targets[] = {
        {"pdf_book", fuzzPdfBook},
        {"annotation_document", fuzzAnnotationDocument},
        {"service_reply", fuzzServiceReply},
        {"page_generators", fuzzPageGenerators},
    };
    for (const auto &target : targets) {
        int replayed = 0;
        for (const auto &file : std::filesystem::directory_iterator(
                 std::filesystem::path(KELVARA_FUZZ_INPUTS) / target.folder)) {
            SCOPED_TRACE(file.path().string());
            const std::vector<std::uint8_t> bytes = bytesOf(file.path());
            EXPECT_EQ(target.entry(bytes.data(), bytes.size()), 0);
            ++replayed;
        }
        EXPECT_GT(replayed, 0) << target.folder << " keeps no input";
    }
}

} // namespace
