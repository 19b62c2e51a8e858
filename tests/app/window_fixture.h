#pragma once

#include "form/order1.h"
#include "recording_desktop.h"
#include "test_support.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QString>
#include <QTemporaryDir>

#include <functional>
#include <memory>

// One order window as a customer meets it, in a working directory of its own: the directory is
// made empty, `prepare` may put files into it (a saved order, say), then the window is created,
// shown and activated, which runs its first activation. The previous working directory comes
// back when the fixture goes.
class WindowFixture {
public:
    explicit WindowFixture(const std::function<void()>& prepare = {});
    ~WindowFixture();
    WindowFixture(const WindowFixture&) = delete;
    WindowFixture& operator=(const WindowFixture&) = delete;

    TForm_order& window() { return *window_; }
    TForm_order* operator->() { return window_.get(); }
    QString path(const QString& fileName) const { return dir_.filePath(fileName); }

    // A second window in the same working directory, as at the next start of the program.
    void restart();

    // Picks an entry of a list as the user does, so its change handler runs.
    static void choose(QComboBox* list, int index);
    // Clicks with the mouse.
    static void click(QAbstractButton* button);

    RecordingDesktop desktop;

private:
    void open();

    QTemporaryDir dir_;
    QString previousDir_;
    std::unique_ptr<TForm_order> window_;
};
