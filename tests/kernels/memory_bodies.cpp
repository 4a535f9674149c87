// The memory bodies run over a small buffer with a known pattern: every byte
// of the region must be copied or written, nothing past it touched.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "kernels/memory_bodies.h"

namespace {

constexpr std::size_t kBytes = 8192;
constexpr std::size_t kSlack = 256;

// A 128-byte aligned block with slack behind the region, freed on scope
// exit.  Aligned by hand: Windows's C runtime has no aligned_alloc.
struct AlignedBlock {
    unsigned char* raw = static_cast<unsigned char*>(std::malloc(kBytes + kSlack + 128));
    unsigned char* bytes = raw + (128 - reinterpret_cast<std::uintptr_t>(raw) % 128) % 128;
    std::int32_t* words() const { return reinterpret_cast<std::int32_t*>(bytes); }
    ~AlignedBlock() { std::free(raw); }
};

void fillPattern(unsigned char* bytes, std::size_t count, unsigned seed)
{
    for (std::size_t i = 0; i < count; ++i) {
        bytes[i] = static_cast<unsigned char>(i * 131u + seed + (i >> 8));
    }
}

using CopyBody = void (*)(std::int32_t* const*, std::int32_t* const*, std::size_t, int);

void expectCopiesEveryByte(CopyBody body)
{
    AlignedBlock source;
    AlignedBlock destination;
    fillPattern(source.bytes, kBytes + kSlack, 7);
    std::memset(destination.bytes, 0xEE, kBytes + kSlack);
    std::int32_t* from = source.words();
    std::int32_t* to = destination.words();
    body(&to, &from, kBytes, 2);
    for (std::size_t i = 0; i < kBytes; ++i) {
        ASSERT_EQ(destination.bytes[i], source.bytes[i]) << "byte " << i;
    }
    for (std::size_t i = kBytes; i < kBytes + kSlack; ++i) {
        ASSERT_EQ(destination.bytes[i], 0xEE) << "byte " << i << " lies past the region";
    }
}

TEST(CopyBodies, CopyEveryByteOfTheRegionAndNothingElse)
{
    expectCopiesEveryByte(copyBody);
    expectCopiesEveryByte(copyBodyMmx);
    expectCopiesEveryByte(copyBodySse);
}

TEST(WriteBody, StoresTheValueIntoEveryWordOfTheRegionOnly)
{
    AlignedBlock block;
    std::memset(block.bytes, 0xEE, kBytes + kSlack);
    std::int32_t* base = block.words();
    writeBody(&base, kBytes, 3, 0x12345678);
    for (std::size_t word = 0; word < kBytes / 4; ++word) {
        ASSERT_EQ(block.words()[word], 0x12345678) << "word " << word;
    }
    for (std::size_t i = kBytes; i < kBytes + kSlack; ++i) {
        ASSERT_EQ(block.bytes[i], 0xEE) << "byte " << i << " lies past the region";
    }
}

TEST(WriteBody, ReloadsTheBasePointerEachPass)
{
    AlignedBlock block;
    std::memset(block.bytes, 0, kBytes + kSlack);
    std::int32_t* base = block.words();
    // Passing the pointer by address: the body follows whatever it points at.
    std::int32_t* const* region = &base;
    writeBody(region, 256, 1, -1);
    base = block.words() + 128;
    writeBody(region, 256, 1, 5);
    EXPECT_EQ(block.words()[0], -1);
    EXPECT_EQ(block.words()[63], -1);
    EXPECT_EQ(block.words()[64], 0);
    EXPECT_EQ(block.words()[128], 5);
    EXPECT_EQ(block.words()[191], 5);
}

// Long double arithmetic runs on the x87 stack that MMX registers alias;
// without EMMS every x87 register is still tagged in use and the next load
// overflows the stack, which yields NaN.
TEST(MmxBodies, LeaveFloatingPointUsable)
{
    AlignedBlock block;
    fillPattern(block.bytes, kBytes + kSlack, 1);
    std::int32_t* base = block.words();
    std::int32_t* other = block.words();

    readBodyMmx(&base, kBytes, 1);
    volatile long double a = 1.5L;
    volatile long double b = 3.0L;
    long double product = a * b;
    EXPECT_EQ(product, 4.5L);

    copyBodyMmx(&base, &other, kBytes, 1);
    product = a * b + a;
    EXPECT_EQ(product, 6.0L);
    EXPECT_EQ(static_cast<double>(a) * 2.0, 3.0);
}

}  // namespace
