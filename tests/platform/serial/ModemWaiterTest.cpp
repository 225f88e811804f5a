#include "platform/serial/ModemWaiter.h"
#include "platform/serial/CommEvents.h"

#include <QDir>
#include <QTest>

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

using namespace brantock::platform;

namespace {

// Plays a device with modem lines behind a pseudo-terminal, which has none of its own: the
// waiter polls the terminal and reads these levels. A reading off the test's thread waits
// until the test has moved a line, so a baseline taken late is sure to miss the change.
struct PlayedLines {
    std::mutex mutex;
    std::condition_variable moved;
    ModemLines levels;
    bool hasMoved = false;
    std::thread::id testThread = std::this_thread::get_id();

    void move(const ModemLines& to) {
        std::lock_guard lock(mutex);
        levels = to;
        hasMoved = true;
        moved.notify_all();
    }
};

class ModemWaiterOnPty : public ::testing::Test {
protected:
    ModemWaiterOnPty() {
        master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (master >= 0 && ::grantpt(master) == 0 && ::unlockpt(master) == 0)
            terminal = ::open(::ptsname(master), O_RDWR | O_NOCTTY | O_CLOEXEC);
    }
    ~ModemWaiterOnPty() override {
        waiter.stop();
        ::close(master);
    }
    void SetUp() override { ASSERT_GE(terminal, 0); }

    // The next record the waiter queues, waiting a few seconds for it.
    std::optional<LineChange> nextChange() {
        pollfd p{changes->wakeFd(), POLLIN, 0};
        if (::poll(&p, 1, 5000) <= 0)
            return std::nullopt;
        return changes->pop();
    }

    int master = -1;
    int terminal = -1;
    std::shared_ptr<PlayedLines> lines = std::make_shared<PlayedLines>();
    std::shared_ptr<ChangeQueue> changes = std::make_shared<ChangeQueue>();
    ModemWaiter waiter{[lines = lines](int, ModemSample& out, int&) {
        std::unique_lock lock(lines->mutex);
        if (std::this_thread::get_id() != lines->testThread)
            lines->moved.wait_for(lock, std::chrono::seconds(10), [&] { return lines->hasMoved; });
        out = ModemSample{};
        out.levels = lines->levels;
        return true;
    }};
};

TEST_F(ModemWaiterOnPty, ChangeRightAfterStartingIsQueued) {
    ASSERT_TRUE(waiter.start(terminal, true, changes));
    lines->move(ModemLines{true, false, false});
    EXPECT_EQ(nextChange(), (LineChange{comEvDSR, ModemLines{true, false, false}}));
}

TEST_F(ModemWaiterOnPty, StoppingEndsTheThreadEachTime) {
    auto threads = [] { return QDir(QStringLiteral("/proc/self/task")).count(); };
    lines->move(ModemLines{});
    const auto before = threads();
    for (int i = 0; i < 20; ++i) {
        const int fd = ::fcntl(terminal, F_DUPFD_CLOEXEC, 0);
        ASSERT_TRUE(waiter.start(fd, true, changes));
        waiter.stop();
    }
    EXPECT_TRUE(QTest::qWaitFor([&] { return threads() <= before; }, 5000))
        << threads() << " threads, " << before << " before";
    ::close(terminal);
}

} // namespace
