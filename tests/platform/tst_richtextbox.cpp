// The editing area on the real engine, offscreen: positions in UTF-16 units of text(),
// whole-text and selection writes, formats, keys, command shortcuts, files and the
// accessibility interface.
#include "platform/AccessibleEditor.h"
#include "platform/RichTextBox.h"

#include <Qsci/qsciscintilla.h>

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>

using platform::RichTextBox;
using Sci = QsciScintillaBase;

namespace {

bool insideSurrogatePair(const QString &s, qsizetype i)
{
    return i > 0 && i < s.size() && s.at(i).isLowSurrogate();
}

QString writeFile(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes)
{
    const QString path = dir.filePath(name);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        return {};
    return path;
}

// A shown window holding one editing area with the keyboard focus.
struct FocusedBox {
    QWidget window;
    RichTextBox *box;
    FocusedBox()
        : box(new RichTextBox(&window))
    {
        auto *layout = new QVBoxLayout(&window);
        layout->addWidget(box);
        window.resize(400, 300);
        window.show();
        QApplication::setActiveWindow(&window);
        box->engine()->setFocus();
    }
};

} // namespace

class TestRichTextBox : public QObject {
    Q_OBJECT
private slots:
    void positionsFollowText_data();
    void positionsFollowText();
    void setSelTextReplacesSelection_data();
    void setSelTextReplacesSelection();
    void nulBytesSurvive();
    void wholeTextWriteDropsFormatsAndUndo_data();
    void wholeTextWriteDropsFormatsAndUndo();
    void formatOverRange_data();
    void formatOverRange();
    void fontNameOfMixedSelection();
    void baseFont();
    void typedTextTakesCaretFormat();
    void keyNotifications_data();
    void keyNotifications();
    void cancelledKeysAreDropped_data();
    void cancelledKeysAreDropped();
    void enterWritesTheFileLineEnd_data();
    void enterWritesTheFileLineEnd();
    void commandKeys_data();
    void commandKeys();
    void loadFile_data();
    void loadFile();
    void accessibleInterfaceIsOurs();
    void accessibleTextMatchesModel_data();
    void accessibleTextMatchesModel();
    void mouseNotifications();
    void overtypeAndUndo();
};

// ---- positions -----------------------------------------------------------------------

void TestRichTextBox::positionsFollowText_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("CR LF") << QStringLiteral("N10 G0\r\nN20 X1\r\n\r\nN30");
    QTest::newRow("mixed") << QStringLiteral("a\r\nb\nc\rd");
    QTest::newRow("emoji") << QStringLiteral("a😀b\r\n😀\r\n€😀é");
    QTest::newRow("empty") << QString();
}

void TestRichTextBox::positionsFollowText()
{
    QFETCH(QString, text);
    RichTextBox box;
    box.setText(text);
    QCOMPARE(box.text(), text);
    QCOMPARE(box.textLength(), text.size());
    QCOMPARE(box.isEmpty(), text.isEmpty());
    for (qsizetype start = 0; start <= text.size(); ++start) {
        if (insideSurrogatePair(text, start))
            continue;
        for (qsizetype length = 0; start + length <= text.size(); ++length) {
            if (insideSurrogatePair(text, start + length))
                continue;
            box.setSelStart(start);
            QCOMPARE(box.selLength(), 0);
            box.setSelLength(length);
            QCOMPARE(box.selStart(), start);
            QCOMPARE(box.selLength(), length);
            QCOMPARE(box.selText(), text.mid(start, length));
        }
    }
    // Positions past the end stop at the end.
    box.setSelStart(text.size() + 5);
    QCOMPARE(box.selStart(), text.size());
}

void TestRichTextBox::setSelTextReplacesSelection_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("length");
    QTest::addColumn<QString>("inserted");
    QTest::addColumn<QString>("expected");
    QTest::newRow("insert at caret") << "N10\r\nN30" << 5 << 0 << "N20\r\n" << "N10\r\nN20\r\nN30";
    QTest::newRow("replace selection") << "G0 X1 Y2" << 3 << 2 << "X10" << "G0 X10 Y2";
    QTest::newRow("delete selection") << "abcdef" << 1 << 3 << "" << "aef";
    QTest::newRow("non-ASCII into ASCII") << "N10 X" << 5 << 0 << "é😀" << "N10 Xé😀";
    QTest::newRow("after emoji") << "😀😀\r\nx" << 4 << 2 << "€" << "😀😀€x";
    QTest::newRow("at end of CR doc") << "a\rb" << 3 << 0 << "\rc" << "a\rb\rc";
}

