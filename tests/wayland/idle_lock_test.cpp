// The idle waiter's lock: its name, which the enable command shares, a
// second waiter told the first one's id, and nobody named once the holder
// has gone, whether it let go or was killed and left the file.
#include "wayland/idle_lock.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "wayland/idle_lock_posix.h"

namespace {

TEST(IdleLock, NamedForTheDisplay) {
    EXPECT_EQ(IdleLockPath("/run/user/1000", "wayland-1"), "/run/user/1000/quorbel-wayland-idle-wayland-1.lock");
    EXPECT_EQ(IdleLockPath("/run/user/1000", "/tmp/w/sock"), "/run/user/1000/quorbel-wayland-idle-_tmp_w_sock.lock");
}

TEST(IdleLock, OneHolderWhoseIdIsFound) {
    char folder[] = "/tmp/idle_lock_test.XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string path = IdleLockPath(folder, "wayland-0");
    std::optional<pid_t> holder;
    std::string error;
    {
        const auto lock = IdleLock::Take(path, &holder, &error);
        ASSERT_TRUE(lock) << error;
        EXPECT_EQ(IdleLockHolder(path), getpid());
        // flock() locks belong to the open file, so a second open in this
        // process is refused as another waiter would be.
        EXPECT_FALSE(IdleLock::Take(path, &holder, &error));
        EXPECT_EQ(holder, getpid());
    }
    EXPECT_NE(access(path.c_str(), F_OK), 0) << "the file stayed after the holder let go";
    EXPECT_FALSE(IdleLockHolder(path));

    // A killed waiter's file, its id still in it, names nobody.
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT, 0600);
    ASSERT_EQ(write(fd, "4242\n", 5), 5);
    close(fd);
    EXPECT_FALSE(IdleLockHolder(path));
    holder.reset();
    EXPECT_TRUE(IdleLock::Take(path, &holder, &error)) << error;
    EXPECT_FALSE(holder);
    rmdir(folder);
}

}  // namespace
