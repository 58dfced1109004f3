// The descriptor owner of the Linux backend: exactly one close per descriptor, whatever moves.
#include "platform/linux/unique_fd.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <utility>

namespace zentrik::platform {
namespace {

bool is_open(int fd) {
    return ::fcntl(fd, F_GETFD) != -1;
}

TEST(UniqueFd, ClosesOnceAndOnlyWhatItOwns) {
    int a = -1, b = -1;
    {
        int pipe_ends[2];
        ASSERT_EQ(::pipe(pipe_ends), 0);
        a = pipe_ends[0];
        b = pipe_ends[1];
        UniqueFd first(a);
        UniqueFd moved(std::move(first));
        EXPECT_FALSE(first.valid());
        EXPECT_TRUE(is_open(a));

        UniqueFd second(b);
        second = std::move(moved);  // drops b, takes a
        EXPECT_FALSE(is_open(b));
        EXPECT_EQ(second.get(), a);

        second.reset(a);  // the same descriptor again: kept open
        EXPECT_TRUE(is_open(a));

        const int handed_over = second.release();
        EXPECT_FALSE(second.valid());
        second.reset(handed_over);
    }
    EXPECT_FALSE(is_open(a));
}

}  // namespace
}  // namespace zentrik::platform