void TestRichTextBox::setSelTextReplacesSelection()
{
    QFETCH(QString, text);
    QFETCH(int, start);
    QFETCH(int, length);
    QFETCH(QString, inserted);
    QFETCH(QString, expected);
    RichTextBox box;
    box.setText(text);
    box.setSelStart(start);
    box.setSelLength(length);
    QSignalSpy changed(&box, &RichTextBox::textChanged);
    box.setSelText(inserted);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(box.text(), expected);
    QCOMPARE(box.textLength(), expected.size());
    QCOMPARE(box.selStart(), start + inserted.size());
    QCOMPARE(box.selLength(), 0);
}

void TestRichTextBox::nulBytesSurvive()
{
    RichTextBox box;
    const QString withNul = QString::fromUtf16(u"N10\0G0\r\n\0\0X1", 13);
    box.setText(withNul);
    QCOMPARE(box.textLength(), 13);
    QCOMPARE(box.text(), withNul);
    QCOMPARE(box.utf8(), withNul.toUtf8());
    box.setSelStart(3);
    box.setSelLength(3);
    QCOMPARE(box.selText(), QString::fromUtf16(u"\0G0", 3));
    box.setSelText(QString::fromUtf16(u"\0Y\0", 3));
    QCOMPARE(box.text(), QString::fromUtf16(u"N10\0Y\0\r\n\0\0X1", 13));
}

void TestRichTextBox::wholeTextWriteDropsFormatsAndUndo_data()
{
    QTest::addColumn<bool>("utf8");
    QTest::newRow("setText") << false;
    QTest::newRow("setUtf8") << true;
}

void TestRichTextBox::wholeTextWriteDropsFormatsAndUndo()
{
    QFETCH(bool, utf8);
    RichTextBox box;
    box.setBaseFont(QStringLiteral("Courier New"), 10);
    box.setText(QStringLiteral("N10 G0 X1"));
    box.setSelStart(0);
    box.setSelLength(6);
    box.setSelBold(true);
    box.setSelStrikeThru(true);
    box.setSelFontName(QStringLiteral("Serif"));
    box.setSelColor(Qt::red);
    box.setSelText(QStringLiteral("N20"));
    QVERIFY(box.engine()->SendScintilla(Sci::SCI_CANUNDO));

    QSignalSpy changed(&box, &RichTextBox::textChanged);
    if (utf8)
        box.setUtf8("N10 G0 X1");
    else
        box.setText(QStringLiteral("N10 G0 X1"));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(box.formattedText().runs.size(), 1);
    QVERIFY(!box.engine()->SendScintilla(Sci::SCI_CANUNDO));
    for (int start : {0, 2, 5}) {
        box.setSelStart(start);
        box.setSelLength(2);
        QVERIFY(!box.selBold());
        QVERIFY(!box.selStrikeThru());
        QCOMPARE(box.selFontName(), std::optional<QString>(QStringLiteral("Courier New")));
        QCOMPARE(box.selColor(), QColor(Qt::black));
    }
}

// ---- formats ---------------------------------------------------------------------------

void TestRichTextBox::formatOverRange_data()
{
    QTest::addColumn<QString>("attribute");
    for (const char *a : {"bold", "italic", "underline", "strike", "color", "size", "font"})
        QTest::newRow(a) << QString::fromLatin1(a);
}

