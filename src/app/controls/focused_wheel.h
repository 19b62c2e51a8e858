#pragma once

#include <QFocusEvent>
#include <QWheelEvent>

// A control whose choice the wheel changes only while it has the keyboard focus. Otherwise the
// wheel goes on to what lies around it, so a customer scrolling a window that does not fit the
// screen scrolls on past the control instead of changing a choice (and a price) unawares.
// Controls under it must not take the focus by the wheel (their focus policy is StrongFocus).
//
// The focus that the window hands its first control as it opens is no focus the customer gave:
// the wheel passes that control by too, until the customer clicks it or tabs to it. Leaving the
// window and coming back keeps what was given.
template <typename Control> class FocusedWheel : public Control {
public:
    using Control::Control;

protected:
    void focusInEvent(QFocusEvent* event) override
    {
        // A list whose popup closes was clicked open, even where it had the focus already.
        if (event->reason() != Qt::ActiveWindowFocusReason)
            focusGiven_ = true;
        Control::focusInEvent(event);
    }
    void focusOutEvent(QFocusEvent* event) override
    {
        if (event->reason() != Qt::ActiveWindowFocusReason &&
            event->reason() != Qt::PopupFocusReason)
            focusGiven_ = false;
        Control::focusOutEvent(event);
    }
    void wheelEvent(QWheelEvent* event) override
    {
        if (!this->hasFocus() || !focusGiven_) {
            event->ignore();
            return;
        }
        Control::wheelEvent(event);
    }

private:
    bool focusGiven_ = false;
};
