// vornsim-ctl: drives the simulated knob controller by hand, for manual runs of the
// panel. Each command is one call of the controller script.

#include "ControllerScript.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

void PrintUsage()
{
    std::fputs("usage: vornsim-ctl COMMAND [ARGS]\n"
               "  start                     install and start the driver\n"
               "  reset                     knob at rest, no key, no failures, empty log, present\n"
               "  status                    open handles, LED state, presence\n"
               "  reading COUNT KEY         every read answers with this knob count and key byte\n"
               "  queue COUNT KEY [...]     the next reads answer with these pairs in turn\n"
               "  fail COMMAND N            the next N requests with this command code fail\n"
               "  wronglength N LENGTH      the next N read replies are LENGTH bytes long\n"
               "  present 0|1               unplug or plug in the controller\n"
               "  log                       every request: time (us), lengths, command bytes\n"
               "  clearlog                  empty the log\n",
               stderr);
}

unsigned long Number(const char* text)
{
    return std::strtoul(text, nullptr, 0);
}

bool PrintStatus()
{
    const auto status = ControllerScript::GetStatus();
    if (!status) {
        return false;
    }
    std::printf("open handles %u, LED %u, %s\n", static_cast<unsigned>(status->openHandles),
                static_cast<unsigned>(status->ledState), status->present ? "present" : "absent");
    return true;
}

bool PrintLog()
{
    const auto log = ControllerScript::ReadLog();
    if (!log) {
        return false;
    }
    for (const ControllerScript::Request& request : *log) {
        std::printf("%llu in=%u cap=%u %02x %02x %02x %02x %02x\n",
                    static_cast<unsigned long long>(request.timeMicroseconds),
                    static_cast<unsigned>(request.inputLength),
                    static_cast<unsigned>(request.outputCapacity), request.command[0],
                    request.command[1], request.command[2], request.command[3], request.command[4]);
    }
    return true;
}

bool Queue(int pairs, char** args)
{
    std::vector<ControllerScript::Reading> readings;
    for (int i = 0; i < pairs; ++i) {
        readings.push_back({static_cast<std::uint8_t>(Number(args[2 * i])),
                            static_cast<std::uint8_t>(Number(args[2 * i + 1]))});
    }
    return ControllerScript::QueueReadings(readings);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        PrintUsage();
        return kExitUsage;
    }
    const char* command = argv[1];
    const int argCount = argc - 2;
    char** args = argv + 2;
    auto is = [&](const char* name, int wanted) {
        return std::strcmp(command, name) == 0 && argCount == wanted;
    };

    bool ok;
    if (is("start", 0)) {
        ok = ControllerScript::StartControllerDevice();
    } else if (is("reset", 0)) {
        ok = ControllerScript::ResetController();
    } else if (is("status", 0)) {
        ok = PrintStatus();
    } else if (is("reading", 2)) {
        ok = ControllerScript::SetReading(static_cast<std::uint8_t>(Number(args[0])),
                                          static_cast<std::uint8_t>(Number(args[1])));
    } else if (std::strcmp(command, "queue") == 0 && argCount > 0 && argCount % 2 == 0) {
        ok = Queue(argCount / 2, args);
    } else if (is("fail", 2)) {
        ok = ControllerScript::FailNext(static_cast<std::uint8_t>(Number(args[0])),
                                        static_cast<std::uint32_t>(Number(args[1])));
    } else if (is("wronglength", 2)) {
        ok = ControllerScript::WrongLengthNext(static_cast<std::uint32_t>(Number(args[0])),
                                               static_cast<std::uint32_t>(Number(args[1])));
    } else if (is("present", 1)) {
        ok = ControllerScript::SetPresent(Number(args[0]) != 0);
    } else if (is("log", 0)) {
        ok = PrintLog();
    } else if (is("clearlog", 0)) {
        ok = ControllerScript::ClearLog();
    } else {
        PrintUsage();
        return kExitUsage;
    }
    if (!ok) {
        std::fprintf(stderr, "vornsim-ctl: %s failed (is the driver running? try 'start')\n",
                     command);
        return kExitFailed;
    }
    return kExitOk;
}
