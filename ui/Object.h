#pragma once
#include <functional>

namespace ui {

// Root of the components and forms, so an event can name its sender.
class TObject {
public:
    virtual ~TObject() = default;
};

using TNotifyEvent = std::function<void(TObject* Sender)>;

// Binds a form's handler to a component's event.
template <class C>
TNotifyEvent Handler(C* self, void (C::*method)(TObject*))
{
    return [self, method](TObject* sender) { (self->*method)(sender); };
}

} // namespace ui
