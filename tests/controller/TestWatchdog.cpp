#include "TestWatchdog.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>

namespace {
constexpr UINT kTimedOutExitCode = 3;
}

TestWatchdog::TestWatchdog(std::chrono::seconds limit)
    : thread_([this, limit] { Watch(limit); })
{
}

TestWatchdog::~TestWatchdog()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        done_ = true;
    }
    disarmed_.notify_one();
    thread_.join();
}

void TestWatchdog::Watch(std::chrono::seconds limit)
{
    std::unique_lock<std::mutex> lock(mutex_);
    if (disarmed_.wait_for(lock, limit, [this] { return done_; })) {
        return;
    }
    const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
    std::fprintf(stderr, "TIMEOUT: %s.%s still running after %lld s; a device request never returned\n",
                 test ? test->test_suite_name() : "?", test ? test->name() : "?",
                 static_cast<long long>(limit.count()));
    std::fflush(stderr);
    // The blocked call cannot be cancelled; only ending the process frees the test run.
    TerminateProcess(GetCurrentProcess(), kTimedOutExitCode);
}
