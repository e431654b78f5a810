#include "CallLog.h"

#include "SimClock.h"
#include "SimConfig.h"

#include <windows.h>

#include <cinttypes>
#include <cstdarg>
#include <cstdio>
#include <mutex>

namespace {

// Long enough for every entry point's line; a longer text (a rejected setting's
// value) is cut, never split over two lines.
constexpr int kMaxLineLength = 256;

std::mutex g_lineLock;
bool g_rejectedSettingsWritten = false;

void appendLine(const std::wstring& path, const char* text)
{
    char line[kMaxLineLength];
    int length = std::snprintf(line, sizeof line - 1, "%" PRIu64 " %s", monotonicMicroseconds(), text);
    if (length < 0) {
        return;
    }
    if (length > static_cast<int>(sizeof line) - 2) {
        length = sizeof line - 2;
    }
    line[length++] = '\n';

    // Append-only access makes each write land at the end of the file, also when
    // another process appends to the same log.
    const HANDLE file = CreateFileW(path.c_str(), FILE_APPEND_DATA,
        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
        FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return;  // the receiver keeps working without its log
    }
    DWORD written = 0;
    WriteFile(file, line, static_cast<DWORD>(length), &written, nullptr);
    CloseHandle(file);
}

}  // namespace

namespace call_log {

void write(const char* format, ...)
{
    const SimConfig& config = simConfig();
    if (config.logPath.empty()) {
        return;
    }
    char text[kMaxLineLength];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(text, sizeof text, format, arguments);
    va_end(arguments);

    std::lock_guard<std::mutex> lock(g_lineLock);
    if (!g_rejectedSettingsWritten) {
        g_rejectedSettingsWritten = true;
        for (const std::string& setting : config.rejected) {
            char rejected[kMaxLineLength];
            std::snprintf(rejected, sizeof rejected, "config(%s) -> ignored", setting.c_str());
            appendLine(config.logPath, rejected);
        }
    }
    appendLine(config.logPath, text);
}

}  // namespace call_log
