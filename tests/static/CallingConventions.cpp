// Compiled in both flavours, linked nowhere. The prototypes below are those of
// the receiver plug-in interface and of the controller library; each is
// assigned, without a cast, to the pointer type the panel calls through. On
// i686 a missing __stdcall or __cdecl, or a wrong return or argument type,
// is a compile error here (on x86-64 both conventions are one).
#include <cstdint>

#include "ExtIO.h"
#include "VORN_Encoder.h"

extern "C" {
bool __stdcall InitHW(char* name, char* model, int* type);
bool __stdcall OpenHW();
int __stdcall StartHW(int32_t freq);
void __stdcall StopHW();
void __stdcall CloseHW();
int __stdcall SetHWLO(int32_t freq);
int32_t __stdcall GetHWLO();
void __stdcall TuneChanged(int32_t freq);
void __stdcall SetCallback(void(__cdecl* callback)(int cnt, int status, float iqOffset,
                                                   void* iqData));
void __stdcall ShowGUI();
void __stdcall HideGUI();
}

#include "Callback.h"
#include "EncoderEntries.h"

void CheckCallingConventions()
{
    [[maybe_unused]] extio::InitHW::Fn initHW = InitHW;
    [[maybe_unused]] extio::OpenHW::Fn openHW = OpenHW;
    [[maybe_unused]] extio::StartHW::Fn startHW = StartHW;
    [[maybe_unused]] extio::StopHW::Fn stopHW = StopHW;
    [[maybe_unused]] extio::CloseHW::Fn closeHW = CloseHW;
    [[maybe_unused]] extio::SetHWLO::Fn setHWLO = SetHWLO;
    [[maybe_unused]] extio::GetHWLO::Fn getHWLO = GetHWLO;
    [[maybe_unused]] extio::TuneChanged::Fn tuneChanged = TuneChanged;
    [[maybe_unused]] extio::SetCallback::Fn setCallback = SetCallback;
    [[maybe_unused]] extio::ShowGUI::Fn showGUI = ShowGUI;
    [[maybe_unused]] extio::HideGUI::Fn hideGUI = HideGUI;
    [[maybe_unused]] extio::Callback callback = ExtIOCallback;

    [[maybe_unused]] encoder::OpenConnection::Fn openConnection = OpenConnection;
    [[maybe_unused]] encoder::CloseConnection::Fn closeConnection = CloseConnection;
    [[maybe_unused]] encoder::ReadValue::Fn readValue = ReadValue;
    [[maybe_unused]] encoder::SetLed::Fn setLed = SetLed;
}
