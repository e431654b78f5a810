#pragma once
#include <windows.h>

#include <array>
#include <cstdint>

#include "Edit.h"
#include "ExtIO.h"
#include "Form.h"
#include "Label.h"
#include "ListBox.h"
#include "Memo.h"
#include "Timer.h"

using ui::TObject;

// The tuning panel's one window.
class TMainForm : public ui::TForm {
public:
    TMainForm();

    ui::TListBox List10MHz;
    ui::TListBox List1MHz;
    ui::TListBox List100kHz;
    ui::TListBox List10kHz;
    ui::TListBox List1kHz;
    ui::TListBox List100Hz;
    ui::TListBox List10Hz;
    ui::TTimer Timer1;
    ui::TMemo Memo1;
    ui::TTimer Timer2;
    ui::TEdit Edit10MHz;
    ui::TEdit Edit1MHz;
    ui::TEdit Edit100kHz;
    ui::TEdit Edit10kHz;
    ui::TEdit Edit1kHz;
    ui::TLabel Label1;
    ui::TEdit Edit100Hz;
    ui::TEdit Edit10Hz;
    ui::TEdit Edit1Hz;
    ui::TEdit Edit100MHz;
    ui::TLabel Label2;

    void FormCreate(TObject* Sender);
    void FormClose(TObject* Sender, ui::TCloseAction& Action);
    void Timer2Timer(TObject* Sender);
    void TEdit_lo_freqEnter(TObject* Sender);
    void Edit10MHzMouseMove(TObject* Sender);
    void WMMouseWheel(ui::TMessage& Message);
    void Timer1Timer(TObject* Sender);

    void UpdateFreq(int32_t f);

protected:
    void Dispatch(ui::TMessage& message) override;

private:
    friend void HandleExtIONotification(int status);

    // The nine digit boxes, left to right, with their weights in hertz.
    struct DigitPlace {
        ui::TEdit* Box;
        int32_t Weight;
    };
    struct ListPlace {
        ui::TListBox* List;
        int32_t Weight;
    };
    static constexpr int DIGIT_PLACES = 9;
    static constexpr int LIST_PLACES = 7;
    const std::array<DigitPlace, DIGIT_PLACES> digitPlaces;
    const std::array<ListPlace, LIST_PLACES> listPlaces;

    // The plug-in's entry point, or null when it lacks it or has been freed.
    template <class Entry>
    typename Entry::Fn ExtIOEntry() const;
    // Looks the entry point up and calls it, or reports it missing.
    template <class Entry, class... Args>
    void CallOrReport(Args... args);
    // The controller library's entry point, or null when it lacks it or the
    // close sequence has begun closing the controller.
    template <class Entry>
    typename Entry::Fn EncoderEntry() const;
    void OpenController();
    void CloseController();

    HMODULE ExtIOLib = nullptr;
    HMODULE EncoderLib = nullptr;
    int32_t Freq = 0;
    int16_t EncoderValue = 0;
    int16_t EncoderKeys = 0;
    bool HWInitOK = false;
    // Set once the close sequence has freed the plug-in library: from then on
    // nothing may look anything up in it.
    bool ExtIOReleased = false;
    // Set when the close sequence starts closing the controller: from then on
    // no tick calls into its library.
    bool EncoderReleased = false;
};

extern TMainForm* MainForm;

// The box for an entry point missing from a library: its name and " not found".
void ReportNotFound(const char* name);
