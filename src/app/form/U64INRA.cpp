#include "form/U64INRA.h"

#include <QKeyEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>

#include <algorithm>

namespace {

constexpr int ClientWidth = 404;
constexpr int ClientHeight = 254;
constexpr QPoint ScreenPosition{200, 108};
constexpr int RowHeight = 25;

} // namespace

Tin_radiodialog::Tin_radiodialog(QWidget* owner) : QDialog(owner)
{
    setupUi(this);
    FormCreate();
    connect(Button_ok, &QPushButton::clicked, this, [this] { button_okClick(); });
    connect(button_cancel, &QPushButton::clicked, this, [this] { button_cancelClick(); });
}

Tin_radiodialog::~Tin_radiodialog() = default;

void Tin_radiodialog::FormCreate()
{
    // A fixed dialog frame: title and close box, nothing to minimise, maximise or resize.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(ClientWidth, ClientHeight);
    // A set position keeps the dialog where it was designed instead of centred on its owner.
    move(ScreenPosition);
}

void Tin_radiodialog::SetupChoice(const QString& caption, int count, quint16 def)
{
    setWindowTitle(caption);
    RadioGroup1->setItems(Choices ? *Choices : QStringList());
    RadioGroup1->setItemIndex(int(def) - 1);
    const qint64 height = qint64(count) * RowHeight + RowHeight;
    RadioGroup1->resize(RadioGroup1->width(), int(std::clamp<qint64>(height, 0, QWIDGETSIZE_MAX)));
}

void Tin_radiodialog::GetChoice(qint16& choice, bool& cancelled) const
{
    choice = static_cast<qint16>(RadioGroup1->itemIndex() + 1);
    cancelled = Cancelled;
}

void Tin_radiodialog::button_okClick()
{
    close();
}

void Tin_radiodialog::button_cancelClick()
{
    Cancelled = true;
    close();
}

bool Tin_radiodialog::FormKeyDown(int key, Qt::KeyboardModifiers)
{
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        close();
        return true;
    case Qt::Key_Escape:
        Cancelled = true;
        close();
        return true;
    default:
        return false;
    }
}

void Tin_radiodialog::keyPressEvent(QKeyEvent* event)
{
    // Keys the focused option leaves alone arrive here. A focused push button takes Enter
    // itself and is pressed, as in any dialog.
    if (FormKeyDown(event->key(), event->modifiers())) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void Tin_radiodialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // The focus starts on the selected option.
    RadioGroup1->setFocus(Qt::OtherFocusReason);
}
