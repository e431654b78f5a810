#include "MessagePump.h"

namespace {

// Short enough that a condition set by another thread is seen promptly.
constexpr DWORD kPollMs = 5;

void dispatchPending()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

}  // namespace

bool pumpUntil(const std::function<bool()>& done, DWORD timeoutMs)
{
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        dispatchPending();
        if (done()) {
            return true;
        }
        if (GetTickCount64() >= deadline) {
            return false;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, kPollMs, QS_ALLINPUT);
    }
}

void pumpFor(DWORD durationMs)
{
    pumpUntil([] { return false; }, durationMs);
}
