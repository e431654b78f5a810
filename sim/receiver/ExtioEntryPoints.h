// The receiver plug-in's entry points as its callers see them: the types a caller
// gives GetProcAddress's result. On i686 the entry points are __stdcall and the
// notification callback __cdecl; on x86-64 both conventions are the same.
#pragma once

#include <cstddef>
#include <cstdint>

namespace extio_sim {

using Callback = void(__cdecl*)(int cnt, int status, float iqOffset, void* iqData);

using InitHWFn = bool(__stdcall*)(char* name, char* model, int* type);
using OpenHWFn = bool(__stdcall*)();
using StartHWFn = int(__stdcall*)(int32_t freq);
using StopHWFn = void(__stdcall*)();
using CloseHWFn = void(__stdcall*)();
using SetHWLOFn = int(__stdcall*)(int32_t freq);
using GetHWLOFn = int32_t(__stdcall*)();
using TuneChangedFn = void(__stdcall*)(int32_t freq);
using SetCallbackFn = void(__stdcall*)(Callback cb);
using ShowGUIFn = void(__stdcall*)();
using HideGUIFn = void(__stdcall*)();

// InitHW and OpenHW seen as returning the whole 32-bit result register: a caller
// must read only its low byte (a C++ bool), so the simulator can set the rest.
using InitHWRegisterFn = uint32_t(__stdcall*)(char* name, char* model, int* type);
using OpenHWRegisterFn = uint32_t(__stdcall*)();

// The status that announces a change of the oscillator frequency.
constexpr int kStatusLoChanged = 101;

// Size of the name and model buffers that the caller hands to InitHW.
constexpr std::size_t kDeviceTextSize = 20;

}  // namespace extio_sim
