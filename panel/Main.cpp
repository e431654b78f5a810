#include "Main.h"

#include <string>

#include "Application.h"
#include "Callback.h"
#include "Convert.h"
#include "EncoderEntries.h"
#include "EntryPoint.h"
#include "Frequency.h"
#include "KnobStep.h"
#include "MessageBox.h"
#include "resource.h"

using ui::ShowMessage;
using ui::TControlLayout;

TMainForm* MainForm;

namespace {

constexpr char VERSION[] = "1.6";
constexpr char EXTIO_LIBRARY[] = "EXTIO_TARVO.DLL";
constexpr char ENCODER_LIBRARY[] = "VORN_Encoder.dll";
constexpr int CONTROLLER_OPENED = 1;
constexpr int LED_ON = 1;
constexpr int LED_OFF = 0;
constexpr int CLOSE_FAILED = 0;
// The key reading arrives as the key byte; no key held reads 63.
constexpr int16_t KEYS_RELEASED = 63;
constexpr int32_t START_FREQ = 7000001;
// The lists start by spelling 7,000,000.
constexpr int PRESET_DIGIT = 0;
constexpr int PRESET_1MHZ_DIGIT = 7;

// The places of the display and the lists, in hertz.
constexpr int32_t WEIGHT_100MHZ = 100000000;
constexpr int32_t WEIGHT_10MHZ = 10000000;
constexpr int32_t WEIGHT_1MHZ = 1000000;
constexpr int32_t WEIGHT_100KHZ = 100000;
constexpr int32_t WEIGHT_10KHZ = 10000;
constexpr int32_t WEIGHT_1KHZ = 1000;
constexpr int32_t WEIGHT_100HZ = 100;
constexpr int32_t WEIGHT_10HZ = 10;
constexpr int32_t WEIGHT_1HZ = 1;
constexpr unsigned KNOB_POLL_MS = 20;
constexpr unsigned FOLLOWER_MS = 5;

constexpr char NOT_FOUND[] = " not found";
constexpr char RECEIVER_NOT_FOUND[] = "TARVO NOT FOUND!";
constexpr char ENCODER_NOT_FOUND[] = "VORN_Encoder.dll for Brudo not found";
constexpr char ENCODER_CLOSE_FAILED[] = "Error closing Brudo";
constexpr char WHEEL_HINT[] = "Click & tune with the Mousewheel!";

// Layout, in pixels at 96 dpi.
constexpr ui::TFont WINDOW_FONT{"MS Sans Serif", 11};
constexpr ui::TFont DIGIT_FONT{"MS Sans Serif", 27};
constexpr ui::TFont UNIT_FONT{"Arial", 27};
constexpr ui::TFormLayout FORM_LAYOUT{"MainForm", {638, 284, 216, 310}, {216, 230}, WINDOW_FONT,
                                      IDI_TARVO};
constexpr int DIGIT_TOP = 8, DIGIT_WIDTH = 17, DIGIT_HEIGHT = 33;
constexpr int LIST_TOP = 40, LIST_WIDTH = 17, LIST_HEIGHT = 137, LIST_ITEM_HEIGHT = 13;
constexpr int LABEL_HEIGHT = 32;
constexpr ui::TEdit::TOptions DIGIT_BOX{"0", 1, false, true};

TControlLayout DigitBoxLayout(int left, int tabOrder)
{
    return {{left, DIGIT_TOP, DIGIT_WIDTH, DIGIT_HEIGHT}, tabOrder, DIGIT_FONT, COLOR_SCROLLBAR};
}

TControlLayout DigitListLayout(int left, int tabOrder)
{
    return {{left, LIST_TOP, LIST_WIDTH, LIST_HEIGHT}, tabOrder, WINDOW_FONT, ui::DEFAULT_COLOR};
}

TControlLayout LabelLayout(int left, int width, const ui::TFont& font)
{
    return {{left, DIGIT_TOP, width, LABEL_HEIGHT}, ui::NO_TAB_STOP, font, COLOR_SCROLLBAR};
}

const std::vector<std::string> DIGITS{"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"};

// The frequency the tune follower last forwarded; only Timer2Timer writes it.
int32_t LastTunedFreq = 0;
// The knob reading last acted upon; only Timer1Timer writes it.
int16_t LastEncoderValue = 0;

} // namespace

