#pragma once

#include "controls/focused_wheel.h"

#include <QComboBox>

// A pick-only list whose closed box shows an entry too long for it cut with "…" rather than
// clipped, and offers the whole entry as its tooltip. The open list shows every entry whole.
// The wheel changes the entry only while the list has the focus.
class ElidingComboBox : public FocusedWheel<QComboBox> {
    Q_OBJECT
public:
    explicit ElidingComboBox(QWidget* parent = nullptr);

    // The text the closed box shows for its current entry.
    QString shownText() const;
    void hidePopup() override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void updateToolTip();
    // Marks the entry as the selected item of the list, for assistive technology.
    void selectEntry();
    // Takes an entry as the user's pick from the open list.
    void pick(int index);
};
