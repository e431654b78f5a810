#pragma once
// The receiver plug-in's entry points as the panel calls them: each with its
// exported name and the exact pointer type (stdcall entry points, a cdecl
// callback; InitHW and OpenHW return a one-byte C++ bool).
#include <cstdint>

namespace extio {

using Callback = void(__cdecl*)(int cnt, int status, float iqOffset, void* iqData);

struct InitHW {
    static constexpr char Name[] = "InitHW";
    using Fn = bool(__stdcall*)(char* name, char* model, int* type);
};
struct OpenHW {
    static constexpr char Name[] = "OpenHW";
    using Fn = bool(__stdcall*)();
};
struct StartHW {
    static constexpr char Name[] = "StartHW";
    using Fn = int(__stdcall*)(int32_t freq);
};
struct StopHW {
    static constexpr char Name[] = "StopHW";
    using Fn = void(__stdcall*)();
};
struct CloseHW {
    static constexpr char Name[] = "CloseHW";
    using Fn = void(__stdcall*)();
};
struct SetHWLO {
    static constexpr char Name[] = "SetHWLO";
    using Fn = int(__stdcall*)(int32_t freq);
};
struct GetHWLO {
    static constexpr char Name[] = "GetHWLO";
    using Fn = int32_t(__stdcall*)();
};
struct TuneChanged {
    static constexpr char Name[] = "TuneChanged";
    using Fn = void(__stdcall*)(int32_t freq);
};
struct SetCallback {
    static constexpr char Name[] = "SetCallback";
    using Fn = void(__stdcall*)(Callback callback);
};
struct ShowGUI {
    static constexpr char Name[] = "ShowGUI";
    using Fn = void(__stdcall*)();
};
struct HideGUI {
    static constexpr char Name[] = "HideGUI";
    using Fn = void(__stdcall*)();
};

} // namespace extio