void ReportNotFound(const char* name)
{
    ShowMessage(std::string(name) + NOT_FOUND);
}

TMainForm::TMainForm()
    : TForm(FORM_LAYOUT),
      List10MHz(*this, DigitListLayout(24, 0), DIGITS, LIST_ITEM_HEIGHT),
      List1MHz(*this, DigitListLayout(40, 1), DIGITS, LIST_ITEM_HEIGHT),
      List100kHz(*this, DigitListLayout(56, 2), DIGITS, LIST_ITEM_HEIGHT),
      List10kHz(*this, DigitListLayout(72, 3), DIGITS, LIST_ITEM_HEIGHT),
      List1kHz(*this, DigitListLayout(88, 4), DIGITS, LIST_ITEM_HEIGHT),
      List100Hz(*this, DigitListLayout(112, 5), DIGITS, LIST_ITEM_HEIGHT),
      List10Hz(*this, DigitListLayout(128, 6), DIGITS, LIST_ITEM_HEIGHT),
      Timer1(KNOB_POLL_MS),
      Memo1(*this, {{8, 184, 193, 65}, 7, WINDOW_FONT, ui::DEFAULT_COLOR}),
      Timer2(FOLLOWER_MS),
      Edit10MHz(*this, DigitBoxLayout(24, 8), DIGIT_BOX),
      Edit1MHz(*this, DigitBoxLayout(40, 9), DIGIT_BOX),
      Edit100kHz(*this, DigitBoxLayout(56, 10), DIGIT_BOX),
      Edit10kHz(*this, DigitBoxLayout(72, 11), DIGIT_BOX),
      Edit1kHz(*this, DigitBoxLayout(88, 12), DIGIT_BOX),
      Label1(*this, LabelLayout(104, 6, DIGIT_FONT), "."),
      Edit100Hz(*this, DigitBoxLayout(112, 13), DIGIT_BOX),
      Edit10Hz(*this, DigitBoxLayout(128, 14), DIGIT_BOX),
      Edit1Hz(*this, DigitBoxLayout(144, 15), DIGIT_BOX),
      Edit100MHz(*this, DigitBoxLayout(8, 16), DIGIT_BOX),
      Label2(*this, LabelLayout(160, 46, UNIT_FONT), "kHz"),
      digitPlaces{{{&Edit100MHz, WEIGHT_100MHZ},
                   {&Edit10MHz, WEIGHT_10MHZ},
                   {&Edit1MHz, WEIGHT_1MHZ},
                   {&Edit100kHz, WEIGHT_100KHZ},
                   {&Edit10kHz, WEIGHT_10KHZ},
                   {&Edit1kHz, WEIGHT_1KHZ},
                   {&Edit100Hz, WEIGHT_100HZ},
                   {&Edit10Hz, WEIGHT_10HZ},
                   {&Edit1Hz, WEIGHT_1HZ}}},
      listPlaces{{{&List10MHz, WEIGHT_10MHZ},
                  {&List1MHz, WEIGHT_1MHZ},
                  {&List100kHz, WEIGHT_100KHZ},
                  {&List10kHz, WEIGHT_10KHZ},
                  {&List1kHz, WEIGHT_1KHZ},
                  {&List100Hz, WEIGHT_100HZ},
                  {&List10Hz, WEIGHT_10HZ}}}
{
    OnCreate = ui::Handler(this, &TMainForm::FormCreate);
    OnClose = [this](TObject* sender, ui::TCloseAction& action) { FormClose(sender, action); };
    Timer1.OnTimer = ui::Handler(this, &TMainForm::Timer1Timer);
    Timer2.OnTimer = ui::Handler(this, &TMainForm::Timer2Timer);
    for (const ListPlace& place : listPlaces)
        place.List->OnClick = ui::Handler(this, &TMainForm::TEdit_lo_freqEnter);
    for (const DigitPlace& place : digitPlaces)
        place.Box->OnMouseMove = ui::Handler(this, &TMainForm::Edit10MHzMouseMove);
}

