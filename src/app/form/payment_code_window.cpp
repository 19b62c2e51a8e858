#include "form/payment_code_window.h"

#include "platform/screen_scaling.h"

#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <QWindow>

#include <algorithm>
#include <cmath>

PaymentCodeWindow::PaymentCodeWindow(QWidget* orderWindow) : QDialog(orderWindow)
{
    setObjectName(QStringLiteral("PaymentCodeWindow"));
    setWindowTitle(QStringLiteral("Payment code"));
    setAccessibleName(QStringLiteral("Payment code"));
    setModal(false);

    Image_code = new QLabel(this);
    Image_code->setObjectName(QStringLiteral("Image_code"));
    Image_code->setAccessibleName(QStringLiteral("Payment code to scan"));
    Image_code->setAlignment(Qt::AlignCenter);
    Label_caption = new QLabel(this);
    Label_caption->setObjectName(QStringLiteral("Label_caption"));
    Label_caption->setWordWrap(true);
    Label_caption->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label_caption->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Button_close = new QPushButton(QStringLiteral("Close"), this);
    Button_close->setObjectName(QStringLiteral("Button_close"));
    Button_close->setDefault(true);
    connect(Button_close, &QPushButton::clicked, this, &QWidget::close);

    auto* layout = new QVBoxLayout(this);
    // The window takes the size of what it shows, which follows the code and the screen.
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(Image_code, 0, Qt::AlignHCenter);
    layout->addWidget(Label_caption);
    layout->addWidget(Button_close, 0, Qt::AlignRight);
}

void PaymentCodeWindow::showCode(const velmaro::PaymentCode& code)
{
    symbol_ = code.ready() ? PaymentCodeSymbol(code.payload) : PaymentCodeSymbol();
    Label_caption->setText(QString::fromStdString(code.text));
    Image_code->setAccessibleDescription(Label_caption->text());
    render();
}

void PaymentCodeWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // On another screen the pixel ratio and the room may differ.
    if (!followsScreen_ && windowHandle()) {
        connect(windowHandle(), &QWindow::screenChanged, this, &PaymentCodeWindow::render);
        followsScreen_ = true;
    }
}

void PaymentCodeWindow::render()
{
    const QScreen* screen = this->screen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    const qreal ratio = devicePixelRatioF();
    const QMargins margins = layout()->contentsMargins();
    const int spacing = layout()->spacing();

    // The picture takes whole device pixels per module, enough for the least side; on a screen
    // too small for that, as many as leave the caption and the button in view.
    int side = kMinCodeSide;
    if (!symbol_.isNull()) {
        const int room =
            std::min(area.width() - kFrameWidth - margins.left() - margins.right(),
                     area.height() - kFrameHeight - margins.top() - margins.bottom() - 2 * spacing -
                         3 * fontMetrics().lineSpacing() - Button_close->sizeHint().height());
        int perModule = static_cast<int>(std::ceil(kMinCodeSide * ratio / symbol_.size()));
        while (perModule > 1 && symbol_.sideWithQuietZone() * perModule / ratio > room)
            --perModule;
        const QPixmap pixmap = PaymentCodePixmap(symbol_, perModule, ratio);
        Image_code->setPixmap(pixmap);
        side = static_cast<int>(std::ceil(pixmap.width() / ratio));
    } else {
        Image_code->clear();
    }
    Image_code->setVisible(!symbol_.isNull());
    Label_caption->setFixedWidth(side);
    adjustSize();

    // Kept within the screen's free area, over the order window when first shown.
    QRect frame = frameGeometry();
    if (!isVisible() && parentWidget())
        frame.moveCenter(parentWidget()->frameGeometry().center());
    const OuterGeometry fitted =
        FittedIntoArea({frame.left(), frame.top(), frame.width(), frame.height()},
                       {area.left(), area.top(), area.width(), area.height()});
    move(fitted.left, fitted.top);
}
