// The payment code's window, driven from the order text's menu and read back with a scanner.
#include "form/payment_code_window.h"
#include "window_fixture.h"

#include <QDate>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTest>

namespace {

// Opens the window through the menu entry, as the user does.
PaymentCodeWindow* openPaymentCode(WindowFixture& f)
{
    std::unique_ptr<QMenu> menu(f->createOrderTextMenu());
    auto* entry = menu->findChild<QAction*>(QStringLiteral("action_payment_code"));
    if (!entry || !entry->isEnabled())
        return nullptr;
    entry->trigger();
    return f->findChild<PaymentCodeWindow*>();
}

QByteArray scanned(WindowFixture& f, QWidget* window)
{
    const QString image = f.path(QStringLiteral("code.png"));
    window->grab().save(image);
    return scannedCode(image);
}

} // namespace

class PaymentCodeTest : public QObject {
    Q_OBJECT
private slots:
    void windowFollowsEveryClosingAndClear();
};

void PaymentCodeTest::windowFollowsEveryClosingAndClear()
{
    WindowFixture f;
    PaymentCodeWindow* window = openPaymentCode(f);
    QVERIFY(window && window->isVisible() && !window->isModal());
    QCOMPARE(window->accessibleName(), QStringLiteral("Payment code"));
    QCOMPARE(window->Label_caption->text(), QString::fromUtf8(velmaro::kNoPaymentCodeYet));
    QVERIFY(window->Image_code->isHidden());

    // Bank transfer: the company's line break becomes a blank.
    WindowFixture::click(f->Button_add);
    WindowFixture::choose(f->ComboBox_location, 2);
    f->StringGrid_adresse->setCell(1, 0, QStringLiteral("M\u00FCller & S\u00F6hne\nGmbH"));
    WindowFixture::click(f->Button_zahlung);
    QCOMPARE(window->Label_caption->text(),
             QStringLiteral("Scan with your banking app to pay 383.00 EUR to VELMARO Software"));
    const QByteArray transfer = "BCD\n002\n1\nSCT\nNHBKDEHH\nVELMARO Software\n"
                                "DE52123456784711081500\nEUR383.00\n\n\nOrder " +
                                QDate::currentDate().toString(Qt::ISODate).toUtf8() +
                                " M\xC3\xBCller & S\xC3\xB6hne GmbH";
    QCOMPARE(scanned(f, window), transfer);
    const PaymentCodeSymbol symbol(transfer.toStdString());
    QVERIFY(window->Image_code->pixmap().width() * symbol.size() >=
            PaymentCodeWindow::kMinCodeSide * symbol.sideWithQuietZone());

    // PayPal: a new "---->" replaces the code in the open window.
    WindowFixture::choose(f->ComboBox_zahlung, 1);
    WindowFixture::click(f->Button_zahlung);
    QCOMPARE(window->Label_caption->text(), QStringLiteral("Scan to pay 383.00 EUR with PayPal"));
    const QStringList text = f->orderText().all();
    QCOMPARE(scanned(f, window), text.filter(QStringLiteral("paypal")).constLast().toUtf8());

    WindowFixture::click(f->Button_clear);
    QCOMPARE(window->Label_caption->text(), QString::fromUtf8(velmaro::kNoPaymentCodeYet));
    QVERIFY(window->Image_code->isHidden());

    f->close();
    QVERIFY(!window->isVisible());
}

QTEST_MAIN(PaymentCodeTest)
#include "payment_code_test.moc"
