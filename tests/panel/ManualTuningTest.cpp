// Tuning by hand, with real clicks, wheel turns, key presses and mouse moves
// reaching the panel through the window system.
#include <gtest/gtest.h>

#include "PanelRun.h"

using namespace panel_test;
using Calls = std::vector<std::string>;

namespace {

// Display boxes left to right, lists 10 MHz down to 10 Hz.
enum Digit { E100MHz, E10MHz, E1MHz, E100kHz, E10kHz, E1kHz, E100Hz, E10Hz, E1Hz };
enum List { L10MHz, L1MHz, L100kHz, L10kHz, L1kHz, L100Hz, L10Hz };
constexpr int FORWARD = 1;
constexpr int BACKWARD = -1;
constexpr int HANDLED_MS = 300;
constexpr char HINT[] = "Click & tune with the Mousewheel!";

// A panel up and idle after its start, with the start's calls consumed.
struct StartedPanel {
    using Env = std::map<std::string, std::string>;
    explicit StartedPanel(Env env = {})
        : run(Plugin::Complete(), std::move(env))
    {
        EXPECT_TRUE(run.WaitMainWindow());
        EXPECT_TRUE(run.WaitCalls(8));
        EXPECT_TRUE(WaitFor([&] { return run.FocusedControl() != nullptr; })) << "activated";
        Sleep(HANDLED_MS);
        run.NewCalls();
    }
    // Calls made in reaction to the input just given.
    Calls Reaction()
    {
        Sleep(HANDLED_MS);
        return run.NewCalls();
    }
    HWND Box(Digit d) const { return run.DigitBoxes().at(d); }
    HWND ListBox(List l) const { return run.Lists().at(l); }
    size_t HintLines() const
    {
        const std::string memo = run.MemoText();
        size_t count = 0;
        for (size_t at = memo.find(HINT); at != std::string::npos; at = memo.find(HINT, at + 1))
            ++count;
        return count;
    }

    PanelRun run;
};

} // namespace

TEST(ManualTuning, WheelTunesNothingUntilADigitIsClickedAndAListClickTunesAtOnce)
{
    StartedPanel p;
    ASSERT_EQ(p.run.FocusedControl(), p.ListBox(L10MHz));
    MoveMouse(p.ListBox(L10MHz), 5, 5);
    Wheel(FORWARD);
    EXPECT_EQ(p.Reaction(), Calls{});
    EXPECT_EQ(p.run.Digits(), "007000001");

    // The lists spell 7,000,000; clicking the selected "0" selects it again.
    ClickItem(p.ListBox(L10Hz), 0);
    EXPECT_EQ(p.Reaction(),
              (Calls{"SetHWLO(7000000)", "TuneChanged(7000000)", "TuneChanged(7000000)"}));
    EXPECT_EQ(p.run.Digits(), "007000000");
}

TEST(ManualTuning, WheelStepsTheFocusedDigitWithCarryAndBorrow)
{
    StartedPanel p;
    ClickItem(p.ListBox(L100kHz), 9);
    EXPECT_EQ(p.Reaction(),
              (Calls{"SetHWLO(7900000)", "TuneChanged(7900000)", "TuneChanged(7900000)"}));
    ClickCentre(p.Box(E100kHz));
    Wheel(FORWARD);
    EXPECT_EQ(p.Reaction(), (Calls{"SetHWLO(8000000)", "TuneChanged(8000000)"}));
    EXPECT_EQ(p.run.Digits(), "008000000");
    EXPECT_EQ(p.run.ListSelections(), (std::vector<int>{0, 7, 9, 0, 0, 0, 0}))
        << "the lists keep the digits last picked";

    ClickItem(p.ListBox(L100kHz), 0);
    p.Reaction();
    ClickCentre(p.Box(E1Hz));
    Wheel(BACKWARD);
    EXPECT_EQ(p.Reaction(), (Calls{"SetHWLO(6999999)", "TuneChanged(6999999)"}));
    EXPECT_EQ(p.run.Digits(), "006999999");
    Wheel(3 * FORWARD);
    EXPECT_EQ(p.Reaction(), (Calls{"SetHWLO(7000000)", "TuneChanged(7000000)"}))
        << "several notches make one step";
}

