// googletest's hook for adapting it to a platform, found ahead of its own
// empty one in the Windows builds. The C++ library of MinGW's win32 thread
// model (the 32-bit build) has no std::mutex or std::condition_variable,
// which googletest's Notification is made of; give it one made of an atomic
// flag. Only googletest's own thread helpers use it, never our tests.
#pragma once

#include <cstddef>

#if defined(_WIN32) && !defined(_GLIBCXX_HAS_GTHREADS)
#include <atomic>

#define GTEST_HAS_NOTIFICATION_ 1

namespace testing::internal {

class Notification {
public:
    Notification() = default;
    Notification(const Notification &) = delete;
    Notification &operator=(const Notification &) = delete;

    void Notify() { notified_.store(true, std::memory_order_release); }
    void WaitForNotification() {
        while (!notified_.load(std::memory_order_acquire)) {}
    }

private:
    std::atomic<bool> notified_{false};
};

}  // namespace testing::internal
#endif