template <class Entry>
typename Entry::Fn TMainForm::ExtIOEntry() const
{
    if (!ExtIOLib || ExtIOReleased)
        return nullptr;
    return FindEntry<Entry>(ExtIOLib);
}

template <class Entry>
typename Entry::Fn TMainForm::EncoderEntry() const
{
    if (!EncoderLib || EncoderReleased)
        return nullptr;
    return FindEntry<Entry>(EncoderLib);
}

template <class Entry, class... Args>
void TMainForm::CallOrReport(Args... args)
{
    if (auto entry = ExtIOEntry<Entry>())
        entry(args...);
    else
        ReportNotFound(Entry::Name);
}

void TMainForm::Dispatch(ui::TMessage& message)
{
    if (message.Msg == WM_MOUSEWHEEL)
        WMMouseWheel(message);
    else
        TForm::Dispatch(message);
}

void TMainForm::FormCreate(TObject*)
{
    ExtIOLib = LoadLibraryA(EXTIO_LIBRARY);
    EncoderLib = LoadLibraryA(ENCODER_LIBRARY);
    if (!EncoderLib)
        Memo1.Lines.Add(ENCODER_NOT_FOUND);
    SetCaption(std::string("TARVO Control V") + VERSION);
    if (!ExtIOLib) {
        ReportNotFound(EXTIO_LIBRARY);
        Close();
        return;
    }

    for (const ListPlace& place : listPlaces)
        place.List->SetItemIndex(PRESET_DIGIT);
    List1MHz.SetItemIndex(PRESET_1MHZ_DIGIT);

    // Zeroed, and read as at most 19 characters: a plug-in may fill all 20.
    char name[20] = {};
    char model[20] = {};
    int hardwareType = 0;
    auto initHW = ExtIOEntry<extio::InitHW>();
    HWInitOK = true;
    if (!initHW) {
        ReportNotFound(extio::InitHW::Name);
    } else if (!initHW(name, model, &hardwareType)) {
        HWInitOK = false;
        Memo1.Lines.Add(RECEIVER_NOT_FOUND);
        for (const DigitPlace& place : digitPlaces)
            place.Box->SetEnabled(false);
    }
    name[sizeof name - 1] = '\0';
    model[sizeof model - 1] = '\0';
    SetCaption(std::string("TARVO Control V") + VERSION + " -> " + name + " " + model);

    OpenController();

    const auto setCallback = ExtIOEntry<extio::SetCallback>();
    const auto getHWLO = ExtIOEntry<extio::GetHWLO>();
    const auto openHW = ExtIOEntry<extio::OpenHW>();
    const auto showGUI = ExtIOEntry<extio::ShowGUI>();
    const auto startHW = ExtIOEntry<extio::StartHW>();
    const auto setHWLO = ExtIOEntry<extio::SetHWLO>();
    const auto tuneChanged = ExtIOEntry<extio::TuneChanged>();

    if (!getHWLO)
        ReportNotFound(extio::GetHWLO::Name);
    if (setCallback)
        setCallback(ExtIOCallback);
    if (!openHW) {
        ReportNotFound(extio::OpenHW::Name);
        return;
    }
    if (!openHW())
        return;
    if (showGUI)
        showGUI();
    else
        ReportNotFound(extio::ShowGUI::Name);
    Freq = START_FREQ;
    if (startHW)
        startHW(Freq);
    else
        ReportNotFound(extio::StartHW::Name);
    if (setHWLO)
        setHWLO(Freq);
    if (tuneChanged)
        tuneChanged(Freq);
    else
        ReportNotFound(extio::TuneChanged::Name);
    UpdateFreq(Freq);
    Timer2.SetEnabled(true);
    // A change is forwarded as soon as the handler that made it returns; the
    // 5 ms tick catches changes made inside loops that are not ours.
    ui::Application->OnMessageHandled = [this] {
        if (Freq != LastTunedFreq)
            Timer2.Kick();
    };
}

