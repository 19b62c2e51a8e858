#pragma once

#include "form/ui_U64INRA.h"

#include <QDialog>
#include <QStringList>

#include <memory>

class QKeyEvent;

// A small modal dialog that offers a column of options, one of them preselected, and reports
// the chosen one (counted from 1) and whether the user cancelled.
class Tin_radiodialog : public QDialog, public Ui_Tin_radiodialog {
    Q_OBJECT
public:
    explicit Tin_radiodialog(QWidget* owner = nullptr);
    ~Tin_radiodialog() override;

    // Set by Cancel and Escape only: closing with the title-bar close box leaves it false, so
    // the selected option counts as chosen.
    bool Cancelled = false;
    // The option texts, filled by the caller after creation; the dialog keeps and frees them.
    std::unique_ptr<QStringList> Choices;

    // Caption, the options from Choices, the preselected option (counted from 1) and room for
    // `count` options in the radio group.
    void SetupChoice(const QString& caption, int count, quint16 def);
    void GetChoice(qint16& choice, bool& cancelled) const;

    void button_okClick();
    void button_cancelClick();
    void FormCreate();
    // Enter closes, Escape cancels; true when the key was one of them.
    bool FormKeyDown(int key, Qt::KeyboardModifiers shift);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
};
