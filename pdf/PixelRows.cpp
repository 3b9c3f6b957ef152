#include "pdf/PixelRows.h"

#include <bit>
#include <cstdint>
#include <cstring>

static_assert(std::endian::native == std::endian::little, "pixels are read as little-endian words");

namespace {

std::uint32_t loadWord(const unsigned char *p) {
    std::uint32_t word;
    std::memcpy(&word, p, 4);
    return word;
}
void storeWord(unsigned char *p, std::uint32_t word) {
    std::memcpy(p, &word, 4);
}

#if defined(__x86_64__)
// Sixteen pixels per step with byte shuffles, on processors that have them (SSSE3); the compiler's plain
// x86-64 code would emulate them byte by byte. Each returns how many pixels it copied.
#define KELVARA_BYTE_SHUFFLE 1
using Bytes = unsigned char __attribute__((vector_size(16)));

bool hasByteShuffle() {
    return __builtin_cpu_supports("ssse3");
}

Bytes loadBytes(const unsigned char *p) {
    Bytes bytes;
    std::memcpy(&bytes, p, 16);
    return bytes;
}
void storeBytes(unsigned char *p, const Bytes &bytes) {
    std::memcpy(p, &bytes, 16);
}

__attribute__((target("ssse3"))) int packBlocks(const unsigned char *from, unsigned char *to, int pixels) {
    int i = 0;
    for (; i + 16 <= pixels; i += 16, from += 64, to += 48) {
        const Bytes a = loadBytes(from), b = loadBytes(from + 16), c = loadBytes(from + 32),
                    d = loadBytes(from + 48);
        storeBytes(to, __builtin_shufflevector(a, b, 0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, 16, 17, 18, 20));
        storeBytes(to + 16,
                   __builtin_shufflevector(b, c, 5, 6, 8, 9, 10, 12, 13, 14, 16, 17, 18, 20, 21, 22, 24, 25));
        storeBytes(to + 32, __builtin_shufflevector(c, d, 10, 12, 13, 14, 16, 17, 18, 20, 21, 22, 24, 25, 26,
                                                    28, 29, 30));
    }
    return i;
}

__attribute__((target("ssse3"))) int unpackBlocks(const unsigned char *from, unsigned char *to, int pixels) {
    const Bytes Opaque = {0, 0, 0, 0xFF, 0, 0, 0, 0xFF, 0, 0, 0, 0xFF, 0, 0, 0, 0xFF};
    int i = 0;
    for (; i + 16 <= pixels; i += 16, from += 48, to += 64) {
        const Bytes a = loadBytes(from), b = loadBytes(from + 16), c = loadBytes(from + 32);
        storeBytes(to,
                   __builtin_shufflevector(a, a, 0, 1, 2, 0, 3, 4, 5, 0, 6, 7, 8, 0, 9, 10, 11, 0) | Opaque);
        storeBytes(to + 16,
                   __builtin_shufflevector(a, b, 12, 13, 14, 0, 15, 16, 17, 0, 18, 19, 20, 0, 21, 22, 23, 0) |
                       Opaque);
        storeBytes(to + 32,
                   __builtin_shufflevector(b, c, 8, 9, 10, 0, 11, 12, 13, 0, 14, 15, 16, 0, 17, 18, 19, 0) |
                       Opaque);
        storeBytes(to + 48,
                   __builtin_shufflevector(c, c, 4, 5, 6, 0, 7, 8, 9, 0, 10, 11, 12, 0, 13, 14, 15, 0) |
                       Opaque);
    }
    return i;
}
#endif

} // namespace

void packRow(const unsigned char *from, unsigned char *to, int pixels) {
    int i = 0;
#ifdef KELVARA_BYTE_SHUFFLE
    if (hasByteShuffle())
        i = packBlocks(from, to, pixels);
    from += 4 * i;
    to += 3 * i;
#endif
    // Four pixels, twelve packed bytes, per step.
    for (; i + 4 <= pixels; i += 4, from += 16, to += 12) {
        const std::uint32_t p0 = loadWord(from), p1 = loadWord(from + 4), p2 = loadWord(from + 8),
                            p3 = loadWord(from + 12);
        storeWord(to, (p0 & 0xFFFFFF) | p1 << 24);
        storeWord(to + 4, (p1 >> 8 & 0xFFFF) | p2 << 16);
        storeWord(to + 8, (p2 >> 16 & 0xFF) | p3 << 8);
    }
    for (; i < pixels; ++i, from += 4, to += 3)
        std::memcpy(to, from, 3);
}

void unpackRow(const unsigned char *from, unsigned char *to, int pixels) {
    constexpr std::uint32_t Opaque = 0xFF000000;
    int i = 0;
#ifdef KELVARA_BYTE_SHUFFLE
    if (hasByteShuffle())
        i = unpackBlocks(from, to, pixels);
    from += 3 * i;
    to += 4 * i;
#endif
    for (; i + 4 <= pixels; i += 4, from += 12, to += 16) {
        const std::uint32_t w0 = loadWord(from), w1 = loadWord(from + 4), w2 = loadWord(from + 8);
        storeWord(to, w0 | Opaque);
        storeWord(to + 4, w0 >> 24 | w1 << 8 | Opaque);
        storeWord(to + 8, w1 >> 16 | w2 << 16 | Opaque);
        storeWord(to + 12, w2 >> 8 | Opaque);
    }
    for (; i < pixels; ++i, from += 3, to += 4) {
        std::memcpy(to, from, 3);
        to[3] = 0xFF;
    }
}
