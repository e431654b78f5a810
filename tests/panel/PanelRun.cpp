#include "PanelRun.h"

#include <algorithm>
#include <fstream>
#include <sstream>

namespace panel_test {

namespace {

constexpr char FORM_CLASS[] = "TarvoForm";
constexpr char BOX_CLASS[] = "TarvoMessageBox";
constexpr char PLUGIN_FILE[] = "EXTIO_TARVO.DLL";
constexpr char CONTROLLER_FILE[] = "VORN_Encoder.dll";
constexpr int LIST_COUNT = 7;
constexpr int MEMO_INDEX = 7;
constexpr int FIRST_DIGIT_INDEX = 8; // Edit10MHz; Edit100MHz follows Edit1Hz
constexpr int DIGIT_COUNT = 9;
constexpr int KILL_WAIT_MS = 5000;
// No box for this long after start-up: the start is over.
constexpr ULONGLONG SETTLE_MS = 400;

struct WindowSearch {
    DWORD pid;
    const char* className;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    if (pid == search->pid && strcmp(className, search->className) == 0)
        search->found.push_back(window);
    return TRUE;
}

std::vector<HWND> TopLevelWindows(DWORD pid, const char* className)
{
    WindowSearch search{pid, className, {}};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

BOOL CALLBACK CollectChild(HWND window, LPARAM param)
{
    reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
    return TRUE;
}

std::string MakeFolder()
{
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    static int serial;
    std::ostringstream name;
    name << temp << "tarvo-test-" << GetCurrentProcessId() << "-" << ++serial;
    CreateDirectoryA(name.str().c_str(), nullptr);
    return name.str();
}

void RemoveFolder(const std::string& folder)
{
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                DeleteFileA((folder + "\\" + entry.cFileName).c_str());
        } while (FindNextFileA(find, &entry));
        FindClose(find);
    }
    RemoveDirectoryA(folder.c_str());
}

// Time for the target process to take input from its queue.
constexpr DWORD INPUT_SETTLE_MS = 60;

void Send(INPUT* inputs, UINT count)
{
    SendInput(count, inputs, sizeof(INPUT));
    Sleep(INPUT_SETTLE_MS);
}

constexpr int DRAG_STEPS = 10;

void MoveToScreen(POINT p)
{
    INPUT move{};
    move.type = INPUT_MOUSE;
    // Absolute coordinates run from 0 to 65535 across the primary screen.
    move.mi.dx = MulDiv(p.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    move.mi.dy = MulDiv(p.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    move.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    Send(&move, 1);
}

void MoveTo(HWND window, int x, int y)
{
    POINT p{x, y};
    ClientToScreen(window, &p);
    MoveToScreen(p);
}

void Button(DWORD flags)
{
    INPUT button{};
    button.type = INPUT_MOUSE;
    button.mi.dwFlags = flags;
    Send(&button, 1);
}

} // namespace

void Click(HWND window, int x, int y)
{
    MoveTo(window, x, y);
    Button(MOUSEEVENTF_LEFTDOWN);
    Button(MOUSEEVENTF_LEFTUP);
}

void DragOnScreen(POINT from, POINT to)
{
    MoveToScreen(from);
    Button(MOUSEEVENTF_LEFTDOWN);
    for (int step = 1; step <= DRAG_STEPS; ++step) {
        MoveToScreen({from.x + (to.x - from.x) * step / DRAG_STEPS,
                      from.y + (to.y - from.y) * step / DRAG_STEPS});
    }
    Button(MOUSEEVENTF_LEFTUP);
}

void ClickCentre(HWND window)
{
    RECT r;
    GetClientRect(window, &r);
    Click(window, r.right / 2, r.bottom / 2);
}

void ClickItem(HWND list, int index)
{
    RECT item{};
    SendMessageA(list, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item));
    Click(list, (item.left + item.right) / 2, (item.top + item.bottom) / 2);
}

void MoveMouse(HWND window, int x, int y)
{
    MoveTo(window, x, y);
}

void Wheel(int delta)
{
    INPUT wheel{};
    wheel.type = INPUT_MOUSE;
    wheel.mi.dwFlags = MOUSEEVENTF_WHEEL;
    wheel.mi.mouseData = static_cast<DWORD>(delta * WHEEL_DELTA);
    Send(&wheel, 1);
}

void PressKey(WORD vk)
{
    INPUT key[2] = {};
    key[0].type = key[1].type = INPUT_KEYBOARD;
    key[0].ki.wVk = key[1].ki.wVk = vk;
    key[1].ki.dwFlags = KEYEVENTF_KEYUP;
    Send(key, 2);
}

void TypeChar(char c)
{
    INPUT key[2] = {};
    key[0].type = key[1].type = INPUT_KEYBOARD;
    key[0].ki.wScan = key[1].ki.wScan = static_cast<unsigned char>(c);
    key[0].ki.dwFlags = KEYEVENTF_UNICODE;
    key[1].ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
    Send(key, 2);
}

std::string BinFolder()
{
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    return folder.substr(0, folder.find_last_of("\\/"));
}

std::string WindowText(HWND window)
{
    char text[4096] = {};
    DWORD_PTR copied = 0;
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                        SMTO_ABORTIFHUNG, DEFAULT_WAIT_MS, &copied);
    return std::string(text, copied);
}

