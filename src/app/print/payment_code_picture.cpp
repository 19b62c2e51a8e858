#include "print/payment_code_picture.h"

#include <QPainter>
#include <QPainterPath>
#include <qrencode.h>

#include <memory>

PaymentCodeSymbol::PaymentCodeSymbol(const std::string& payload)
{
    // Version 0 lets the library take the smallest symbol that holds the payload.
    const std::unique_ptr<QRcode, decltype(&QRcode_free)> code(
        QRcode_encodeString8bit(payload.c_str(), 0, QR_ECLEVEL_M), &QRcode_free);
    if (!code || code->width <= 0)
        return;
    size_ = code->width;
    dark_.resize(size_ * size_);
    for (int i = 0; i < size_ * size_; ++i)
        dark_.setBit(i, code->data[i] & 1);
}

void PaymentCodeSymbol::paint(QPainter& painter, QPointF at, qreal moduleSize) const
{
    const qreal side = sideWithQuietZone() * moduleSize;
    painter.fillRect(QRectF(at, QSizeF(side, side)), Qt::white);

    // One path of the dark runs of every row, filled at once: separate squares would leave
    // hairline seams between neighbours in a smoothing PDF viewer.
    QPainterPath dark;
    dark.setFillRule(Qt::WindingFill);
    const QPointF origin = at + QPointF(kQuietZoneModules, kQuietZoneModules) * moduleSize;
    for (int y = 0; y < size_; ++y) {
        for (int x = 0; x < size_;) {
            if (!isDark(x, y)) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < size_ && isDark(x, y))
                ++x;
            dark.addRect(
                QRectF(origin + QPointF(start, y) * moduleSize, QSizeF(x - start, 1) * moduleSize));
        }
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillPath(dark, Qt::black);
    painter.restore();
}

QPixmap PaymentCodePixmap(const PaymentCodeSymbol& symbol, int devicePixelsPerModule,
                          qreal devicePixelRatio)
{
    const int side = symbol.sideWithQuietZone() * devicePixelsPerModule;
    QPixmap pixmap(side, side);
    QPainter painter(&pixmap);
    symbol.paint(painter, QPointF(0, 0), devicePixelsPerModule);
    painter.end();
    pixmap.setDevicePixelRatio(devicePixelRatio);
    return pixmap;
}
