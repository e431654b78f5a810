#pragma once
// Runs the real TARVO.exe under the window system with the simulated
// receiver beside it, and reads its state back the way a user sees it: the
// window's controls, its message boxes, and the plug-in's call log.
#include <windows.h>

#include <map>
#include <string>
#include <vector>

namespace panel_test {

constexpr int DEFAULT_WAIT_MS = 10000;

// Which plug-in lies beside the program: the complete simulated receiver,
// one of its variants lacking an entry point, or none.
struct Plugin {
    static Plugin Complete() { return {true, ""}; }
    static Plugin Lacking(const std::string& entryPoint) { return {true, entryPoint}; }
    static Plugin None() { return {false, ""}; }
    bool present;
    std::string missingEntry;
};

// Which controller library lies beside the program: none, the real
// VORN_Encoder.dll, or a test double (a DLL from the bin folder) in its place.
struct Controller {
    static Controller None() { return {""}; }
    static Controller Library() { return {"VORN_Encoder.dll"}; }
    static Controller Double(const std::string& file) { return {file}; }
    std::string file;
};

// One line of the simulated receiver's log.
struct LogEntry {
    long long micros;
    std::string call;   // "SetHWLO(7000001)", or "notify(101)"
    std::string result; // "0", "void"; empty for a notification
};

// Polls cond every few milliseconds until it holds or ms have passed.
template <class Cond>
bool WaitFor(Cond cond, int ms = DEFAULT_WAIT_MS)
{
    const ULONGLONG until = GetTickCount64() + ms;
    while (!cond()) {
        if (GetTickCount64() > until)
            return false;
        Sleep(5);
    }
    return true;
}

class PanelRun {
public:
    // Starts TARVO.exe (or another program from the bin folder) in a fresh
    // folder; env sets the simulator's variables.
    explicit PanelRun(const Plugin& plugin, const std::map<std::string, std::string>& env = {},
                      const Controller& controller = Controller::None(),
                      const std::string& program = "TARVO.exe");
    ~PanelRun();
    PanelRun(const PanelRun&) = delete;
    PanelRun& operator=(const PanelRun&) = delete;

    // The main window once it is visible; null when it did not show in time.
    HWND WaitMainWindow(int ms = DEFAULT_WAIT_MS);
    // The main window whether shown or not (null before it exists).
    HWND MainWindow() const;
    // The open message boxes of the program, oldest first.
    std::vector<HWND> Boxes() const;
    // Waits for a box, returns its text (empty string and no box: timeout).
    std::string WaitBoxText(int ms = DEFAULT_WAIT_MS);
    // Dismisses the newest box with its OK button.
    void DismissBox();
    // Dismisses each box as it opens until the program has ended; returns
    // the boxes' texts in the order they appeared.
    std::vector<std::string> DismissBoxesUntilExit(int ms = DEFAULT_WAIT_MS);

    // Dismisses boxes as they open until the main window shows and no box
    // has opened for a while; returns the boxes' texts in order.
    std::vector<std::string> SettleStart(int ms = DEFAULT_WAIT_MS);

    // Asks the main window to close, as its close button does.
    void RequestClose();
    // Waits for the program to end; its exit code, or -1 on timeout.
    int WaitExit(int ms = DEFAULT_WAIT_MS);

    std::string Caption() const;
    // The nine display boxes' texts, left to right, with no point.
    std::string Digits() const;
    // Selected index of the seven lists, 10 MHz down to 10 Hz.
    std::vector<int> ListSelections() const;
    std::vector<HWND> DigitBoxes() const;
    std::vector<HWND> Lists() const;
    HWND Memo() const;
    // The control of the panel that holds the keyboard focus.
    HWND FocusedControl() const;
    std::string MemoText() const;

    std::vector<LogEntry> Log() const;
    // The log's calls (not notifications), without times and results.
    std::vector<std::string> Calls() const;
    // Waits until the log holds at least n calls.
    bool WaitCalls(size_t n, int ms = DEFAULT_WAIT_MS) const;
    // The calls logged since the last call of NewCalls (or since start).
    std::vector<std::string> NewCalls();

    const std::string& Folder() const { return folder_; }
    DWORD ProcessId() const { return process_.dwProcessId; }
    HANDLE Process() const { return process_.hProcess; }

    // The main window's controls in window (tab) order.
    std::vector<HWND> Children() const;

private:

    std::string folder_;
    std::string logPath_;
    size_t callsSeen_ = 0;
    PROCESS_INFORMATION process_{};
};

// Folder of the running test program: every built binary lies there.
std::string BinFolder();

// Text of a window in another process.
std::string WindowText(HWND window);

// Real input through the window system, as a user gives it. Coordinates are
// relative to the window's client area; each call returns once the input has
// been queued, then waits a moment for the target to handle it.
void Click(HWND window, int x, int y);
void ClickCentre(HWND window);
// Clicks a list box's item (its index).
void ClickItem(HWND list, int index);
void MoveMouse(HWND window, int x, int y);
// Presses the left button at one screen point, moves in steps to another and
// releases it there: a drag, as of a window's border.
void DragOnScreen(POINT from, POINT to);
// One wheel message: delta in WHEEL_DELTA units, positive is forward.
void Wheel(int delta);
void PressKey(WORD vk);
void TypeChar(char c);

} // namespace panel_test
