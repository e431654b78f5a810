// One load of the simulated receiver plug-in with its own EXTIO_SIM_* settings and a
// fresh call log; everything is undone when it goes out of scope.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

struct EnvSetting {
    const wchar_t* name;
    const wchar_t* value;  // null: left unset
};

using Env = std::vector<EnvSetting>;

struct LogLine {
    uint64_t microseconds;
    std::string text;  // everything after the timestamp
};

// The plug-in's file name, as the panel loads it.
constexpr wchar_t kPluginFileName[] = L"EXTIO_TARVO.DLL";

// The complete plug-in beside the test program, and a variant that lacks one export.
std::wstring pluginPath();
std::wstring variantPath(const char* missingEntryPoint);

class SimPlugin {
public:
    explicit SimPlugin(const Env& settings = {}, const std::wstring& path = pluginPath());
    ~SimPlugin();
    SimPlugin(const SimPlugin&) = delete;
    SimPlugin& operator=(const SimPlugin&) = delete;

    // The entry point through a correctly typed pointer; null when not exported.
    template <typename Fn>
    Fn entry(const char* name) const
    {
        // Through void(*)(): the one cast from FARPROC that -Wcast-function-type accepts.
        return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(GetProcAddress(module_, name)));
    }

    HMODULE module() const { return module_; }
    const std::wstring& logPath() const { return logPath_; }
    std::string logText() const;
    // The log's lines; `skip` leading bytes that were there before the plug-in wrote.
    std::vector<LogLine> logLines(std::size_t skip = 0) const;
    std::vector<std::string> logTexts() const;

    // Frees the plug-in now, as the panel does when it closes.
    void unload();

private:
    std::wstring logPath_;
    HMODULE module_ = nullptr;
};

// Whether a module named EXTIO_TARVO.DLL is mapped in this process.
bool pluginLoaded();

// The plug-in's window in this process (others may show one too), or null.
HWND pluginWindow();
