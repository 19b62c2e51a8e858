#include "controls/radio_group.h"

#include <QButtonGroup>
#include <QRadioButton>
#include <QVBoxLayout>

RadioGroup::RadioGroup(QWidget* parent) : QGroupBox(parent), group_(new QButtonGroup(this))
{
    group_->setExclusive(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 4, 8, 4);
    layout->setSpacing(0);
    // Focus entering the group lands on the selected option, so the arrow keys move the
    // selection from there.
    connect(group_, &QButtonGroup::idToggled, this, [this] { updateFocusProxy(); });
}

void RadioGroup::setItems(const QStringList& items)
{
    setFocusProxy(nullptr);
    for (QRadioButton* button : buttons_) {
        group_->removeButton(button);
        delete button;
    }
    buttons_.clear();
    for (const QString& text : items) {
        auto* button = new QRadioButton(text, this);
        group_->addButton(button, static_cast<int>(buttons_.size()));
        layout()->addWidget(button);
        buttons_ << button;
    }
    updateFocusProxy();
}

QStringList RadioGroup::items() const
{
    QStringList texts;
    for (const QRadioButton* button : buttons_)
        texts << button->text();
    return texts;
}

int RadioGroup::itemIndex() const
{
    return group_->checkedId();
}

void RadioGroup::setItemIndex(int index)
{
    if (index >= count())
        index = count() - 1;
    if (index < 0) {
        // An exclusive group will not let its checked button go.
        group_->setExclusive(false);
        for (QRadioButton* button : buttons_)
            button->setChecked(false);
        group_->setExclusive(true);
    } else {
        buttons_[index]->setChecked(true);
    }
    updateFocusProxy();
}

void RadioGroup::updateFocusProxy()
{
    QWidget* target = nullptr;
    if (!buttons_.isEmpty())
        target = itemIndex() >= 0 ? buttons_[itemIndex()] : buttons_.first();
    setFocusProxy(target);
}