void TestRichTextBox::formatOverRange()
{
    QFETCH(QString, attribute);
    RichTextBox box;
    box.setBaseFont(QStringLiteral("Courier New"), 10);
    box.setText(QStringLiteral("N10 G01 X1\r\nN20 é😀 Y2"));
    auto apply = [&] {
        if (attribute == "bold") box.setSelBold(true);
        else if (attribute == "italic") box.setSelItalic(true);
        else if (attribute == "underline") box.setSelUnderline(true);
        else if (attribute == "strike") box.setSelStrikeThru(true);
        else if (attribute == "color") box.setSelColor(Qt::blue);
        else if (attribute == "size") box.setSelFontSize(14);
        else box.setSelFontName(QStringLiteral("Serif"));
    };
    auto isSet = [&] {
        if (attribute == "bold") return box.selBold();
        if (attribute == "italic") return box.selItalic();
        if (attribute == "underline") return box.selUnderline();
        if (attribute == "strike") return box.selStrikeThru();
        if (attribute == "color") return box.selColor() == QColor(Qt::blue);
        if (attribute == "size") return box.selFontSize() == 14.0;
        return box.selFontName() == std::optional<QString>(QStringLiteral("Serif"));
    };
    // Format the characters 4..19 (from "G01" to the emoji, across the line break).
    box.setSelStart(4);
    box.setSelLength(15);
    apply();
    QVERIFY(isSet());
    QCOMPARE(box.text(), QStringLiteral("N10 G01 X1\r\nN20 é😀 Y2"));
    const QList<std::pair<int, bool>> probes = {{0, false}, {3, false}, {4, true}, {11, true},
                                                {16, true}, {19, false}, {21, false}};
    for (const auto &[at, expected] : probes) {
        box.setSelStart(at);
        box.setSelLength(1);
        QVERIFY2(isSet() == expected, qPrintable(QStringLiteral("at %1").arg(at)));
    }
    // The other attributes stay as they were.
    box.setSelStart(5);
    box.setSelLength(1);
    if (attribute != "bold")
        QVERIFY(!box.selBold());
    if (attribute != "strike")
        QVERIFY(!box.selStrikeThru());
}

void TestRichTextBox::fontNameOfMixedSelection()
{
    RichTextBox box;
    box.setBaseFont(QStringLiteral("Courier New"), 10);
    box.setText(QStringLiteral("N10 G0 X1 Y2"));
    box.setSelStart(4);
    box.setSelLength(2);
    box.setSelBold(true); // same font, other style
    box.setSelStart(0);
    box.setSelLength(12);
    QCOMPARE(box.selFontName(), std::optional<QString>(QStringLiteral("Courier New")));
    box.setSelStart(7);
    box.setSelLength(2);
    box.setSelFontName(QStringLiteral("Serif"));
    box.setSelStart(0);
    box.setSelLength(12);
    QCOMPARE(box.selFontName(), std::nullopt);
    box.setSelStart(5);
    box.setSelLength(3); // "0 X": Courier New then Serif
    QCOMPARE(box.selFontName(), std::nullopt);
    box.setSelStart(7);
    box.setSelLength(2);
    QCOMPARE(box.selFontName(), std::optional<QString>(QStringLiteral("Serif")));
}

void TestRichTextBox::baseFont()
{
    RichTextBox box;
    box.setBaseFont(QStringLiteral("Courier New"), 12);
    box.setBaseFont(QString(), 0); // keeps both
    QCOMPARE(box.baseFontName(), QStringLiteral("Courier New"));
    QCOMPARE(box.baseFontSize(), 12.0);
    box.setBaseFont(QStringLiteral("Serif"), 0);
    QCOMPARE(box.baseFontName(), QStringLiteral("Serif"));
    QCOMPARE(box.baseFontSize(), 12.0);
    box.setBaseFont(QString(), 9);
    QCOMPARE(box.baseFontName(), QStringLiteral("Serif"));
    QCOMPARE(box.baseFontSize(), 9.0);
    // The engine draws style 0 and the default style in the base font and size.
    for (unsigned long style : {0UL, static_cast<unsigned long>(Sci::STYLE_DEFAULT)})
        QCOMPARE(box.engine()->SendScintilla(Sci::SCI_STYLEGETSIZEFRACTIONAL, style), 900);
    box.setText(QStringLiteral("abc"));
    box.setSelStart(0);
    box.setSelLength(3);
    QCOMPARE(box.selFontName(), std::optional<QString>(QStringLiteral("Serif")));
    QCOMPARE(box.selFontSize(), 9.0);
}

