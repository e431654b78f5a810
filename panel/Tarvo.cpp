// Program entry of the tuning panel.
#include <windows.h>

#include "Application.h"
#include "Main.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    // No load-failure dialogs from the system, and no plug-in planted in the
    // working folder: only the one beside the program or in system folders.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    SetDllDirectoryW(L"");
    SetProcessDPIAware();
    ui::Guarded([] {
        ui::Application->Initialize();
        ui::Application->Title = "TARVO_Control";
        ui::Application->CreateForm(MainForm);
        ui::Application->Run();
    });
    return 0;
}
