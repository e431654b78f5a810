#include "NotificationRecorder.h"

#include "MessagePump.h"

#include <mutex>

namespace {

std::mutex g_lock;
std::vector<ReceivedNotification> g_received;
std::function<void()> g_reaction;

}  // namespace

namespace recorder {

void reset()
{
    std::lock_guard<std::mutex> lock(g_lock);
    g_received.clear();
    g_reaction = nullptr;
}

void setReaction(std::function<void()> reaction)
{
    std::lock_guard<std::mutex> lock(g_lock);
    g_reaction = std::move(reaction);
}

void __cdecl callback(int, int status, float, void*)
{
    std::function<void()> reaction;
    {
        std::lock_guard<std::mutex> lock(g_lock);
        reaction = g_reaction;
    }
    if (reaction) {
        reaction();
    }
    std::lock_guard<std::mutex> lock(g_lock);
    g_received.push_back({status, GetCurrentThreadId()});
}

std::vector<ReceivedNotification> received()
{
    std::lock_guard<std::mutex> lock(g_lock);
    return g_received;
}

std::size_t count()
{
    std::lock_guard<std::mutex> lock(g_lock);
    return g_received.size();
}

bool waitForCount(std::size_t wanted, DWORD timeoutMs)
{
    return pumpUntil([wanted] { return count() >= wanted; }, timeoutMs);
}

}  // namespace recorder
