#include "Callback.h"

#include <atomic>

#include "Application.h"
#include "EntryPoint.h"
#include "ExtIO.h"
#include "Frequency.h"
#include "Main.h"
#include "UiThread.h"

namespace {

// The plug-in has changed its oscillator frequency.
constexpr int STATUS_LO_CHANGED = 101;

// Notifications from plug-in threads are merged into one pending post, so a
// flood cannot fill the window's message queue.
std::atomic<bool> loChangePosted{false};

// Set while the handler's own box is open: further notifications meanwhile
// do not stack another box.
bool reportingMissingGetHWLO = false;

void HandlePostedLoChange()
{
    loChangePosted = false;
    HandleExtIONotification(STATUS_LO_CHANGED);
}

} // namespace

void HandleExtIONotification(int status)
{
    TMainForm* form = MainForm;
    if (!form || !form->ExtIOLib || form->ExtIOReleased)
        return;
    const auto getHWLO = FindEntry<extio::GetHWLO>(form->ExtIOLib);
    if (status != STATUS_LO_CHANGED)
        return;
    if (!getHWLO) {
        if (reportingMissingGetHWLO)
            return;
        reportingMissingGetHWLO = true;
        ReportNotFound(extio::GetHWLO::Name);
        reportingMissingGetHWLO = false;
        return;
    }
    form->Freq = frequency::AddWrapped(getHWLO(), -1);
    form->UpdateFreq(form->Freq);
}

void __cdecl ExtIOCallback(int, int status, float, void*)
{
    if (ui::OnUiThread()) {
        ui::Guarded([status] { HandleExtIONotification(status); });
        return;
    }
    // Carried over to the UI thread; other statuses change nothing anyway.
    if (status == STATUS_LO_CHANGED && !loChangePosted.exchange(true)) {
        if (!ui::PostToUiThread(HandlePostedLoChange))
            loChangePosted = false;
    }
}
