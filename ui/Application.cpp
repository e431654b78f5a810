#include "Application.h"

#include "Exception.h"
#include "Form.h"
#include "MessageBox.h"
#include "Timer.h"
#include "UiThread.h"

namespace ui {

namespace {

TApplication theApplication;
constexpr char DIALOG_KEYS_PROP[] = "TarvoDialogKeys";

bool RoutedAsDialog(MSG& msg)
{
    if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST)
        return false;
    HWND root = GetAncestor(msg.hwnd, GA_ROOT);
    return root && GetPropA(root, DIALOG_KEYS_PROP) && IsDialogMessageA(root, &msg);
}

} // namespace

TApplication* Application = &theApplication;

void EnableDialogKeys(HWND window)
{
    SetPropA(window, DIALOG_KEYS_PROP, reinterpret_cast<HANDLE>(1));
}

std::string ErrorBoxText(std::exception_ptr error)
{
    try {
        std::rethrow_exception(error);
    } catch (const Exception& e) {
        std::string text = e.Message();
        if (!text.empty() && static_cast<unsigned char>(text.back()) > '.')
            text += '.';
        return text;
    } catch (...) {
        return {};
    }
}

void TApplication::Initialize()
{
    InitUiThread();
    TickSource::Start();
}

void TApplication::Run()
{
    if (!terminated_ && MainForm)
        MainForm->Show();
    while (!terminated_)
        HandleMessage();
    TickSource::Stop();
}

void TApplication::Terminate()
{
    if (!terminated_)
        PostQuitMessage(0);
    terminated_ = true;
}

void TApplication::HandleMessage()
{
    TickSource::PostDue();
    MSG msg;
    if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        MsgWaitForMultipleObjectsEx(0, nullptr, TickSource::MillisecondsToNextDue(), QS_ALLINPUT,
                                    MWMO_INPUTAVAILABLE);
        return;
    }
    if (msg.message == WM_QUIT) {
        terminated_ = true;
        return;
    }
    if (!RoutedAsDialog(msg)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    if (OnMessageHandled)
        Guarded([this] { OnMessageHandled(); });
}

void TApplication::RunNestedLoop(const std::function<bool()>& done)
{
    while (!done() && !terminated_)
        HandleMessage();
}

void TApplication::HandleException(std::exception_ptr error)
{
    ShowMessage(ErrorBoxText(error));
}

} // namespace ui
