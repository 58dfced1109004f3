// The frame's memory as the helper thread prepares it, before any display is involved.
#include "platform/shared_frame.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace zentrik::platform {
namespace {

std::uint32_t pixel_at(const SharedFrame& frame, int width, int x, int y) {
    std::uint32_t v = 0;
    std::memcpy(&v, frame.pixels().data() + (std::size_t(y) * width + x) * 4, 4);
    return v;
}

TEST(SharedFrame, PreparedMemoryHoldsTheFillOrIsClear) {
    constexpr int kWidth = 7, kHeight = 3;
    std::vector<std::uint32_t> same_stride(kWidth * kHeight);
    for (std::size_t i = 0; i < same_stride.size(); ++i)
        same_stride[i] = 0xFF000000u | static_cast<std::uint32_t>(i);
    auto copied = prepare_shared_frame(
        kWidth, kHeight, reinterpret_cast<const std::uint8_t*>(same_stride.data()), kWidth * 4);
    ASSERT_NE(copied, nullptr) << "this system gives no shared memory";
    EXPECT_EQ(copied->pixels().size(), std::size_t(kWidth) * kHeight * 4);
    EXPECT_EQ(pixel_at(*copied, kWidth, 6, 2), same_stride[20]);
    EXPECT_EQ(copied->image(), nullptr);  // nothing to compose into before the server maps it

    // Wider rows in the source (a window system's surface): each row lands at its place.
    constexpr int kWideStride = (kWidth + 3) * 4;
    std::vector<std::uint8_t> wide(std::size_t(kWideStride) * kHeight, 0xAB);
    for (int y = 0; y < kHeight; ++y)
        std::memset(wide.data() + std::size_t(y) * kWideStride, 0x10 + y, kWidth * 4);
    auto rows = prepare_shared_frame(kWidth, kHeight, wide.data(), kWideStride);
    ASSERT_NE(rows, nullptr);
    for (int y = 0; y < kHeight; ++y) {
        const std::uint8_t b = static_cast<std::uint8_t>(0x10 + y);
        EXPECT_EQ(pixel_at(*rows, kWidth, 0, y), 0x01010101u * b) << "row " << y;
        EXPECT_EQ(pixel_at(*rows, kWidth, kWidth - 1, y), 0x01010101u * b) << "row " << y;
    }

    auto clear = prepare_shared_frame(kWidth, kHeight, nullptr, 0);
    ASSERT_NE(clear, nullptr);
    for (std::uint8_t byte : clear->pixels())
        ASSERT_EQ(byte, 0);

    EXPECT_EQ(prepare_shared_frame(0, kHeight, nullptr, 0), nullptr);
}

}  // namespace
}  // namespace zentrik::platform