PanelRun::PanelRun(const Plugin& plugin, const std::map<std::string, std::string>& env,
                   const Controller& controller, const std::string& program)
    : folder_(MakeFolder()), logPath_(folder_ + "\\sim.log")
{
    const std::string bin = BinFolder();
    CopyFileA((bin + "\\" + program).c_str(), (folder_ + "\\" + program).c_str(), FALSE);
    if (plugin.present) {
        const std::string source =
            plugin.missingEntry.empty()
                ? bin + "\\" + PLUGIN_FILE
                : bin + "\\receiver-variants\\no-" + plugin.missingEntry + "\\" + PLUGIN_FILE;
        CopyFileA(source.c_str(), (folder_ + "\\" + PLUGIN_FILE).c_str(), FALSE);
    }

    if (!controller.file.empty()) {
        CopyFileA((bin + "\\" + controller.file).c_str(), (folder_ + "\\" + CONTROLLER_FILE).c_str(),
                  FALSE);
    }

    std::map<std::string, std::string> childEnv = env;
    childEnv["EXTIO_SIM_LOG"] = logPath_;
    for (const auto& [name, value] : childEnv)
        SetEnvironmentVariableA(name.c_str(), value.c_str());
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    std::string commandLine = "\"" + folder_ + "\\" + program + "\"";
    CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                   folder_.c_str(), &startup, &process_);
    for (const auto& entry : childEnv)
        SetEnvironmentVariableA(entry.first.c_str(), nullptr);
}

PanelRun::~PanelRun()
{
    if (process_.hProcess) {
        // Closed as a user closes it, so the next program starts on a calm
        // desktop; killed only when that does not end it.
        if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
            RequestClose();
            DismissBoxesUntilExit(KILL_WAIT_MS);
        }
        if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(process_.hProcess, 1);
            WaitForSingleObject(process_.hProcess, KILL_WAIT_MS);
        }
        CloseHandle(process_.hProcess);
        CloseHandle(process_.hThread);
    }
    RemoveFolder(folder_);
}

HWND PanelRun::MainWindow() const
{
    auto found = TopLevelWindows(process_.dwProcessId, FORM_CLASS);
    return found.empty() ? nullptr : found.front();
}

HWND PanelRun::WaitMainWindow(int ms)
{
    HWND window = nullptr;
    WaitFor(
        [&] {
            window = MainWindow();
            return window && IsWindowVisible(window);
        },
        ms);
    return window && IsWindowVisible(window) ? window : nullptr;
}

std::vector<HWND> PanelRun::Boxes() const
{
    std::vector<HWND> boxes;
    for (HWND box : TopLevelWindows(process_.dwProcessId, BOX_CLASS))
        if (IsWindowVisible(box))
            boxes.push_back(box);
    // EnumWindows lists the newest (topmost) first.
    return std::vector<HWND>(boxes.rbegin(), boxes.rend());
}

std::string PanelRun::WaitBoxText(int ms)
{
    if (!WaitFor([&] { return !Boxes().empty(); }, ms))
        return {};
    HWND box = Boxes().back();
    HWND label = FindWindowExA(box, nullptr, "STATIC", nullptr);
    return label ? WindowText(label) : std::string();
}

void PanelRun::DismissBox()
{
    auto boxes = Boxes();
    if (boxes.empty())
        return;
    HWND box = boxes.back();
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    WaitFor([&] { return !IsWindow(box) || !IsWindowVisible(box); });
}

