// The plug-in's entry points and its unload hook. Every call writes one log line
// once its effect is in place and before any notification it triggers, so the log
// reads in the order things happened (StopHW's line follows its last notification).

#include "CallLog.h"
#include "ExtioEntryPoints.h"
#include "Notification.h"
#include "NotificationPlan.h"
#include "NotificationSender.h"
#include "ReceiverState.h"
#include "SimConfig.h"
#include "SimWindow.h"

#include <windows.h>

#include <cinttypes>
#include <cstring>
#include <memory>
#include <type_traits>

extern "C" {
uint32_t __stdcall InitHW(char* name, char* model, int* type);
uint32_t __stdcall OpenHW();
int __stdcall StartHW(int32_t freq);
void __stdcall StopHW();
void __stdcall CloseHW();
int __stdcall SetHWLO(int32_t freq);
int32_t __stdcall GetHWLO();
void __stdcall TuneChanged(int32_t freq);
void __stdcall SetCallback(extio_sim::Callback cb);
void __stdcall ShowGUI();
void __stdcall HideGUI();
}

// Each definition must match what a caller casts GetProcAddress's result to; on
// i686 this also checks the calling conventions.
static_assert(std::is_same_v<decltype(&InitHW), extio_sim::InitHWRegisterFn>);
static_assert(std::is_same_v<decltype(&OpenHW), extio_sim::OpenHWRegisterFn>);
static_assert(std::is_same_v<decltype(&StartHW), extio_sim::StartHWFn>);
static_assert(std::is_same_v<decltype(&StopHW), extio_sim::StopHWFn>);
static_assert(std::is_same_v<decltype(&CloseHW), extio_sim::CloseHWFn>);
static_assert(std::is_same_v<decltype(&SetHWLO), extio_sim::SetHWLOFn>);
static_assert(std::is_same_v<decltype(&GetHWLO), extio_sim::GetHWLOFn>);
static_assert(std::is_same_v<decltype(&TuneChanged), extio_sim::TuneChangedFn>);
static_assert(std::is_same_v<decltype(&SetCallback), extio_sim::SetCallbackFn>);
static_assert(std::is_same_v<decltype(&ShowGUI), extio_sim::ShowGUIFn>);
static_assert(std::is_same_v<decltype(&HideGUI), extio_sim::HideGUIFn>);

namespace {

// Any fixed value: callers do not interpret it.
constexpr int kHardwareType = 1;
constexpr int kStartResult = 0;
constexpr int kSetLoResult = 0;

// The EXTIO_SIM_NOTIFY list after SetCallback, the EXTIO_SIM_PERIODIC steps after StartHW.
std::unique_ptr<NotificationSender> g_listedSender;
std::unique_ptr<NotificationSender> g_periodicSender;

NotificationSender& sender(std::unique_ptr<NotificationSender>& slot)
{
    if (!slot) {
        slot = makeNotificationSender(simConfig().thread);
    }
    return *slot;
}

void forEachSender(void (NotificationSender::*action)())
{
    for (auto* slot : {&g_listedSender, &g_periodicSender}) {
        if (*slot) {
            ((**slot).*action)();
        }
    }
}

// What a caller that reads a C++ bool sees: the low byte of the register.
int asBool(uint32_t registerValue)
{
    constexpr uint32_t kBoolByte = 0xFF;
    return (registerValue & kBoolByte) != 0 ? 1 : 0;
}

// A text that fills the buffer is written without its terminating NUL, as careless
// plug-ins do, so that callers prove they cope with it.
void writeDeviceText(char* buffer, const std::string& text)
{
    if (buffer == nullptr) {
        return;
    }
    if (text.size() >= extio_sim::kDeviceTextSize) {
        std::memcpy(buffer, text.data(), extio_sim::kDeviceTextSize);
    } else {
        std::memcpy(buffer, text.c_str(), text.size() + 1);
    }
}

void notifyInside(NotifyInCall call)
{
    if (simConfig().notifyIn == call) {
        sendStatus(extio_sim::kStatusLoChanged, NotifyThread::Caller);
    }
}

}  // namespace

extern "C" {

uint32_t __stdcall InitHW(char* name, char* model, int* type)
{
    const SimConfig& config = simConfig();
    writeDeviceText(name, config.name);
    writeDeviceText(model, config.model);
    if (type != nullptr) {
        *type = kHardwareType;
    }
    call_log::write("InitHW() -> %d", asBool(config.initHwResult));
    return config.initHwResult;
}

uint32_t __stdcall OpenHW()
{
    const uint32_t result = simConfig().openHwResult;
    call_log::write("OpenHW() -> %d", asBool(result));
    notifyInside(NotifyInCall::OpenHW);
    return result;
}

int __stdcall StartHW(int32_t freq)
{
    call_log::write("StartHW(%" PRId32 ") -> %d", freq, kStartResult);
    if (const auto& periodic = simConfig().periodic) {
        sender(g_periodicSender).start(makePeriodicPlan(*periodic));
    }
    return kStartResult;
}

void __stdcall StopHW()
{
    forEachSender(&NotificationSender::stop);
    call_log::write("StopHW() -> void");
}

void __stdcall CloseHW()
{
    forEachSender(&NotificationSender::stop);
    sim_window::destroy();
    call_log::write("CloseHW() -> void");
}

int __stdcall SetHWLO(int32_t freq)
{
    receiver_state::setLo(freq);
    sim_window::refresh();
    call_log::write("SetHWLO(%" PRId32 ") -> %d", freq, kSetLoResult);
    return kSetLoResult;
}

int32_t __stdcall GetHWLO()
{
    const int32_t lo = receiver_state::lo();
    call_log::write("GetHWLO() -> %" PRId32, lo);
    return lo;
}

void __stdcall TuneChanged(int32_t freq)
{
    receiver_state::setTuned(freq);
    sim_window::refresh();
    call_log::write("TuneChanged(%" PRId32 ") -> void", freq);
}

void __stdcall SetCallback(extio_sim::Callback cb)
{
    receiver_state::setCallback(cb);
    call_log::write("SetCallback(%s) -> void", cb != nullptr ? "set" : "null");
    // A new callback restarts the listed notifications; none go to a null one.
    NotificationSender& listed = sender(g_listedSender);
    listed.stop();
    const std::vector<TimedStatus>& notify = simConfig().notify;
    if (cb != nullptr && !notify.empty()) {
        listed.start(makeListedPlan(notify));
    }
    notifyInside(NotifyInCall::SetCallback);
}

void __stdcall ShowGUI()
{
    sim_window::show();
    call_log::write("ShowGUI() -> void");
}

void __stdcall HideGUI()
{
    sim_window::hide();
    call_log::write("HideGUI() -> void");
}

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved)
{
    // On FreeLibrary (reserved null) end timers and the window, whose code goes
    // away with us. Nothing here waits: the loader lock is held. At process exit
    // (reserved set) other threads are gone already and nothing needs undoing.
    if (reason == DLL_PROCESS_DETACH && reserved == nullptr) {
        forEachSender(&NotificationSender::abandon);
        sim_window::destroy();
    }
    return TRUE;
}

}  // extern "C"
