#include "platform/MessageBox.h"
#include "tests/platform/ModalDriver.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QWindow>

using platform::QtMessageBox;
using testsupport::OnModal;

namespace {

QAbstractButton *buttonWithText(QMessageBox *box, const QString &text)
{
    for (QAbstractButton *b : box->buttons())
        if (b->text() == text)
            return b;
    return nullptr;
}

QStringList sortedButtonTexts(QMessageBox *box)
{
    QStringList texts;
    for (QAbstractButton *b : box->buttons())
        texts << b->text();
    texts.sort();
    return texts;
}

} // namespace

class TestMessageBox : public QObject {
    Q_OBJECT
private slots:
    void displayText_data();
    void displayText();
    void buildsBoxFromFlags_data();
    void buildsBoxFromFlags();
    void dismissAttempts_data();
    void dismissAttempts();
    void mnemonicsAnswer_data();
    void mnemonicsAnswer();
};

void TestMessageBox::displayText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");
    QTest::newRow("no break") << "Fichier introuvable" << "Fichier introuvable";
    QTest::newRow("CR LF") << "a\r\nb" << "a\nb";
    QTest::newRow("lone CR") << "C:\\p\\x.iso\rmodifié ! Enregistrer le fichier ?"
                             << "C:\\p\\x.iso\nmodifié ! Enregistrer le fichier ?";
    QTest::newRow("LF") << "a\nb" << "a\nb";
    QTest::newRow("mixed and doubled") << "a\r\rb\r\n\r\nc\n\rd" << "a\n\nb\n\nc\n\nd";
    QTest::newRow("trailing CR") << "fin\r" << "fin\n";
    QTest::newRow("empty") << "" << "";
}

void TestMessageBox::displayText()
{
    QFETCH(QString, text);
    QFETCH(QString, shown);
    QCOMPARE(QtMessageBox::displayText(text), shown);
}

void TestMessageBox::buildsBoxFromFlags_data()
{
    QTest::addColumn<int>("flags");
    QTest::addColumn<int>("icon");
    QTest::addColumn<QStringList>("buttons");
    QTest::addColumn<QString>("defaultButton");
    QTest::addColumn<int>("answer");

    const QStringList ok{"OK"};
    const QStringList yesNo{"&Non", "&Oui"}; // sorted
    QTest::newRow("0 OK only") << 0 << int(QMessageBox::NoIcon) << ok << "OK" << 1;
    QTest::newRow("16 critical") << 16 << int(QMessageBox::Critical) << ok << "OK" << 1;
    QTest::newRow("48 exclamation") << 48 << int(QMessageBox::Warning) << ok << "OK" << 1;
    QTest::newRow("64 information") << 64 << int(QMessageBox::Information) << ok << "OK" << 1;
    QTest::newRow("256 on OK only") << 256 << int(QMessageBox::NoIcon) << ok << "OK" << 1;
    QTest::newRow("4 yes/no") << 4 << int(QMessageBox::NoIcon) << yesNo << "&Oui" << 6;
    QTest::newRow("36 question") << 36 << int(QMessageBox::Question) << yesNo << "&Oui" << 6;
    QTest::newRow("292 question, No default")
        << 292 << int(QMessageBox::Question) << yesNo << "&Non" << 7;
    QTest::newRow("308 exclamation, No default")
        << 308 << int(QMessageBox::Warning) << yesNo << "&Non" << 7;
}