void TMainForm::FormClose(TObject*, ui::TCloseAction&)
{
    if (ExtIOLib && HWInitOK) {
        CallOrReport<extio::StopHW>();
        CallOrReport<extio::CloseHW>();
        CallOrReport<extio::HideGUI>();
        FreeLibrary(ExtIOLib);
        ExtIOReleased = true;
    }
    CloseController();
}

void TMainForm::OpenController()
{
    if (!EncoderLib)
        return;
    const auto openConnection = EncoderEntry<encoder::OpenConnection>();
    const auto setLed = EncoderEntry<encoder::SetLed>();
    if (!openConnection)
        ReportNotFound(encoder::OpenConnection::Name);
    else if (openConnection() == CONTROLLER_OPENED)
        Timer1.SetEnabled(true);
    if (setLed)
        setLed(LED_ON);
}

void TMainForm::CloseController()
{
    if (!EncoderLib)
        return;
    if (const auto setLed = EncoderEntry<encoder::SetLed>())
        setLed(LED_OFF);
    const auto closeConnection = EncoderEntry<encoder::CloseConnection>();
    // Ticks during the box below, or after, no longer reach the library.
    EncoderReleased = true;
    if (closeConnection && closeConnection() == CLOSE_FAILED)
        ShowMessage(ENCODER_CLOSE_FAILED);
    FreeLibrary(EncoderLib);
}

void TMainForm::Timer1Timer(TObject*)
{
    if (const auto readValue = EncoderEntry<encoder::ReadValue>()) {
        // The library writes two 32-bit integers; a failed read writes
        // nothing and the fields keep their values.
        int value = EncoderValue;
        int keys = EncoderKeys;
        readValue(&value, &keys);
        EncoderValue = static_cast<int16_t>(value);
        EncoderKeys = static_cast<int16_t>(keys);
    }
    EncoderKeys = static_cast<int16_t>(KEYS_RELEASED - EncoderKeys);
    if (EncoderValue == LastEncoderValue)
        return;
    Freq = frequency::AddWrapped(Freq, knob::Step(EncoderValue, EncoderKeys));
    UpdateFreq(Freq);
    CallOrReport<extio::SetHWLO>(Freq);
    CallOrReport<extio::TuneChanged>(Freq);
    LastEncoderValue = EncoderValue;
}

void TMainForm::Timer2Timer(TObject*)
{
    if (Freq == LastTunedFreq || ExtIOReleased)
        return;
    CallOrReport<extio::TuneChanged>(Freq);
    LastTunedFreq = Freq;
}

void TMainForm::TEdit_lo_freqEnter(TObject*)
{
    int32_t freq = 0;
    for (const ListPlace& place : listPlaces)
        freq += place.Weight * place.List->ItemIndex();
    Freq = freq;
    UpdateFreq(Freq);
    CallOrReport<extio::SetHWLO>(Freq);
    CallOrReport<extio::TuneChanged>(Freq);
}

void TMainForm::WMMouseWheel(ui::TMessage& Message)
{
    // The rotation sits in the high half of the low 32 bits, also where
    // WPARAM is 64 bits wide.
    const auto wParam = static_cast<int32_t>(static_cast<uint32_t>(Message.WParam));
    const int32_t direction = wParam > 0 ? 1 : -1;
    for (const DigitPlace& place : digitPlaces) {
        if (place.Box->Focused()) {
            ui::StrToInt(place.Box->Text());
            Freq = frequency::AddWrapped(Freq, direction * place.Weight);
        }
    }
    UpdateFreq(Freq);
    CallOrReport<extio::SetHWLO>(Freq);
}

void TMainForm::Edit10MHzMouseMove(TObject*)
{
    Memo1.Lines.Add(WHEEL_HINT);
}

void TMainForm::UpdateFreq(int32_t f)
{
    const std::string text = frequency::DisplayText(f);
    for (int i = 0; i < DIGIT_PLACES; ++i)
        digitPlaces[i].Box->SetText(std::string(1, text[i]));
}