TEST(ManualTuning, TheSignInTheTopBoxFailsToConvertWhileOtherBoxesStillStep)
{
    StartedPanel p;
    ClickCentre(p.Box(E100MHz));
    Wheel(BACKWARD);
    EXPECT_EQ(p.Reaction(), (Calls{"SetHWLO(-92999999)", "TuneChanged(-92999999)"}));
    EXPECT_EQ(p.run.Digits(), "-92999999");

    Wheel(BACKWARD);
    EXPECT_EQ(p.run.WaitBoxText(), "'-' is not a valid integer value.");
    // The box is modal: the panel takes no input until it goes, and then the
    // focus is back where it was.
    ClickItem(p.ListBox(L10Hz), 5);
    EXPECT_EQ(p.Reaction(), Calls{});
    p.run.DismissBox();
    EXPECT_EQ(p.Reaction(), Calls{});
    EXPECT_EQ(p.run.Digits(), "-92999999");
    EXPECT_TRUE(WaitFor([&] { return p.run.FocusedControl() == p.Box(E100MHz); }));

    ClickCentre(p.Box(E1Hz));
    Wheel(FORWARD);
    EXPECT_EQ(p.Reaction(), (Calls{"SetHWLO(-92999998)", "TuneChanged(-92999998)"}));
}

TEST(ManualTuning, SteppingGoesOnPastNineDigits)
{
    StartedPanel p(StartedPanel::Env{{"EXTIO_SIM_HWLO", "1000000000"}, {"EXTIO_SIM_NOTIFY", "101@100"}});
    ASSERT_TRUE(WaitFor([&] { return p.run.Digits() == "999999999"; }));
    p.Reaction();
    ClickCentre(p.Box(E1Hz));
    Wheel(FORWARD);
    EXPECT_EQ(p.Reaction(), (Calls{"SetHWLO(1000000000)", "TuneChanged(1000000000)"}));
    EXPECT_EQ(p.run.Digits(), "100000000");
    Wheel(FORWARD);
    EXPECT_EQ(p.Reaction(), (Calls{"SetHWLO(1000000001)", "TuneChanged(1000000001)"}));
}

TEST(ManualTuning, TypedTextChangesNothingUntilAWheelStepOnItsBox)
{
    StartedPanel p;
    ClickCentre(p.Box(E1kHz));
    PressKey(VK_END);
    PressKey(VK_BACK);
    TypeChar('5');
    EXPECT_EQ(WindowText(p.Box(E1kHz)), "5");
    EXPECT_EQ(p.Reaction(), Calls{});
    Wheel(FORWARD);
    EXPECT_EQ(p.Reaction(), (Calls{"SetHWLO(7001001)", "TuneChanged(7001001)"}))
        << "the step starts from the frequency, not from the typed digit";
    EXPECT_EQ(p.run.Digits(), "007001001");

    // An emptied box fails only when wheeled while it holds the focus.
    PressKey(VK_END);
    PressKey(VK_BACK);
    ClickCentre(p.Box(E1Hz));
    Wheel(FORWARD);
    EXPECT_EQ(p.Reaction(), (Calls{"SetHWLO(7001002)", "TuneChanged(7001002)"}));
    EXPECT_EQ(p.run.Digits(), "007001002") << "the redraw refills the emptied box";
    ClickCentre(p.Box(E1kHz));
    PressKey(VK_END);
    PressKey(VK_BACK);
    Wheel(FORWARD);
    EXPECT_EQ(p.run.WaitBoxText(), "'' is not a valid integer value.");
    p.run.DismissBox();
    EXPECT_EQ(p.Reaction(), Calls{});
}