void TestRichTextBox::typedTextTakesCaretFormat()
{
    FocusedBox w;
    RichTextBox &box = *w.box;
    box.setText(QStringLiteral("ab"));
    box.setSelStart(2);
    box.setSelBold(true); // nothing selected: applies to what is typed next
    QTest::keyClicks(box.engine(), QStringLiteral("cd"));
    box.setSelStart(2);
    box.setSelLength(2);
    QCOMPARE(box.selText(), QStringLiteral("cd"));
    QVERIFY(box.selBold());
    box.setSelStart(0);
    box.setSelLength(1);
    QVERIFY(!box.selBold());
    // Typed after bold text, text stays bold (the format of the character before).
    box.setSelStart(4);
    QTest::keyClick(box.engine(), Qt::Key_E);
    box.setSelStart(4);
    box.setSelLength(1);
    QCOMPARE(box.selText(), QStringLiteral("e"));
    QVERIFY(box.selBold());
}

// ---- keys ------------------------------------------------------------------------------

void TestRichTextBox::keyNotifications_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("events");
    QTest::newRow("letter") << int(Qt::Key_A) << "down press changed";
    QTest::newRow("Enter") << int(Qt::Key_Return) << "down press changed";
    QTest::newRow("Backspace") << int(Qt::Key_Backspace) << "down press changed";
    QTest::newRow("Escape") << int(Qt::Key_Escape) << "down press";
    QTest::newRow("arrow") << int(Qt::Key_Left) << "down";
    QTest::newRow("Delete") << int(Qt::Key_Delete) << "down changed";
}

void TestRichTextBox::keyNotifications()
{
    QFETCH(int, key);
    QFETCH(QString, events);
    FocusedBox w;
    RichTextBox &box = *w.box;
    box.setText(QStringLiteral("N10\r\nN20"));
    box.setSelStart(4);
    QStringList seen;
    QString textAtPress;
    connect(&box, &RichTextBox::keyDown, [&](platform::KeyEventArgs &e) {
        seen << "down";
        QCOMPARE(e.keyCode, key);
    });
    connect(&box, &RichTextBox::keyPress, [&](platform::KeyEventArgs &) {
        seen << "press";
        textAtPress = box.text();
    });
    connect(&box, &RichTextBox::textChanged, [&] { seen << "changed"; });
    QTest::keyClick(box.engine(), Qt::Key(key));
    QCOMPARE(seen.join(' '), events);
    if (seen.contains("press"))
        QCOMPARE(textAtPress, QStringLiteral("N10\r\nN20")); // before the key took effect
}

void TestRichTextBox::cancelledKeysAreDropped_data()
{
    QTest::addColumn<bool>("cancelDown");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("events");
    QTest::newRow("down cancels letter") << true << int(Qt::Key_X) << "down";
    QTest::newRow("down cancels Delete") << true << int(Qt::Key_Delete) << "down";
    QTest::newRow("press cancels letter") << false << int(Qt::Key_X) << "down press";
    QTest::newRow("press cancels Enter") << false << int(Qt::Key_Return) << "down press";
}

void TestRichTextBox::cancelledKeysAreDropped()
{
    QFETCH(bool, cancelDown);
    QFETCH(int, key);
    QFETCH(QString, events);
    FocusedBox w;
    RichTextBox &box = *w.box;
    box.setText(QStringLiteral("N10"));
    box.setSelStart(1);
    QStringList seen;
    connect(&box, &RichTextBox::keyDown, [&](platform::KeyEventArgs &e) {
        seen << "down";
        e.cancel = cancelDown;
    });
    connect(&box, &RichTextBox::keyPress, [&](platform::KeyEventArgs &e) {
        seen << "press";
        e.cancel = true;
    });
    connect(&box, &RichTextBox::textChanged, [&] { seen << "changed"; });
    QTest::keyClick(box.engine(), Qt::Key(key));
    QCOMPARE(seen.join(' '), events);
    QCOMPARE(box.text(), QStringLiteral("N10"));
    QCOMPARE(box.selStart(), 1);
}

