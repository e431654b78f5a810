// Appending to the message area as it fills: the time per line near empty and
// near 100,000 lines, with the window hidden (the edit control's own text
// handling) and shown (with its drawing), beside a plain multi-line edit
// control appended to with EM_REPLACESEL as the baseline.
#include <windows.h>

#include <cstdio>
#include <functional>
#include <string>

#include "Application.h"
#include "Form.h"
#include "Memo.h"

namespace {

constexpr int LINES = 100000;
constexpr int BLOCK = 1000;
constexpr int SHOWN_SAMPLE = 50;
constexpr char LINE[] = "Click & tune with the Mousewheel!";
constexpr ui::TFont FONT{"MS Sans Serif", 11};
constexpr ui::TControlLayout MEMO_LAYOUT{{8, 184, 193, 65}, 0, FONT, ui::DEFAULT_COLOR};

class MemoForm : public ui::TForm {
public:
    MemoForm() : TForm({"Memo bench", {0, 0, 216, 310}, {216, 230}, FONT, 0}), Memo1(*this, MEMO_LAYOUT)
    {
    }
    ui::TMemo Memo1;
};

double Now()
{
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return counter.QuadPart * 1000.0 / frequency.QuadPart;
}

double MsPerLine(int lines, const std::function<void()>& append)
{
    const double start = Now();
    for (int i = 0; i < lines; ++i)
        append();
    return (Now() - start) / lines;
}

void Report(const char* what, const std::function<void()>& append, HWND window)
{
    const double first = MsPerLine(BLOCK, append);
    MsPerLine(LINES - 2 * BLOCK, append);
    const double last = MsPerLine(BLOCK, append);
    ShowWindow(window, SW_SHOW);
    const double shown = MsPerLine(SHOWN_SAMPLE, append);
    ShowWindow(window, SW_HIDE);
    std::printf("  %-32s hidden: first 1000 %.3f ms/line, last 1000 %.3f ms/line;"
                " shown at %d lines: %.3f ms/line\n",
                what, first, last, LINES, shown);
    std::fflush(stdout);
}

} // namespace

int main()
{
    ui::Application->Initialize();
    MemoForm* form = nullptr;
    ui::Application->CreateForm(form);
    Report("TMemo Lines.Add", [&] { form->Memo1.Lines.Add(LINE); }, form->Handle());
    std::printf("  the message area holds %ld lines\n",
                static_cast<long>(SendMessageA(form->Memo1.Handle(), EM_GETLINECOUNT, 0, 0)));

    HWND parent = CreateWindowExA(0, "STATIC", "baseline", WS_OVERLAPPEDWINDOW, 0, 0, 216, 310,
                                  nullptr, nullptr, nullptr, nullptr);
    HWND plain = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "",
                                 WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOVSCROLL |
                                     WS_VSCROLL | WS_HSCROLL,
                                 8, 184, 193, 65, parent, nullptr, nullptr, nullptr);
    SendMessageA(plain, EM_SETLIMITTEXT, 0, 0);
    const std::string text = std::string(LINE) + "\r\n";
    Report("plain edit, EM_REPLACESEL",
           [&] {
               const int end = GetWindowTextLengthA(plain);
               SendMessageA(plain, EM_SETSEL, end, end);
               SendMessageA(plain, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
           },
           parent);
    return 0;
}
