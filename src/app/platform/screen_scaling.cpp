#include "platform/screen_scaling.h"

#include <QApplication>
#include <QScreen>
#include <QScrollArea>
#include <QSizeGrip>
#include <QWidget>

#include <algorithm>
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

OuterGeometry FittedIntoArea(const OuterGeometry& window, const OuterGeometry& area)
{
    OuterGeometry g = window;
    g.width = std::min(g.width, area.width);
    g.height = std::min(g.height, area.height);
    // The lower limits are applied last, so the left edge and the title bar win.
    g.left = std::max(std::min(g.left, area.left + area.width - g.width), area.left);
    g.top = std::max(std::min(g.top, area.top + area.height - g.height), area.top);
    return g;
}

namespace {

// Free room kept right of and below the controls when the window scrolls.
constexpr int kContentsMargin = 8;
// Room kept around the focused control when it is scrolled into view.
constexpr int kFocusMargin = 8;

// Keeps a scroll area the size of the window it fills.
class FillWindow : public QObject {
public:
    explicit FillWindow(QScrollArea* area) : QObject(area), area_(area) {}

    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Resize)
            area_->setGeometry(area_->parentWidget()->rect());
        return false;
    }

private:
    QScrollArea* area_;
};

// Hands the keys that reach the scroll area on to the window, as before there was one: the
// area would scroll by the arrow and page keys that a control leaves alone (Down in a line
// edit, say) and take the focused control out of view.
class PassKeysOn : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        event->ignore();
        return true;
    }
};

// Moves the window's controls into a scroll area that fills the window; the controls keep
// their places, their tab order and their window. The scroll bars appear only when the
// window is smaller than the area the controls take.
void ScrollContents(QWidget* form)
{
    auto* area = new QScrollArea(form);
    area->setFrameShape(QFrame::NoFrame);
    area->setFocusPolicy(Qt::NoFocus);
    area->setWidgetResizable(true);
    auto* contents = new QWidget;
    area->setWidget(contents);
    QRect used;
    for (QWidget* child : form->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (child == area || child->isWindow() || qobject_cast<QSizeGrip*>(child))
            continue;
        const QRect geometry = child->geometry();
        child->setParent(contents);
        child->setGeometry(geometry);
        used |= geometry;
    }
    contents->setMinimumSize(used.right() + 1 + kContentsMargin,
                             used.bottom() + 1 + kContentsMargin);
    area->setGeometry(form->rect());
    area->lower();

    form->installEventFilter(new FillWindow(area));
    area->installEventFilter(new PassKeysOn(area));

    // The scroll area follows Tab by itself, but not the focus that comes another way: a
    // label's shortcut, a message box giving it back, the program setting it. It also shows
    // only the text cursor of the focused widget, which in a table is the cell editor alone:
    // the whole control comes into view first (its top-left corner where it is larger than the
    // view), then the text cursor inside it.
    QObject::connect(qApp, &QApplication::focusChanged, area, [area](QWidget*, QWidget* now) {
        QWidget* contents = area->widget();
        if (!now || !contents->isAncestorOf(now))
            return;
        QWidget* control = now;
        for (QWidget* w = now->parentWidget(); w != contents; w = w->parentWidget())
            if (qobject_cast<QAbstractScrollArea*>(w))
                control = w;
        const QRect shown(control->mapTo(contents, QPoint()), control->size());
        area->ensureVisible(shown.right(), shown.bottom(), kFocusMargin, kFocusMargin);
        area->ensureVisible(shown.left(), shown.top(), kFocusMargin, kFocusMargin);
        area->ensureWidgetVisible(now, kFocusMargin, kFocusMargin);
    });
}

} // namespace

void ScaleAndCentreForm(QWidget* form)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize screenSize = screen ? screen->geometry().size() : QSize(1024, 768);
    const QRect available = screen ? screen->availableGeometry() : QRect(QPoint(), screenSize);
    const QSize client = form->size();
    const OuterGeometry scaled = ScaledCentredGeometry(ScalePercent, client.width() + kFrameWidth,
                                                       client.height() + kFrameHeight,
                                                       screenSize.width(), screenSize.height());
    const OuterGeometry g = FittedIntoArea(
        scaled, {available.left(), available.top(), available.width(), available.height()});
    ScrollContents(form);
    form->setProperty("outerGeometry", QRect(g.left, g.top, g.width, g.height));
    form->resize(g.width - kFrameWidth, g.height - kFrameHeight);
    form->move(g.left, g.top);
}