std::vector<std::string> PanelRun::DismissBoxesUntilExit(int ms)
{
    std::vector<std::string> texts;
    WaitFor(
        [&] {
            if (!Boxes().empty()) {
                texts.push_back(WaitBoxText(0));
                DismissBox();
            }
            return WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0;
        },
        ms);
    return texts;
}

std::vector<std::string> PanelRun::SettleStart(int ms)
{
    std::vector<std::string> texts;
    ULONGLONG quietSince = GetTickCount64();
    WaitFor(
        [&] {
            if (!Boxes().empty()) {
                texts.push_back(WaitBoxText(0));
                DismissBox();
            }
            HWND window = MainWindow();
            if (!window || !IsWindowVisible(window) || !Boxes().empty())
                quietSince = GetTickCount64();
            return GetTickCount64() - quietSince > SETTLE_MS;
        },
        ms);
    return texts;
}

void PanelRun::RequestClose()
{
    PostMessageA(MainWindow(), WM_CLOSE, 0, 0);
}

int PanelRun::WaitExit(int ms)
{
    if (WaitForSingleObject(process_.hProcess, ms) != WAIT_OBJECT_0)
        return -1;
    DWORD code = 0;
    GetExitCodeProcess(process_.hProcess, &code);
    return static_cast<int>(code);
}

std::vector<HWND> PanelRun::Children() const
{
    std::vector<HWND> children;
    if (HWND window = MainWindow())
        EnumChildWindows(window, CollectChild, reinterpret_cast<LPARAM>(&children));
    return children;
}

std::vector<HWND> PanelRun::Lists() const
{
    auto children = Children();
    if (children.size() < LIST_COUNT)
        return {};
    return std::vector<HWND>(children.begin(), children.begin() + LIST_COUNT);
}

std::vector<HWND> PanelRun::DigitBoxes() const
{
    auto children = Children();
    if (children.size() < FIRST_DIGIT_INDEX + DIGIT_COUNT)
        return {};
    std::vector<HWND> boxes{children[FIRST_DIGIT_INDEX + DIGIT_COUNT - 1]};
    boxes.insert(boxes.end(), children.begin() + FIRST_DIGIT_INDEX,
                 children.begin() + FIRST_DIGIT_INDEX + DIGIT_COUNT - 1);
    return boxes;
}

HWND PanelRun::Memo() const
{
    auto children = Children();
    return children.size() > MEMO_INDEX ? children[MEMO_INDEX] : nullptr;
}

HWND PanelRun::FocusedControl() const
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(MainWindow(), nullptr), &info);
    return info.hwndFocus;
}

std::string PanelRun::Caption() const
{
    return WindowText(MainWindow());
}

std::string PanelRun::Digits() const
{
    std::string digits;
    for (HWND box : DigitBoxes())
        digits += WindowText(box);
    return digits;
}

std::vector<int> PanelRun::ListSelections() const
{
    std::vector<int> selections;
    for (HWND list : Lists())
        selections.push_back(static_cast<int>(SendMessageA(list, LB_GETCURSEL, 0, 0)));
    return selections;
}

std::string PanelRun::MemoText() const
{
    return WindowText(Memo());
}

std::vector<LogEntry> PanelRun::Log() const
{
    std::vector<LogEntry> entries;
    std::ifstream file(logPath_);
    std::string line;
    while (std::getline(file, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        std::istringstream fields(line);
        LogEntry entry{};
        fields >> entry.micros >> entry.call;
        std::string arrow;
        if (fields >> arrow && arrow == "->")
            fields >> entry.result;
        entries.push_back(entry);
    }
    return entries;
}

std::vector<std::string> PanelRun::Calls() const
{
    std::vector<std::string> calls;
    for (const LogEntry& entry : Log())
        if (entry.call.rfind("notify(", 0) != 0)
            calls.push_back(entry.call);
    return calls;
}

std::vector<std::string> PanelRun::NewCalls()
{
    const auto calls = Calls();
    std::vector<std::string> fresh(calls.begin() + std::min(callsSeen_, calls.size()), calls.end());
    callsSeen_ = calls.size();
    return fresh;
}

bool PanelRun::WaitCalls(size_t n, int ms) const
{
    return WaitFor([&] { return Calls().size() >= n; }, ms);
}

} // namespace panel_test
