#pragma once

#include <QCheckBox>
#include <QPlainTextEdit>
#include <QSpinBox>

// The number field. It reports every change of the number it shows, whichever way it came:
// typing, the arrow buttons, the arrow and page keys, the wheel, and the correction when the
// focus leaves. The spin box's own signals miss the correction whenever the value stays the
// same, because it rewrites its editor with the signals blocked.
//
// A whole number out of range stands while it is being typed (150 is priced as 150 licences);
// leaving the field forces it into range, to the nearest end, and an empty field becomes the
// minimum. Digits are always Western, whatever the locale, as in the amounts.
class NumberField : public QSpinBox {
    Q_OBJECT
public:
    explicit NumberField(QWidget* parent = nullptr);

signals:
    void numberChanged();

protected:
    QValidator::State validate(QString& input, int& pos) const override;
    void fixup(QString& input) const override;
    bool event(QEvent* event) override;

private:
    void reportChange();

    QString reported_;
};

// The order text. Every line break a person makes or brings in becomes a plain paragraph break
// (Shift+Enter, and pasted, dropped or composed text with CR LF, CR, LF or a Unicode line or
// paragraph separator), so the text holds only lines that the line count, the hand-offs and
// the file all see alike.
class OrderMemo : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit OrderMemo(QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    // Paste by keys, menu and middle button, and drops, all come through here.
    void insertFromMimeData(const QMimeData* source) override;
    // Copy by keys and menu, the X11 selection and drags out take the selected text alone.
    QMimeData* createMimeDataFromSelection() const override;
};

// A check box that toggles on a click anywhere on its area, not only on its box and caption.
class AreaCheckBox : public QCheckBox {
    Q_OBJECT
public:
    explicit AreaCheckBox(QWidget* parent = nullptr);

protected:
    bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }
};
