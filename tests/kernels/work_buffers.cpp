#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "kernels/work_buffers.h"

namespace {

std::uintptr_t alignedAddress(std::uintptr_t raw)
{
    return reinterpret_cast<std::uintptr_t>(alignWorkBuffer(reinterpret_cast<void*>(raw)));
}

TEST(AlignWorkBuffer, MovesUpOneToOneHundredTwentyEightBytesToAMultipleOf128)
{
    EXPECT_EQ(alignedAddress(0x10000), 0x10080u);  // already aligned: a full 128 above
    EXPECT_EQ(alignedAddress(0x10001), 0x10080u);
    EXPECT_EQ(alignedAddress(0x1007F), 0x10080u);
    EXPECT_EQ(alignedAddress(0x10080), 0x10100u);
    for (std::uintptr_t raw = 0x20000; raw < 0x20000 + 256; ++raw) {
        const std::uintptr_t aligned = alignedAddress(raw);
        EXPECT_EQ(aligned % 128, 0u);
        EXPECT_GT(aligned, raw);
        EXPECT_LE(aligned, raw + 128);
    }
}

TEST(WorkBufferSizes, LeaveTheRegionAndTheLookAheadByteBehindTheAlignedPointer)
{
    // Worst case the aligned pointer is 128 bytes in.
    EXPECT_GE(kWorkBufferBytes - 128, kRegionBytes + 1);
    EXPECT_EQ(kRegionBytes, 256u * 1024 * 1024);
}

TEST(PrefaultWorkBuffer, WritesEveryByteWithANonZeroValue)
{
    std::vector<unsigned char> block(4099, 0);
    prefaultWorkBuffer(block.data(), block.size());
    for (unsigned char byte : block) {
        ASSERT_NE(byte, 0);
    }
}

}  // namespace
