#pragma once

#include <QGroupBox>
#include <QList>
#include <QStringList>

class QButtonGroup;
class QRadioButton;

// A column of mutually exclusive options in a frame without caption, addressed by index: the
// options are given as texts, and at most one of them is selected (-1 for none).
class RadioGroup : public QGroupBox {
    Q_OBJECT
public:
    explicit RadioGroup(QWidget* parent = nullptr);

    // Replaces the options; none is selected afterwards.
    void setItems(const QStringList& items);
    QStringList items() const;
    int count() const { return static_cast<int>(buttons_.size()); }

    // The selected option, or -1. Setting an index past the last option selects the last one,
    // and any negative index clears the selection.
    int itemIndex() const;
    void setItemIndex(int index);

    QRadioButton* button(int index) const { return buttons_.value(index); }

private:
    void updateFocusProxy();

    QButtonGroup* group_;
    QList<QRadioButton*> buttons_;
};
