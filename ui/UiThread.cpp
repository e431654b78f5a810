#include "UiThread.h"

#include <windows.h>

#include "Application.h"
#include "MessageWindow.h"

namespace ui {

namespace {

constexpr UINT WM_RUN_TASK = WM_APP + 1;

// Plain values only: a plug-in thread may still post while the process ends.
HWND taskWindow;
DWORD uiThreadId;

LRESULT CALLBACK TaskWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_RUN_TASK) {
        const auto task = reinterpret_cast<UiTask>(wParam);
        Guarded([task] { task(); });
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

} // namespace

void InitUiThread()
{
    uiThreadId = GetCurrentThreadId();
    taskWindow = CreateMessageWindow("TarvoUiTasks", TaskWindowProc);
}

bool OnUiThread()
{
    return GetCurrentThreadId() == uiThreadId;
}

bool PostToUiThread(UiTask task)
{
    return PostMessageA(taskWindow, WM_RUN_TASK, reinterpret_cast<WPARAM>(task), 0) != FALSE;
}

} // namespace ui
