// Case conversion and accent removal driven through their menu items: selection or whole text, the
// document's encoding, undo after each, the empty document, rich text becoming plain, the hourglass
// and the progress window Form4 while the removal runs.
#include "app/MDIForm1.h"
#include "document/Form1.h"
#include "files/FormattedText.h"
#include "platform/RichTextBox.h"
#include "tests/support/TestApp.h"
#include "transform/Form4.h"

#include <QApplication>
#include <QMenu>
#include <QProgressBar>
#include <QtTest>

using namespace tarmel;

namespace {

struct App : testsupport::TestApp {
    App()
    {
        main->resize(900, 700);
        main->show();
    }
    Form1 *doc() const { return main->activeDocument(); }
    Form1 *newDocument(const QString &text, Encoding encoding = Encoding::Windows1252)
    {
        trigger("Mnu_Nouveau");
        FileFormat format = doc()->Text1->fileFormat();
        format.encoding = encoding;
        doc()->Text1->setFileFormat(format);
        doc()->Text1->setText(text);
        return doc();
    }
    void run(const QString &name) { main->runCommand(name); }
};

// What the progress window was like while it showed, seen from its own show event and its bar.
struct Form4Watcher : QObject {
    Form1 *doc = nullptr;
    int shows = 0;
    QString caption;
    bool modal = true;
    QWidget *parent = nullptr;
    int cursorShape = -1;
    QString textWhileShown;
    int lastValue = -1;
    int maximum = 0;

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *form = qobject_cast<Form4 *>(watched);
        if (!form || event->type() != QEvent::Show)
            return false;
        ++shows;
        caption = form->windowTitle();
        modal = form->isModal();
        parent = form->parentWidget();
        cursorShape = QApplication::overrideCursor() ? QApplication::overrideCursor()->shape() : -1;
        textWhileShown = doc->Text1->text();
        maximum = form->ProgressBar1->maximum();
        connect(form->ProgressBar1, &QProgressBar::valueChanged, this, [this](int value) { lastValue = value; });
        return false;
    }
};

} // namespace

class TestTransformUi : public QObject {
    Q_OBJECT
private slots:
    void caseCommands_data();
    void caseCommands();
    void accentRemoval_data();
    void accentRemoval();
    void accentRemovalOnEmptyDocumentDoesNothing();
    void richTextBecomesPlain_data();
    void richTextBecomesPlain();
    void commentEntryFollowsLowerCase();
    void commandsWithoutDocumentDoNothing();
};

void TestTransformUi::caseCommands_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("utf8");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("selStart");
    QTest::addColumn<int>("selLength");
    QTest::addColumn<QString>("expected");
    const QString upper = QStringLiteral("Mnu_Majuscule"), lower = QStringLiteral("Mnu_Minuscule");
    const QString outside = QStringLiteral("Mnu_MajusculeHorsCommentaires");
    QTest::newRow("upper, nothing selected") << upper << false << "g1 x-5.2 é" << 0 << 0 << "G1 X-5.2 É";
    QTest::newRow("upper, a selection") << upper << false << "g1 x1\r\ng2 x2" << 0 << 5 << "G1 X1\r\ng2 x2";
    QTest::newRow("lower, nothing selected") << lower << false << "N10 G1 É" << 0 << 0 << "n10 g1 é";
    QTest::newRow("lower, a selection") << lower << false << "N10 G1\r\nN20" << 4 << 2 << "N10 g1\r\nN20";
    QTest::newRow("upper, Windows-1252: µ stays") << upper << false << "µm ÿ ß" << 0 << 0 << "µM Ÿ ß";
    QTest::newRow("upper, UTF-8: µ to Greek") << upper << true << "µm ÿ ß" << 0 << 0 << "ΜM Ÿ ß";
    QTest::newRow("outside comments, nothing selected")
        << outside << false << "g1 (op é) x1 ; fin\r\ny2" << 0 << 0 << "G1 (op é) X1 ; fin\r\nY2";
    QTest::newRow("outside comments, selection starting inside one")
        << outside << false << "n1 (abc def) ghi" << 8 << 8 << "n1 (abc def) GHI";
    QTest::newRow("outside comments, selection after a closed one")
        << outside << false << "(a) b c" << 4 << 3 << "(a) B C";
    QTest::newRow("outside comments, the selection's own line counts")
        << outside << false << "(open\r\nx (y" << 7 << 4 << "(open\r\nX (y";
    QTest::newRow("upper, empty document") << upper << false << "" << 0 << 0 << "";
    QTest::newRow("lower, empty document") << lower << false << "" << 0 << 0 << "";
    QTest::newRow("outside comments, empty document") << outside << false << "" << 0 << 0 << "";
}

