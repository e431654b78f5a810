#pragma once
// Bounds a test that could block in a device request: if the watchdog is still
// armed when its time is up, it names the test and ends the process with a failure
// instead of letting it hang.
//
// It waits on a helper thread, so it is for 64-bit test programs only: under the
// 32-bit emulation here, a thread blocked in a wait stops the main thread's device
// requests from returning.

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

class TestWatchdog {
public:
    explicit TestWatchdog(std::chrono::seconds limit);
    ~TestWatchdog();
    TestWatchdog(const TestWatchdog&) = delete;
    TestWatchdog& operator=(const TestWatchdog&) = delete;

private:
    void Watch(std::chrono::seconds limit);

    std::mutex mutex_;
    std::condition_variable disarmed_;
    bool done_ = false;
    std::thread thread_;
};