void TestRichTextBox::enterWritesTheFileLineEnd_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("expected");
    QTest::newRow("new document") << QByteArray() << "N10\r\n";
    QTest::newRow("CR LF file") << QByteArray("N1\r\nN2\r\n") << "N10\r\nN1\r\nN2\r\n";
    QTest::newRow("LF file") << QByteArray("N1\nN2\n") << "N10\nN1\nN2\n";
    QTest::newRow("CR file") << QByteArray("N1\rN2\r") << "N10\rN1\rN2\r";
    QTest::newRow("no line end") << QByteArray("N1") << "N10\r\nN1";
    QTest::newRow("mixed") << QByteArray("N1\nN2\r\n") << "N10\r\nN1\nN2\r\n";
}

void TestRichTextBox::enterWritesTheFileLineEnd()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, expected);
    FocusedBox w;
    RichTextBox &box = *w.box;
    if (!file.isEmpty()) {
        QTemporaryDir dir;
        QVERIFY(box.loadFile(writeFile(dir, "p.nc", file), 1));
        QCOMPARE(box.text(), QString::fromLatin1(file)); // line ends kept as stored
    }
    box.setSelStart(0);
    QTest::keyClicks(box.engine(), QStringLiteral("N10"));
    QTest::keyClick(box.engine(), Qt::Key_Return);
    QCOMPARE(box.text(), expected);
}

void TestRichTextBox::commandKeys_data()
{
    QTest::addColumn<QKeySequence>("shortcut");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<int>("triggered");
    QTest::addColumn<QString>("expected");
    // Text "abcdef" with "bc" selected; the clipboard holds "Z".
    QTest::newRow("Ctrl+C enabled") << QKeySequence(QKeySequence::Copy) << true << 1 << "abcdef";
    QTest::newRow("Ctrl+X enabled") << QKeySequence(QKeySequence::Cut) << true << 1 << "abcdef";
    QTest::newRow("Ctrl+V enabled") << QKeySequence(QKeySequence::Paste) << true << 1 << "abcdef";
    QTest::newRow("Del enabled") << QKeySequence(Qt::Key_Delete) << true << 1 << "abcdef";
    QTest::newRow("Ctrl+X disabled") << QKeySequence(QKeySequence::Cut) << false << 0 << "adef";
    QTest::newRow("Ctrl+V disabled") << QKeySequence(QKeySequence::Paste) << false << 0 << "aZdef";
    QTest::newRow("Del disabled") << QKeySequence(Qt::Key_Delete) << false << 0 << "adef";
    QTest::newRow("Ctrl+C disabled") << QKeySequence(QKeySequence::Copy) << false << 0 << "abcdef";
}

void TestRichTextBox::commandKeys()
{
    QFETCH(QKeySequence, shortcut);
    QFETCH(bool, enabled);
    QFETCH(int, triggered);
    QFETCH(QString, expected);
    FocusedBox w;
    RichTextBox &box = *w.box;
    QTRY_VERIFY(box.engine()->hasFocus());
    auto *action = new QAction(QStringLiteral("commande"), &w.window);
    action->setShortcut(shortcut);
    action->setEnabled(enabled);
    w.window.addAction(action);
    box.addCommandKey(action);
    QSignalSpy spy(action, &QAction::triggered);
    QApplication::clipboard()->setText(QStringLiteral("Z"));
    box.setText(QStringLiteral("abcdef"));
    box.setSelStart(1);
    box.setSelLength(2);
    const QKeyCombination key = shortcut[0];
    QTest::keyClick(box.engine(), key.key(), key.keyboardModifiers());
    QCOMPARE(spy.count(), triggered);
    QCOMPARE(box.text(), expected);
    if (shortcut == QKeySequence(QKeySequence::Copy) && !enabled)
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("bc")); // the engine copied
}

// ---- files -----------------------------------------------------------------------------

void TestRichTextBox::loadFile_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("lineEnds");
    QTest::newRow("empty") << QByteArray() << QString() << int(tarmel::LineEndStyle::None);
    QTest::newRow("one line end") << QByteArray("\n") << "\n" << int(tarmel::LineEndStyle::Lf);
    QTest::newRow("Windows-1252")
        << QByteArray("N10 \x80\xE9\r\n\xFF\xA0\r\n") << QStringLiteral("N10 €é\r\nÿ\u00A0\r\n")
        << int(tarmel::LineEndStyle::CrLf);
    QTest::newRow("NUL") << QByteArray("N1\0N2\r", 6) << QString::fromUtf16(u"N1\0N2\r", 6)
                         << int(tarmel::LineEndStyle::Cr);
}

