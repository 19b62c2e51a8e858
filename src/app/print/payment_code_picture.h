#pragma once

#include <QBitArray>
#include <QPixmap>
#include <QPointF>

#include <string>

class QPainter;

// The white border a scanner needs around a QR symbol, in modules.
inline constexpr int kQuietZoneModules = 4;

// The QR symbol of a payment code's payload, at the error-correction level M that banking apps
// expect of a transfer code. Drawn the same way on the screen, the printer and the PDF.
class PaymentCodeSymbol {
public:
    PaymentCodeSymbol() = default;
    // A null symbol when the payload cannot be encoded.
    explicit PaymentCodeSymbol(const std::string& payload);

    bool isNull() const { return size_ == 0; }
    // Modules a side, without the quiet zone.
    int size() const { return size_; }
    int sideWithQuietZone() const { return size_ + 2 * kQuietZoneModules; }
    bool isDark(int x, int y) const { return dark_.testBit(y * size_ + x); }

    // Paints the quiet zone white and the dark modules black, the quiet zone's top left corner at
    // `at`, each module `moduleSize` device units square.
    void paint(QPainter& painter, QPointF at, qreal moduleSize) const;

private:
    int size_ = 0;
    QBitArray dark_;
};

// The symbol with its quiet zone as a picture of whole device pixels per module, for a screen
// of this pixel ratio, so no module is blurred or one pixel narrower than its neighbour.
QPixmap PaymentCodePixmap(const PaymentCodeSymbol& symbol, int devicePixelsPerModule,
                          qreal devicePixelRatio);
