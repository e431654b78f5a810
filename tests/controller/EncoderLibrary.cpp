#include "EncoderLibrary.h"

namespace {
template <typename Function>
void Find(HMODULE module, const char* name, Function& function)
{
    // The declarations in VORN_Encoder.h fix the type; the lookup can only match
    // the name.
    function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}
} // namespace

EncoderLibrary::EncoderLibrary() : module_(LoadLibraryA("VORN_Encoder.dll"))
{
    if (module_ == nullptr) {
        return;
    }
    Find(module_, "OpenConnection", OpenConnection);
    Find(module_, "CloseConnection", CloseConnection);
    Find(module_, "ReadValue", ReadValue);
    Find(module_, "SetLed", SetLed);
}

EncoderLibrary::~EncoderLibrary()
{
    if (module_ != nullptr) {
        FreeLibrary(module_);
    }
}

bool EncoderLibrary::Complete() const
{
    return OpenConnection && CloseConnection && ReadValue && SetLed;
}
