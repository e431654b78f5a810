// A controller library whose CloseConnection reports failure. It opens
// without a device, reads nothing, and logs every call to the file named by
// ENCODER_DOUBLE_LOG, so a test sees what the panel called and when.
#include <windows.h>

#include <cstdio>

namespace {

constexpr int OPENED = 1;
constexpr int LED_SENT = 0;
constexpr int READ_FAILED = -4;
constexpr int CLOSE_FAILED = 0;

void Log(const char* call)
{
    char path[MAX_PATH];
    if (!GetEnvironmentVariableA("ENCODER_DOUBLE_LOG", path, sizeof path))
        return;
    if (FILE* log = std::fopen(path, "a")) {
        std::fprintf(log, "%s\n", call);
        std::fclose(log);
    }
}

} // namespace

extern "C" {

int __cdecl OpenConnection()
{
    Log("OpenConnection");
    return OPENED;
}

int __cdecl SetLed(int)
{
    Log("SetLed");
    return LED_SENT;
}

int __cdecl ReadValue(int*, int*)
{
    Log("ReadValue");
    return READ_FAILED;
}

int __cdecl CloseConnection()
{
    Log("CloseConnection");
    return CLOSE_FAILED;
}
}
