#pragma once

#include <QWheelEvent>

// A control whose choice the wheel changes only while it has the keyboard focus. Otherwise the
// wheel goes on to what lies around it, so a customer scrolling a window that does not fit the
// screen scrolls on past the control instead of changing a choice (and a price) unawares.
// Controls under it must not take the focus by the wheel (their focus policy is StrongFocus).
template <typename Control> class FocusedWheel : public Control {
public:
    using Control::Control;

protected:
    void wheelEvent(QWheelEvent* event) override
    {
        if (!this->hasFocus()) {
            event->ignore();
            return;
        }
        Control::wheelEvent(event);
    }
};