void TestRichTextBox::loadFile()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, expected);
    QFETCH(int, lineEnds);
    QTemporaryDir dir;
    RichTextBox box;
    box.setText(QStringLiteral("old text"));
    box.setSelStart(3);
    QSignalSpy changed(&box, &RichTextBox::textChanged);
    QVERIFY(box.loadFile(writeFile(dir, "p.nc", bytes), 1));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(box.text(), expected);
    QCOMPARE(box.textLength(), expected.size());
    QCOMPARE(box.selStart(), 0);
    QCOMPARE(int(box.fileFormat().lineEnds), lineEnds);
    const tarmel::FileFormat codec = tarmel::decodeToUtf8(bytes).format;
    QCOMPARE(box.fileFormat().encoding, codec.encoding);
    QCOMPARE(box.fileFormat().bom, codec.bom);
    QCOMPARE(box.fileFormat().finalLineEnd, codec.finalLineEnd);
    QVERIFY(!box.engine()->SendScintilla(Sci::SCI_CANUNDO));
    QVERIFY(!box.engine()->SendScintilla(Sci::SCI_GETMODIFY));
    // The end of the text is reachable in UTF-16 units.
    box.setSelStart(expected.size());
    QCOMPARE(box.selStart(), expected.size());
}

// ---- accessibility ---------------------------------------------------------------------

void TestRichTextBox::accessibleInterfaceIsOurs()
{
    FocusedBox w;
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(w.box->engine());
    QVERIFY(iface);
    QVERIFY(dynamic_cast<platform::AccessibleEditor *>(iface));
    QCOMPARE(iface->role(), QAccessible::EditableText);
    QCOMPARE(iface->text(QAccessible::Name), QStringLiteral("Texte"));
    w.box->engine()->setAccessibleName(QStringLiteral("Programme"));
    QCOMPARE(iface->text(QAccessible::Name), QStringLiteral("Programme"));
    QVERIFY(iface->textInterface());
    QVERIFY(iface->editableTextInterface());
}

void TestRichTextBox::accessibleTextMatchesModel_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("CR LF") << QStringLiteral("N10 G0\r\nN20 X1\r\n");
    QTest::newRow("non-ASCII") << QStringLiteral("N10 é😀\r\n€ X1\nZ");
}

void TestRichTextBox::accessibleTextMatchesModel()
{
    QFETCH(QString, text);
    FocusedBox w;
    RichTextBox &box = *w.box;
    box.setText(text);
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(box.engine());
    QAccessibleTextInterface *ti = iface->textInterface();
    QVERIFY(ti);
    QCOMPARE(ti->characterCount(), text.size());
    QCOMPARE(ti->text(0, ti->characterCount()), text);
    box.setSelStart(8);
    box.setSelLength(4);
    int s = -1, e = -1;
    QCOMPARE(ti->selectionCount(), 1);
    ti->selection(0, &s, &e);
    QCOMPARE(s, 8);
    QCOMPARE(e, 12);
    QCOMPARE(ti->cursorPosition(), 12);
    ti->setSelection(0, 4, 7);
    QCOMPARE(box.selStart(), 4);
    QCOMPARE(box.selText(), text.mid(4, 3));
    ti->setCursorPosition(9);
    QCOMPARE(box.selStart(), 9);
    QCOMPARE(ti->selectionCount(), 0);
    // Lines with their line ends, as text() holds them.
    const QString firstLine = text.left(text.indexOf('\n') + 1);
    QCOMPARE(ti->textAtOffset(2, QAccessible::LineBoundary, &s, &e), firstLine);
    QCOMPARE(s, 0);
    QCOMPARE(e, firstLine.size());
    const qsizetype secondEnd = text.indexOf('\n', firstLine.size()) + 1;
    const QString secondLine = text.mid(firstLine.size(), secondEnd - firstLine.size());
    QCOMPARE(ti->textAfterOffset(2, QAccessible::LineBoundary, &s, &e), secondLine);
    QCOMPARE(s, firstLine.size());
    QCOMPARE(e, secondEnd);
    QCOMPARE(ti->textBeforeOffset(firstLine.size() + 1, QAccessible::LineBoundary, &s, &e), firstLine);
    // Both texts open with "N10 ".
    QCOMPARE(ti->textAtOffset(1, QAccessible::WordBoundary, &s, &e), QStringLiteral("N10"));
    QCOMPARE(s, 0);
    QCOMPARE(e, 3);
    QCOMPARE(ti->textAtOffset(2, QAccessible::CharBoundary, &s, &e), QStringLiteral("0"));
    QCOMPARE(ti->textBeforeOffset(2, QAccessible::CharBoundary, &s, &e), QStringLiteral("1"));
    QCOMPARE(ti->textAfterOffset(2, QAccessible::CharBoundary, &s, &e), QStringLiteral(" "));
    QCOMPARE(ti->textAtOffset(5, QAccessible::CharBoundary, &s, &e), text.mid(5, text.at(5).isHighSurrogate() ? 2 : 1));
    // An edit through the interface is an edit of the text, with its notification.
    QSignalSpy changed(&box, &RichTextBox::textChanged);
    iface->editableTextInterface()->insertText(0, QStringLiteral("€"));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(box.text(), QStringLiteral("€") + text);
    QCOMPARE(ti->characterCount(), text.size() + 1);
    QCOMPARE(ti->cursorPosition(), 1);
}

