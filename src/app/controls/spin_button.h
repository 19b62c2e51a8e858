#pragma once

#include <QWidget>

class QToolButton;

// Two stacked arrow buttons without a value of their own: the window decides what up and down
// mean.
class SpinButton : public QWidget {
    Q_OBJECT
public:
    explicit SpinButton(QWidget* parent = nullptr);

    QToolButton* upButton() const { return up_; }
    QToolButton* downButton() const { return down_; }

protected:
    // With the focus, the arrow keys press the arrows.
    void keyPressEvent(QKeyEvent* event) override;

signals:
    void upClicked();
    void downClicked();

private:
    QToolButton* up_;
    QToolButton* down_;
};