TEST(ManualTuning, WithTheReceiverNotFoundTheDigitsTakeNoFocusAndNoHintsButListsTune)
{
    StartedPanel p(StartedPanel::Env{{"EXTIO_SIM_INITHW", "0"}});
    const HWND focused = p.run.FocusedControl();
    for (Digit d : {E100MHz, E1MHz, E1Hz})
        ClickCentre(p.Box(d));
    EXPECT_EQ(p.run.FocusedControl(), focused);
    EXPECT_EQ(p.HintLines(), 0u);
    ClickItem(p.ListBox(L1MHz), 3);
    EXPECT_EQ(p.Reaction(),
              (Calls{"SetHWLO(3000000)", "TuneChanged(3000000)", "TuneChanged(3000000)"}));
}

TEST(ManualTuning, ListsAndTheMessageAreaKeepTheWheelForScrolling)
{
    StartedPanel p;
    // Enough hint lines to make the message area scroll.
    for (int i = 0; i < 12; ++i)
        MoveMouse(p.Box(E10kHz), 2 + i % 6, 4 + i % 7);
    ClickCentre(p.run.Memo());
    // Appending keeps the last line in view, so there is room to scroll up.
    const LRESULT top = SendMessageA(p.run.Memo(), EM_GETFIRSTVISIBLELINE, 0, 0);
    ASSERT_GT(top, 0);
    Wheel(FORWARD);
    EXPECT_EQ(p.Reaction(), Calls{});
    EXPECT_NE(SendMessageA(p.run.Memo(), EM_GETFIRSTVISIBLELINE, 0, 0), top) << "it scrolled";

    ClickItem(p.ListBox(L1kHz), 0);
    p.Reaction();
    Wheel(FORWARD);
    Wheel(BACKWARD);
    EXPECT_EQ(p.Reaction(), Calls{});
    EXPECT_EQ(p.run.FocusedControl(), p.ListBox(L1kHz));
}

TEST(ManualTuning, EachMouseMoveOverADigitBoxAddsOneHintLine)
{
    StartedPanel p;
    const size_t before = p.HintLines();
    const Digit boxes[] = {E100MHz, E10MHz, E100kHz, E1kHz, E100Hz, E1Hz};
    for (Digit d : boxes)
        MoveMouse(p.Box(d), 5, 10);
    EXPECT_EQ(p.HintLines(), before + std::size(boxes));

    // A new line leaves what the user has selected alone.
    SendMessageA(p.run.Memo(), EM_SETSEL, 0, 5);
    MoveMouse(p.Box(E10Hz), 6, 12);
    DWORD selStart = 0, selEnd = 0;
    SendMessageA(p.run.Memo(), EM_GETSEL, reinterpret_cast<WPARAM>(&selStart),
                 reinterpret_cast<LPARAM>(&selEnd));
    EXPECT_EQ(selStart, 0u);
    EXPECT_EQ(selEnd, 5u);
    EXPECT_EQ(p.HintLines(), before + std::size(boxes) + 1);

    const size_t afterBoxes = p.HintLines();
    MoveMouse(p.ListBox(L10kHz), 5, 60);
    MoveMouse(p.ListBox(L10Hz), 5, 20);
    MoveMouse(p.run.MainWindow(), 108, 20);  // the point
    MoveMouse(p.run.MainWindow(), 180, 20);  // "kHz"
    MoveMouse(p.run.MainWindow(), 170, 100); // the window itself
    EXPECT_EQ(p.HintLines(), afterBoxes);
}

TEST(ManualTuning, TabLeavesTheMessageArea)
{
    StartedPanel p;
    ClickCentre(p.run.Memo());
    ASSERT_EQ(p.run.FocusedControl(), p.run.Memo());
    PressKey(VK_TAB);
    EXPECT_EQ(p.run.FocusedControl(), p.Box(E10MHz));
}