// ---- mouse, overtype, undo -----------------------------------------------------------------

void TestRichTextBox::mouseNotifications()
{
    FocusedBox w;
    RichTextBox &box = *w.box;
    box.setText(QStringLiteral("N10 G0 X1\r\nN20"));
    QStringList seen;
    connect(&box, &RichTextBox::mouseDown, [&](const platform::MouseEventArgs &e) {
        seen << QStringLiteral("down%1").arg(int(e.button));
    });
    connect(&box, &RichTextBox::mouseUp, [&](const platform::MouseEventArgs &) { seen << "up"; });
    connect(&box, &RichTextBox::click, [&] { seen << QStringLiteral("click@%1").arg(box.selStart()); });
    connect(&box, &RichTextBox::dblClick, [&] { seen << QStringLiteral("dbl:%1").arg(box.selText()); });
    QWidget *viewport = box.engine()->viewport();
    const long x = box.engine()->SendScintilla(Sci::SCI_POINTXFROMPOSITION, 0UL, 5L);
    const long y = box.engine()->SendScintilla(Sci::SCI_POINTYFROMPOSITION, 0UL, 5L);
    const QPoint at(int(x) + 1, int(y) + 3);
    QTest::mouseClick(viewport, Qt::LeftButton, {}, at);
    QCOMPARE(seen.join(' '), QStringLiteral("down1 up click@5"));
    seen.clear();
    QTest::mouseDClick(viewport, Qt::LeftButton, {}, at);
    QVERIFY2(seen.contains(QStringLiteral("dbl:G0")), qPrintable(seen.join(' ')));
    QVERIFY(!seen.contains(QStringLiteral("click@5")) || seen.indexOf(QStringLiteral("dbl:G0")) > 0);
}

void TestRichTextBox::overtypeAndUndo()
{
    FocusedBox w;
    RichTextBox &box = *w.box;
    box.setText(QStringLiteral("N10"));
    box.setSelStart(1);
    QVERIFY(box.insertMode());
    QTest::keyClick(box.engine(), Qt::Key_Insert);
    QVERIFY(!box.insertMode());
    QTest::keyClick(box.engine(), Qt::Key_2);
    QCOMPARE(box.text(), QStringLiteral("N20"));
    QTest::keyClick(box.engine(), Qt::Key_Insert);
    QVERIFY(box.insertMode());
    QTest::keyClick(box.engine(), Qt::Key_5);
    QCOMPARE(box.text(), QStringLiteral("N250"));
    QSignalSpy changed(&box, &RichTextBox::textChanged);
    QTest::keyClick(box.engine(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(box.text(), QStringLiteral("N20"));
    QCOMPARE(changed.count(), 1);
    QTest::keyClick(box.engine(), Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(box.text(), QStringLiteral("N250"));
    box.clearUndoHistory();
    QTest::keyClick(box.engine(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(box.text(), QStringLiteral("N250"));
}

QTEST_MAIN(TestRichTextBox)
#include "tst_richtextbox.moc"
