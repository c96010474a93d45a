#include "platform/MessageBox.h"
#include "tests/platform/ModalDriver.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QMessageBox>
#include <QTest>
#include <QWindow>

using platform::QtMessageBox;
using testsupport::OnModal;

class TestMessageBox : public QObject {
    Q_OBJECT
private slots:
    void answers_data()
    {
        QTest::addColumn<int>("flags");
        QTest::addColumn<int>("icon");
        QTest::addColumn<QString>("attempt");
        QTest::addColumn<bool>("stillOpen"); // after the attempt; then answered by its Oui button
        QTest::addColumn<int>("answer");
        // Enter presses the default button.
        QTest::newRow("16 critical") << 16 << int(QMessageBox::Critical) << "Enter" << false << 1;
        QTest::newRow("320 information, button 2 on OK only") << 320 << int(QMessageBox::Information) << "Enter" << false << 1;
        QTest::newRow("36 question") << 36 << int(QMessageBox::Question) << "Enter" << false << 6;
        QTest::newRow("292 question, No default") << 292 << int(QMessageBox::Question) << "Enter" << false << 7;
        // Only the buttons (mnemonics included) answer a box without OK.
        QTest::newRow("Yes/No, Escape") << 36 << int(QMessageBox::Question) << "Escape" << true << 6;
        QTest::newRow("Yes/No, window close button") << 4 << int(QMessageBox::NoIcon) << "close" << true << 6;
        QTest::newRow("Yes/No, reject") << 292 << int(QMessageBox::Question) << "reject" << true << 6;
        QTest::newRow("48 exclamation, OK, Escape") << 48 << int(QMessageBox::Warning) << "Escape" << false << 1;
        QTest::newRow("Yes/No, Alt+N") << 36 << int(QMessageBox::Question) << "Alt+N" << false << 7;
    }

    // The box shows the flags' icon and buttons, and the text with each CR, LF or CR LF
    // (the program joins lines with them) as one line break.
    void answers()
    {
        QFETCH(int, flags);
        QFETCH(int, icon);
        QFETCH(QString, attempt);
        QFETCH(bool, stillOpen);
        QFETCH(int, answer);
        QStringList seen;
        bool open = false;
        OnModal<QMessageBox> driver([&](QMessageBox *box) {
            QApplication::setActiveWindow(box);
            seen << QString::number(box->icon()) << box->windowTitle() << box->text();
            for (QAbstractButton *b : box->buttons())
                seen << b->text();
            QCloseEvent close; // what the window manager's close button delivers
            if (attempt == "Enter")
                QTest::keyClick(box, Qt::Key_Return);
            else if (attempt == "Escape")
                QTest::keyClick(box->focusWidget() ? box->focusWidget() : box, Qt::Key_Escape);
            else if (attempt == "close")
                QCoreApplication::sendEvent(box->windowHandle(), &close);
            else if (attempt == "reject")
                box->reject();
            else
                QTest::keyClick(box, attempt == "Alt+N" ? Qt::Key_N : Qt::Key_O, Qt::AltModifier);
            // A mnemonic shows its button pressed, and releases it a moment later.
            const QList<QAbstractButton *> buttons = box->buttons();
            open = box->isVisible() && std::none_of(buttons.begin(), buttons.end(), [](auto *b) { return b->isDown(); });
            if (open)
                buttons.constFirst()->click();
        });
        const int result = QtMessageBox().show("ligne 1\rligne 2\r\n\r\nligne 4\n\rfin\r", flags, "Tarmel");
        QVERIFY(driver.ran);
        const QStringList buttons = (flags & 15) == 4 ? QStringList{"&Oui", "&Non"} : QStringList{"OK"};
        QCOMPARE(seen, QStringList({QString::number(icon), "Tarmel", "ligne 1\nligne 2\n\nligne 4\n\nfin\n"}) + buttons);
        QCOMPARE(QList<int>({open, result}), QList<int>({stillOpen, answer}));
    }
};

QTEST_MAIN(TestMessageBox)
#include "tst_messagebox.moc"
