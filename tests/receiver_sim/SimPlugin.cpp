#include "SimPlugin.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <sstream>

namespace {

constexpr wchar_t kWindowTitle[] = L"TARVO receiver (simulated)";

constexpr const wchar_t* kSettingNames[] = {
    L"EXTIO_SIM_LOG", L"EXTIO_SIM_INITHW", L"EXTIO_SIM_OPENHW", L"EXTIO_SIM_NAME",
    L"EXTIO_SIM_MODEL", L"EXTIO_SIM_HWLO", L"EXTIO_SIM_NOTIFY", L"EXTIO_SIM_NOTIFY_IN",
    L"EXTIO_SIM_PERIODIC", L"EXTIO_SIM_THREAD",
};

void clearSettings()
{
    for (const wchar_t* name : kSettingNames) {
        SetEnvironmentVariableW(name, nullptr);
    }
}

std::wstring binDirectory()
{
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring directory(path, length);
    return directory.substr(0, directory.find_last_of(L"\\/") + 1);
}

// Unique per load, and absent until the plug-in creates it.
std::wstring freshLogPath()
{
    static unsigned loads = 0;
    wchar_t directory[MAX_PATH];
    GetTempPathW(MAX_PATH, directory);
    const std::wstring path = std::wstring(directory) + L"receiver_sim_" + std::to_wstring(GetCurrentProcessId())
        + L"_" + std::to_wstring(++loads) + L".log";
    DeleteFileW(path.c_str());
    return path;
}

BOOL CALLBACK matchPluginWindow(HWND window, LPARAM found)
{
    constexpr int kTitleSize = 64;
    wchar_t title[kTitleSize];
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != GetCurrentProcessId() || GetWindowTextW(window, title, kTitleSize) == 0
        || std::wcscmp(title, kWindowTitle) != 0) {
        return TRUE;
    }
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

std::wstring widen(const char* text)
{
    return std::wstring(text, text + strlen(text));
}

}  // namespace

std::wstring pluginPath()
{
    return binDirectory() + kPluginFileName;
}

std::wstring variantPath(const char* missingEntryPoint)
{
    return binDirectory() + L"receiver-variants\\no-" + widen(missingEntryPoint) + L"\\" + kPluginFileName;
}

bool pluginLoaded()
{
    return GetModuleHandleW(kPluginFileName) != nullptr;
}

HWND pluginWindow()
{
    HWND found = nullptr;
    EnumWindows(matchPluginWindow, reinterpret_cast<LPARAM>(&found));
    return found;
}

SimPlugin::SimPlugin(const Env& settings, const std::wstring& path)
    : logPath_(freshLogPath())
{
    clearSettings();
    SetEnvironmentVariableW(L"EXTIO_SIM_LOG", logPath_.c_str());
    for (const EnvSetting& setting : settings) {
        SetEnvironmentVariableW(setting.name, setting.value);
    }
    module_ = LoadLibraryW(path.c_str());
    EXPECT_NE(module_, nullptr) << "cannot load the plug-in, error " << GetLastError();
}

SimPlugin::~SimPlugin()
{
    unload();
    clearSettings();
    DeleteFileW(logPath_.c_str());
}

void SimPlugin::unload()
{
    if (module_ != nullptr) {
        FreeLibrary(module_);
        module_ = nullptr;
    }
}

std::string SimPlugin::logText() const
{
    const HANDLE file = CreateFileW(logPath_.c_str(), GENERIC_READ,
        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return {};
    }
    std::string text;
    char chunk[4096];
    DWORD read = 0;
    while (ReadFile(file, chunk, sizeof chunk, &read, nullptr) && read > 0) {
        text.append(chunk, read);
    }
    CloseHandle(file);
    return text;
}

std::vector<LogLine> SimPlugin::logLines(std::size_t skip) const
{
    std::istringstream stream(logText().substr(skip));
    std::vector<LogLine> lines;
    std::string line;
    while (std::getline(stream, line)) {
        const std::size_t space = line.find(' ');
        LogLine parsed{0, line.substr(space == std::string::npos ? line.size() : space + 1)};
        const std::string stamp = line.substr(0, space);
        EXPECT_TRUE(!stamp.empty() && stamp.find_first_not_of("0123456789") == std::string::npos)
            << "no timestamp in log line: " << line;
        parsed.microseconds = std::strtoull(stamp.c_str(), nullptr, 10);
        lines.push_back(parsed);
    }
    return lines;
}

std::vector<std::string> SimPlugin::logTexts() const
{
    std::vector<std::string> texts;
    for (const LogLine& line : logLines()) {
        texts.push_back(line.text);
    }
    return texts;
}