// Each conversion records a snapshot first (even of an empty text), runs under the hourglass and
// is undone by "&Annuler".
void TestTransformUi::caseCommands()
{
    QFETCH(QString, command);
    QFETCH(bool, utf8);
    QFETCH(QString, text);
    QFETCH(int, selStart);
    QFETCH(int, selLength);
    QFETCH(QString, expected);
    App app;
    Form1 *doc = app.newDocument(text, utf8 ? Encoding::Utf8 : Encoding::Windows1252);
    doc->Text1->setSelStart(selStart);
    doc->Text1->setSelLength(selLength);
    QList<int> cursorAtChange;
    QObject::connect(doc->Text1, &platform::RichTextBox::textChanged, doc, [&] {
        cursorAtChange << (QApplication::overrideCursor() ? QApplication::overrideCursor()->shape() : -1);
    });
    app.run(command);
    QCOMPARE(doc->Text1->text(), expected);
    QVERIFY(doc->AnnulRedo);
    QCOMPARE(doc->RedoText, text);
    QCOMPARE(app.mismatches(QStringLiteral("Mnu_Annuler #8")), QString());
    if (!text.isEmpty())
        QCOMPARE(cursorAtChange.value(0), int(Qt::WaitCursor));
    QVERIFY(!QApplication::overrideCursor());
    app.trigger("Mnu_Annuler");
    QCOMPARE(doc->Text1->text(), text);
}

void TestTransformUi::accentRemoval_data()
{
    QTest::addColumn<bool>("throughRoutine");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("selLength");
    QTest::addColumn<QString>("expected");
    QTest::newRow("upper-case accented letters become lower-case plain ones")
        << false << "Élève À Ça" << 0 << "eleve a ca";
    QTest::newRow("ø and Ø become D") << false << "Ø 20 and ø 20" << 0 << "D 20 and D 20";
    QTest::newRow("Ù and ñ stay, a snapshot all the same") << false << "Ù and ñ" << 0 << "Ù and ñ";
    QTest::newRow("a selection: the whole text") << false << "é (è)\r\nà" << 1 << "e (e)\r\na";
    QTest::newRow("the main window's routine") << true << "N10 (ébauche)" << 0 << "N10 (ebauche)";
}

void TestTransformUi::accentRemoval()
{
    QFETCH(bool, throughRoutine);
    QFETCH(QString, text);
    QFETCH(int, selLength);
    QFETCH(QString, expected);
    App app;
    Form1 *doc = app.newDocument(text);
    doc->Text1->setSelStart(0);
    doc->Text1->setSelLength(selLength);
    Form4Watcher watcher;
    watcher.doc = doc;
    qApp->installEventFilter(&watcher);
    if (throughRoutine)
        app.main->SupprimAccents();
    else
        app.run(QStringLiteral("Mnu_SupprimAccents"));
    qApp->removeEventFilter(&watcher);

    QCOMPARE(doc->Text1->text(), expected);
    QCOMPARE(doc->RedoText, text);
    QCOMPARE(app.mismatches(QStringLiteral("Mnu_Annuler #8")), QString());
    // Form4 showed once, before the text changed, under the hourglass, and its bar reached the end.
    QCOMPARE(watcher.shows, 1);
    QCOMPARE(watcher.caption, QStringLiteral("Suppression des caractères accentués"));
    QVERIFY(!watcher.modal);
    QCOMPARE(watcher.parent, static_cast<QWidget *>(app.main.get()));
    QCOMPARE(watcher.cursorShape, int(Qt::WaitCursor));
    QCOMPARE(watcher.textWhileShown, text);
    QCOMPARE(watcher.lastValue, watcher.maximum);
    // and is gone with the hourglass.
    QVERIFY(!app.main->findChild<Form4 *>());
    QVERIFY(!QApplication::overrideCursor());
    app.trigger("Mnu_Annuler");
    QCOMPARE(doc->Text1->text(), text);
}

