#include "SimConfig.h"

#include <windows.h>

#include <charconv>
#include <string_view>
#include <utility>

namespace {

constexpr char kNotifyListSeparator = ',';
constexpr char kNotifyTimeSeparator = '@';
constexpr char kPeriodicSeparator = ':';

std::optional<std::string> readVariable(const char* name)
{
    const DWORD size = GetEnvironmentVariableA(name, nullptr, 0);
    if (size == 0) {
        return std::nullopt;
    }
    std::string value(size, '\0');
    const DWORD length = GetEnvironmentVariableA(name, value.data(), size);
    if (length >= size) {
        return std::nullopt;  // changed between the two calls
    }
    value.resize(length);
    return value;
}

std::wstring readPathVariable(const wchar_t* name)
{
    const DWORD size = GetEnvironmentVariableW(name, nullptr, 0);
    if (size == 0) {
        return {};
    }
    std::wstring value(size, L'\0');
    const DWORD length = GetEnvironmentVariableW(name, value.data(), size);
    value.resize(length < size ? length : 0);
    return value;
}

template <typename Integer>
std::optional<Integer> parseInteger(std::string_view text)
{
    Integer value{};
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || stop != end) {
        return std::nullopt;
    }
    return value;
}

std::optional<uint32_t> parseRegisterBool(std::string_view text)
{
    if (text == "1") return kRegisterTrue;
    if (text == "0") return kRegisterFalse;
    if (text == "0dirty") return kRegisterDirtyFalse;
    return std::nullopt;
}

// "FIRST<separator>SECOND", both integers.
template <typename First, typename Second>
std::optional<std::pair<First, Second>> parseIntegerPair(std::string_view text, char separator)
{
    const size_t at = text.find(separator);
    if (at == std::string_view::npos) {
        return std::nullopt;
    }
    const auto first = parseInteger<First>(text.substr(0, at));
    const auto second = parseInteger<Second>(text.substr(at + 1));
    if (!first || !second) {
        return std::nullopt;
    }
    return std::make_pair(*first, *second);
}

std::optional<TimedStatus> parseTimedStatus(std::string_view entry)
{
    const auto pair = parseIntegerPair<int32_t, uint32_t>(entry, kNotifyTimeSeparator);
    if (!pair) {
        return std::nullopt;
    }
    return TimedStatus{pair->first, pair->second};
}

// "STATUS@MS,STATUS@MS": one bad entry rejects the whole list, so a typo cannot
// silently drop a notification that a test waits for.
std::optional<std::vector<TimedStatus>> parseNotifyList(std::string_view text)
{
    std::vector<TimedStatus> list;
    for (;;) {
        const size_t comma = text.find(kNotifyListSeparator);
        const auto entry = parseTimedStatus(text.substr(0, comma));
        if (!entry) {
            return std::nullopt;
        }
        list.push_back(*entry);
        if (comma == std::string_view::npos) {
            return list;
        }
        text.remove_prefix(comma + 1);
    }
}

std::optional<NotifyInCall> parseNotifyIn(std::string_view text)
{
    if (text == "SetCallback") return NotifyInCall::SetCallback;
    if (text == "OpenHW") return NotifyInCall::OpenHW;
    return std::nullopt;
}

std::optional<PeriodicSetting> parsePeriodic(std::string_view text)
{
    const auto pair = parseIntegerPair<uint32_t, uint32_t>(text, kPeriodicSeparator);
    if (!pair) {
        return std::nullopt;
    }
    return PeriodicSetting{pair->first, pair->second};
}

std::optional<NotifyThread> parseThread(std::string_view text)
{
    if (text == "caller") return NotifyThread::Caller;
    if (text == "worker") return NotifyThread::Worker;
    return std::nullopt;
}

// An empty value counts as unset; a value that does not parse keeps the default
// and is recorded, so the log shows why the simulator ignored it.
template <typename Field, typename Parser>
void applySetting(const char* name, Parser parse, Field& field, std::vector<std::string>& rejected)
{
    const auto text = readVariable(name);
    if (!text || text->empty()) {
        return;
    }
    if (auto parsed = parse(*text)) {
        field = *parsed;
    } else {
        rejected.push_back(std::string(name) + "=" + *text);
    }
}

SimConfig readSimConfig()
{
    SimConfig config;
    config.logPath = readPathVariable(L"EXTIO_SIM_LOG");
    applySetting("EXTIO_SIM_INITHW", parseRegisterBool, config.initHwResult, config.rejected);
    applySetting("EXTIO_SIM_OPENHW", parseRegisterBool, config.openHwResult, config.rejected);
    // Texts are taken as they are, also empty.
    if (auto name = readVariable("EXTIO_SIM_NAME")) config.name = *name;
    if (auto model = readVariable("EXTIO_SIM_MODEL")) config.model = *model;
    applySetting("EXTIO_SIM_HWLO", parseInteger<int32_t>, config.fixedLo, config.rejected);
    applySetting("EXTIO_SIM_NOTIFY", parseNotifyList, config.notify, config.rejected);
    applySetting("EXTIO_SIM_NOTIFY_IN", parseNotifyIn, config.notifyIn, config.rejected);
    applySetting("EXTIO_SIM_PERIODIC", parsePeriodic, config.periodic, config.rejected);
    applySetting("EXTIO_SIM_THREAD", parseThread, config.thread, config.rejected);
    return config;
}

}  // namespace

const SimConfig& simConfig()
{
    static const SimConfig config = readSimConfig();
    return config;
}
