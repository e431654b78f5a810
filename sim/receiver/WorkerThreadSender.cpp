#include "WorkerThreadSender.h"

#include "CallLog.h"
#include "Notification.h"
#include "SimClock.h"

#include <algorithm>

namespace {

// Long enough for any callback to return; a thread still busy after it is left
// to end on its own, which its DLL reference makes safe.
constexpr DWORD kJoinTimeoutMs = 2000;

struct WorkerContext {
    std::unique_ptr<NotificationPlan> plan;
    HANDLE stopEvent = nullptr;  // the worker's own handle
    HMODULE module = nullptr;    // the worker's own reference to this DLL
    uint64_t startUs = 0;
};

// False when the stop event ends the wait first.
bool waitUntilDue(const WorkerContext& context, uint64_t dueMs)
{
    const uint64_t elapsedMs = millisecondsSince(context.startUs);
    if (dueMs > elapsedMs) {
        const DWORD waitMs = static_cast<DWORD>(std::min<uint64_t>(dueMs - elapsedMs, INFINITE - 1));
        return WaitForSingleObject(context.stopEvent, waitMs) == WAIT_TIMEOUT;
    }
    // Already due, as in a flood: give other threads their turn between sends.
    SwitchToThread();
    return WaitForSingleObject(context.stopEvent, 0) == WAIT_TIMEOUT;
}

DWORD WINAPI workerMain(void* parameter)
{
    WorkerContext* context = static_cast<WorkerContext*>(parameter);
    while (const auto due = context->plan->next(millisecondsSince(context->startUs))) {
        if (!waitUntilDue(*context, due->dueMs)) {
            break;
        }
        deliver(*due, NotifyThread::Worker);
    }
    const HMODULE module = context->module;
    CloseHandle(context->stopEvent);
    delete context;
    // Drops the DLL reference without returning into the DLL's code.
    FreeLibraryAndExitThread(module, 0);
}

bool joinPumpingSentMessages(HANDLE thread, DWORD timeoutMs)
{
    const uint64_t startUs = monotonicMicroseconds();
    for (;;) {
        const uint64_t waitedMs = millisecondsSince(startUs);
        if (waitedMs >= timeoutMs) {
            return false;
        }
        const DWORD result = MsgWaitForMultipleObjects(1, &thread, FALSE,
            static_cast<DWORD>(timeoutMs - waitedMs), QS_SENDMESSAGE);
        if (result == WAIT_OBJECT_0) {
            return true;
        }
        if (result != WAIT_OBJECT_0 + 1) {
            return false;
        }
        MSG message;
        PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

}  // namespace

void WorkerThreadSender::start(std::unique_ptr<NotificationPlan> plan)
{
    stop();
    if (!launch(std::move(plan))) {
        call_log::write("worker(start) -> failed");
        closeHandles();
    }
}

bool WorkerThreadSender::launch(std::unique_ptr<NotificationPlan> plan)
{
    auto context = std::make_unique<WorkerContext>();
    context->plan = std::move(plan);
    context->startUs = monotonicMicroseconds();

    stopEvent_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    const HANDLE process = GetCurrentProcess();
    if (stopEvent_ == nullptr
        || !DuplicateHandle(process, stopEvent_, process, &context->stopEvent, 0, FALSE, DUPLICATE_SAME_ACCESS)) {
        return false;
    }
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
            reinterpret_cast<LPCWSTR>(&workerMain), &context->module)) {
        CloseHandle(context->stopEvent);
        return false;
    }
    thread_ = CreateThread(nullptr, 0, workerMain, context.get(), 0, &threadId_);
    if (thread_ == nullptr) {
        CloseHandle(context->stopEvent);
        FreeLibrary(context->module);  // the caller's own reference keeps us loaded
        return false;
    }
    context.release();  // the worker owns it now
    return true;
}

void WorkerThreadSender::stop()
{
    if (thread_ == nullptr) {
        return;
    }
    SetEvent(stopEvent_);
    // Called from the worker's own callback: it ends once that callback returns.
    if (threadId_ != GetCurrentThreadId() && !joinPumpingSentMessages(thread_, kJoinTimeoutMs)) {
        call_log::write("worker(stop) -> timeout");
    }
    closeHandles();
}

void WorkerThreadSender::abandon()
{
    if (thread_ != nullptr) {
        SetEvent(stopEvent_);
    }
    closeHandles();
}

void WorkerThreadSender::closeHandles()
{
    if (thread_ != nullptr) {
        CloseHandle(thread_);
        thread_ = nullptr;
        threadId_ = 0;
    }
    if (stopEvent_ != nullptr) {
        CloseHandle(stopEvent_);
        stopEvent_ = nullptr;
    }
}
