// Row copies between 32-bit pixels and the engine's three-byte pixels: every byte lands where it belongs,
// whatever the width, and nothing past the row is touched.
#include "pdf/PixelRows.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

constexpr unsigned char Sentinel = 0xA5;

std::vector<unsigned char> randomBytes(size_t size, unsigned seed) {
    std::mt19937 random(seed);
    std::vector<unsigned char> bytes(size);
    for (auto &b : bytes)
        b = (unsigned char)random();
    return bytes;
}

TEST(PixelRows, PackAndUnpackKeepEveryColourByteAtEveryWidth) {
    // Widths around the sixteen- and four-pixel steps, and a page's.
    for (const int width : {1, 3, 4, 5, 15, 16, 17, 20, 31, 32, 35, 409, 816}) {
        SCOPED_TRACE(width);
        const std::vector<unsigned char> wide = randomBytes(size_t(width) * 4, unsigned(width));
        std::vector<unsigned char> packed(size_t(width) * 3 + 16, Sentinel);
        packRow(wide.data(), packed.data(), width);
        for (int i = 0; i < width; ++i)
            for (int c = 0; c < 3; ++c)
                ASSERT_EQ(packed[3 * i + c], wide[4 * i + c]) << "pixel " << i << " byte " << c;
        for (size_t i = size_t(width) * 3; i < packed.size(); ++i)
            ASSERT_EQ(packed[i], Sentinel) << "written past the row";

        std::vector<unsigned char> unpacked(size_t(width) * 4 + 16, Sentinel);
        unpackRow(packed.data(), unpacked.data(), width);
        for (int i = 0; i < width; ++i) {
            for (int c = 0; c < 3; ++c)
                ASSERT_EQ(unpacked[4 * i + c], wide[4 * i + c]) << "pixel " << i << " byte " << c;
            ASSERT_EQ(unpacked[4 * i + 3], 0xFF) << "pixel " << i << " alpha";
        }
        for (size_t i = size_t(width) * 4; i < unpacked.size(); ++i)
            ASSERT_EQ(unpacked[i], Sentinel) << "written past the row";
    }
}

} // namespace
