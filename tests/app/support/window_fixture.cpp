#include "window_fixture.h"

#include "platform/application.h"

#include <QDir>
#include <QTest>

WindowFixture::WindowFixture(const std::function<void()>& prepare)
    : previousDir_(QDir::currentPath())
{
    InitialiseApplication();
    QDir::setCurrent(dir_.path());
    if (prepare)
        prepare();
    open();
}

WindowFixture::~WindowFixture()
{
    window_.reset();
    QDir::setCurrent(previousDir_);
}

void WindowFixture::restart()
{
    window_.reset();
    open();
}

void WindowFixture::open()
{
    window_ = std::make_unique<TForm_order>(desktop);
    window_->show();
    window_->activateWindow();
    if (!QTest::qWaitForWindowActive(window_.get()))
        qFatal("the order window was never activated");
}

void WindowFixture::choose(QComboBox* list, int index)
{
    list->setCurrentIndex(index);
    emit list->activated(index);
}

void WindowFixture::click(QAbstractButton* button)
{
    QTest::mouseClick(button, Qt::LeftButton);
}
