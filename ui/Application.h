#pragma once
#include <windows.h>

#include <exception>
#include <functional>
#include <string>

namespace ui {

class TForm;

// The application object: title, main form, message loop and error box.
class TApplication {
public:
    std::string Title;
    TForm* MainForm = nullptr;
    // Runs after every message the loops dispatch.
    std::function<void()> OnMessageHandled;

    void Initialize();

    // Creates a form: the pointer is set before the form's creation handler
    // runs, so code called from that handler can reach the form through it.
    template <class T>
    void CreateForm(T*& form)
    {
        form = new T();
        if (!MainForm)
            MainForm = form;
        form->Create();
    }

    // Shows the main form, unless it closed while being created, and runs the
    // message loop until the program is told to end.
    void Run();
    void Terminate();
    bool Terminated() const { return terminated_; }

    // Handles one message, or waits for the next message or tick.
    void HandleMessage();
    // A nested loop, as a modal box runs it: handles messages until done()
    // holds or the program is ending.
    void RunNestedLoop(const std::function<bool()>& done);

    // Shows the error box for an exception caught at an entry from the system.
    void HandleException(std::exception_ptr error);

private:
    bool terminated_ = false;
};

extern TApplication* Application;

// The error box's text: the UI layer's exception message with a full stop
// when its last character's code is above that of '.'; empty for any other
// exception.
std::string ErrorBoxText(std::exception_ptr error);

// Marks a top-level window whose Tab, Enter and Esc keys the loops route
// through dialog navigation.
void EnableDialogKeys(HWND window);

// Every entry from the system (window procedures, ticks, callbacks) runs its
// work through this, so no exception unwinds through a system frame.
template <class F>
void Guarded(F&& work) noexcept
{
    try {
        work();
    } catch (...) {
        Application->HandleException(std::current_exception());
    }
}

} // namespace ui