// The default button is pressed with Enter, as a user accepting the proposed answer.
void TestMessageBox::buildsBoxFromFlags()
{
    QFETCH(int, flags);
    QFETCH(int, icon);
    QFETCH(QStringList, buttons);
    QFETCH(QString, defaultButton);
    QFETCH(int, answer);

    int seenIcon = -1;
    QStringList seenButtons;
    QString seenDefault, seenTitle, seenText;
    OnModal<QMessageBox> driver([&](QMessageBox *box) {
        seenIcon = box->icon();
        seenButtons = sortedButtonTexts(box);
        seenDefault = box->defaultButton() ? box->defaultButton()->text() : QString();
        seenTitle = box->windowTitle();
        seenText = box->text();
        box->defaultButton()->click();
    });
    QtMessageBox service;
    const int result = service.show("ligne 1\rligne 2", flags, "Tarmel");

    QVERIFY(driver.ran());
    QCOMPARE(seenIcon, icon);
    QCOMPARE(seenButtons, buttons);
    QCOMPARE(seenDefault, defaultButton);
    QCOMPARE(seenTitle, QString("Tarmel"));
    QCOMPARE(seenText, QString("ligne 1\nligne 2"));
    QCOMPARE(result, answer);
}

void TestMessageBox::dismissAttempts_data()
{
    QTest::addColumn<int>("flags");
    QTest::addColumn<QString>("attempt");
    QTest::addColumn<bool>("stillOpen");
    QTest::addColumn<int>("answer");

    // A Yes/No box stays open whatever the attempt, and is then answered Yes by its button.
    for (int flags : {4, 36, 292}) {
        for (const char *attempt : {"escape", "close", "window close", "reject"}) {
            QTest::addRow("%d, %s", flags, attempt) << flags << QString(attempt) << true << 6;
        }
    }
    // An OK box is dismissed like any message box, answering OK.
    for (const char *attempt : {"escape", "close", "window close"})
        QTest::addRow("0, %s", attempt) << 0 << QString(attempt) << false << 1;
}

void TestMessageBox::dismissAttempts()
{
    QFETCH(int, flags);
    QFETCH(QString, attempt);
    QFETCH(bool, stillOpen);
    QFETCH(int, answer);

    bool openAfterAttempt = false;
    OnModal<QMessageBox> driver([&](QMessageBox *box) {
        if (attempt == "escape") {
            QWidget *target = box->focusWidget() ? box->focusWidget() : box;
            QTest::keyClick(target, Qt::Key_Escape);
        } else if (attempt == "close") {
            box->close();
        } else if (attempt == "window close") {
            // What the window manager's close button delivers.
            QCloseEvent event;
            QCoreApplication::sendEvent(box->windowHandle(), &event);
        } else {
            box->reject();
        }
        openAfterAttempt = box->isVisible();
        if (openAfterAttempt)
            buttonWithText(box, "&Oui")->click();
    });
    QtMessageBox service;
    const int result = service.show("Le fichier a été modifié ! Enregistrer le fichier ?", flags, "Tarmel");

    QVERIFY(driver.ran());
    QCOMPARE(openAfterAttempt, stillOpen);
    QCOMPARE(result, answer);
}

void TestMessageBox::mnemonicsAnswer_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("answer");
    QTest::newRow("Alt+O") << int(Qt::Key_O) << 6;
    QTest::newRow("Alt+N") << int(Qt::Key_N) << 7;
}

// A mnemonic presses its button the way a click with the mouse does (shown pressed,
// released a moment later), so the answer is checked once the box has returned.
void TestMessageBox::mnemonicsAnswer()
{
    QFETCH(int, key);
    QFETCH(int, answer);

    bool pressed = false;
    OnModal<QMessageBox> driver([&](QMessageBox *box) {
        QApplication::setActiveWindow(box);
        QTest::keyClick(box, Qt::Key(key), Qt::AltModifier);
        for (QAbstractButton *b : box->buttons())
            pressed = pressed || b->isDown();
        if (!pressed)
            box->defaultButton()->click(); // keeps a failing run from hanging
    });
    QtMessageBox service;
    const int result = service.show("Quitter ?", 4 + 32 + 256, "Tarmel");

    QVERIFY(driver.ran());
    QVERIFY(pressed);
    QCOMPARE(result, answer);
}

QTEST_MAIN(TestMessageBox)
#include "tst_messagebox.moc"
