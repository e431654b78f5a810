// The test's notification callback: records each status and the thread it came on.
#pragma once

#include <windows.h>

#include <cstddef>
#include <functional>
#include <vector>

struct ReceivedNotification {
    int status;
    DWORD threadId;
};

namespace recorder {

// Forgets earlier notifications and any reaction.
void reset();

// Runs inside the callback, before the notification is recorded.
void setReaction(std::function<void()> reaction);

void __cdecl callback(int cnt, int status, float iqOffset, void* iqData);

std::vector<ReceivedNotification> received();
std::size_t count();

// Handles this thread's messages until `count` notifications have been recorded.
bool waitForCount(std::size_t count, DWORD timeoutMs);

}  // namespace recorder
