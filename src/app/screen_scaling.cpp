#include "screen_scaling.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <cmath>

int ScreenPixelsPerInch = 96;
int ScalePercent = 100;

void ReadScreenPixelsPerInch()
{
    ScreenPixelsPerInch = 96;
    // Qt already scales the whole window for high DPI; its logical DPI is what is left over
    // (96 on a screen it scales exactly), so the window is never scaled twice.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        ScreenPixelsPerInch = static_cast<int>(std::lround(screen->logicalDotsPerInchX()));
}

int ScalePercentFor(int pixelsPerInch)
{
    return pixelsPerInch * 100 / 96;
}

void ComputeScalePercent()
{
    ScalePercent = ScalePercentFor(ScreenPixelsPerInch);
}

OuterGeometry ScaledCentredGeometry(int scalePercent, int width, int height, int screenWidth,
                                    int screenHeight)
{
    OuterGeometry g{};
    g.width = scalePercent * width / 100 + 8;
    g.height = scalePercent * height / 100 + 8;
    // C++ integer division truncates toward zero, as the placement wants.
    g.left = (screenWidth - g.width) / 2;
    g.top = (screenHeight - g.height) / 2 + 20;
    return g;
}

namespace {

// The outer size of the window's design at 96 pixels per inch, frame included.
constexpr int kFrameWidth = 8;
constexpr int kFrameHeight = 34;

} // namespace

void ScaleAndCentreForm(QWidget* form)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize screenSize = screen ? screen->geometry().size() : QSize(1024, 768);
    const QSize client = form->size();
    const OuterGeometry g = ScaledCentredGeometry(ScalePercent, client.width() + kFrameWidth,
                                                  client.height() + kFrameHeight,
                                                  screenSize.width(), screenSize.height());
    form->setProperty("outerGeometry", QRect(g.left, g.top, g.width, g.height));
    form->resize(g.width - kFrameWidth, g.height - kFrameHeight);
    form->move(g.left, g.top);
}