void TestTransformUi::accentRemovalOnEmptyDocumentDoesNothing()
{
    App app;
    Form1 *doc = app.newDocument(QString());
    Form4Watcher watcher;
    watcher.doc = doc;
    qApp->installEventFilter(&watcher);
    app.run(QStringLiteral("Mnu_SupprimAccents"));
    qApp->removeEventFilter(&watcher);
    QCOMPARE(watcher.shows, 0);
    QVERIFY(!doc->AnnulRedo);
    QCOMPARE(app.mismatches(QStringLiteral("-Mnu_Annuler -#8")), QString());
    QVERIFY(doc->Text1->isEmpty());
}

void TestTransformUi::richTextBecomesPlain_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("expected");
    QTest::newRow("accent removal") << "Mnu_SupprimAccents" << "N10 e\r\nn20 (a)";
    QTest::newRow("upper") << "Mnu_Majuscule" << "N10 É\r\nN20 (À)";
    QTest::newRow("lower") << "Mnu_Minuscule" << "n10 é\r\nn20 (à)";
    QTest::newRow("upper outside comments") << "Mnu_MajusculeHorsCommentaires" << "N10 É\r\nN20 (à)";
}

// Without a selection the whole text is replaced: formats go, the base font stays.
void TestTransformUi::richTextBecomesPlain()
{
    QFETCH(QString, command);
    QFETCH(QString, expected);
    App app;
    Form1 *doc = app.newDocument(QString());
    FormattedText rich = FormattedText::plain(QStringLiteral("N10 é\r\nn20 (à)"), doc->Text1->baseFontName(),
                                              doc->Text1->baseFontSize());
    CharFormat bold = rich.baseFormat();
    bold.bold = true;
    bold.fontSize = 20;
    rich.runs = {TextRun{0, 5, bold}};
    doc->Text1->setFormattedText(rich);
    QCOMPARE(doc->Text1->formattedText().runs.first().format, bold);
    app.run(command);
    QCOMPARE(doc->Text1->formattedText(),
             FormattedText::plain(expected, doc->Text1->baseFontName(), doc->Text1->baseFontSize()));
}

void TestTransformUi::commentEntryFollowsLowerCase()
{
    App app;
    const QList<QAction *> items = app.main->action(QStringLiteral("Mnu_Edit"))->menu()->actions();
    const qsizetype lower = items.indexOf(app.item(QStringLiteral("Mnu_Minuscule")));
    QVERIFY(lower >= 0 && lower + 1 < items.size());
    QCOMPARE(items[lower + 1]->objectName(), QStringLiteral("Mnu_MajusculeHorsCommentaires"));
    QCOMPARE(items[lower + 1]->text(), QStringLiteral("Majuscules hors commentaires"));
}

void TestTransformUi::commandsWithoutDocumentDoNothing()
{
    App app;
    for (const char *name : {"Mnu_Majuscule", "Mnu_Minuscule", "Mnu_MajusculeHorsCommentaires", "Mnu_SupprimAccents"})
        app.run(QString::fromLatin1(name));
    QVERIFY(app.main->documents().isEmpty());
    QVERIFY(!app.main->findChild<Form4 *>());
    QVERIFY(!QApplication::overrideCursor());
}

QTEST_MAIN(TestTransformUi)
#include "tst_transform_ui.moc"
