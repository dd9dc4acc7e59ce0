#include "saver_program/stop_signals_posix.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <unistd.h>

#include <csignal>
#include <string>

namespace {

// Whether a wake-up is waiting; takes it.
bool Readable(int fd) {
    pollfd wait{fd, POLLIN, 0};
    char byte = 0;
    return poll(&wait, 1, 0) == 1 && read(fd, &byte, 1) == 1;
}

// raise() delivers the signal before it returns, so the pipe tells at once
// whether the handler ran. Each signal in turn is ignored from the start (as
// under nohup, or in a script's background job); the others keep ours.
TEST(StopSignals, InheritedIgnoreStaysAndTheOthersStillWake) {
    const int signals[] = {SIGTERM, SIGINT, SIGHUP};
    for (const int ignored : signals) {
        for (const int signal : signals) {
            std::signal(signal, signal == ignored ? SIG_IGN : SIG_DFL);
        }
        {
            StopSignals stop;
            std::string error;
            ASSERT_TRUE(stop.install(&error)) << error;
            raise(ignored);
            EXPECT_FALSE(Readable(stop.fd())) << "signal " << ignored << " woke the loop although ignored";
            for (const int other : signals) {
                if (other != ignored) {
                    raise(other);
                    EXPECT_TRUE(Readable(stop.fd())) << "signal " << other << " did not wake the loop";
                }
            }
        }
        // Ended: the ignored one is still ignored, the others back to their default.
        struct sigaction now {};
        sigaction(ignored, nullptr, &now);
        EXPECT_EQ(now.sa_handler, SIG_IGN) << "signal " << ignored;
        for (const int other : signals) {
            sigaction(other, nullptr, &now);
            if (other != ignored) {
                EXPECT_EQ(now.sa_handler, SIG_DFL) << "signal " << other;
            }
        }
    }
    for (const int signal : signals) {
        std::signal(signal, SIG_DFL);
    }
}

}  // namespace
