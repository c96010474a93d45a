// The editing area on the real engine, offscreen. The keys that menu commands own are
// tested with the menus (tests/editing).
#include "platform/AccessibleEditor.h"
#include "platform/RichTextBox.h"

#include <Qsci/qsciscintilla.h>

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using platform::RichTextBox;
using namespace tarmel;
using Sci = QsciScintillaBase;

namespace {

const QString kBase = QStringLiteral("Courier New");

CharFormat fmt(const QString &font = kBase, double size = 10) { return CharFormat{font, size, false, false, false, false, {}}; }
CharFormat bold(CharFormat f) { f.bold = true; return f; }
CharFormat italic(CharFormat f) { f.italic = true; return f; }
CharFormat underline(CharFormat f) { f.underline = true; return f; }
CharFormat strike(CharFormat f) { f.strikeThrough = true; return f; }
CharFormat colour(CharFormat f, quint32 rgb) { f.color = rgb; return f; }
FormattedText doc(const QString &text, QList<TextRun> runs, const QString &base = kBase, double size = 10)
{
    return normalized(FormattedText{text, std::move(runs), base, size});
}

// An editing area shown as a window of its own, with the keyboard focus.
struct Box : RichTextBox {
    explicit Box(const QString &text = QString(), qsizetype caret = 0)
    {
        resize(400, 300);
        show();
        QApplication::setActiveWindow(this);
        engine()->setFocus();
        setText(text);
        setSelStart(caret);
    }
    void select(qsizetype start, qsizetype length) { setSelStart(start); setSelLength(length); }
    QList<qsizetype> selection() const { return {selStart(), selLength()}; }
};

} // namespace

Q_DECLARE_METATYPE(tarmel::FormattedText)

class TestRichTextBox : public QObject {
    Q_OBJECT
private slots:
    void positionsAndSelText_data()
    {
        QTest::addColumn<QString>("text"); QTest::addColumn<QPoint>("replaced"); // start, length
        QTest::addColumn<QString>("inserted"); QTest::addColumn<QString>("expected");
        QTest::newRow("mixed line ends") << "a\r\nb\nc\rd" << QPoint(3, 2) << "X10" << "a\r\nX10c\rd";
        QTest::newRow("non-ASCII into ASCII") << "N10 X" << QPoint(5, 0) << "é😀" << "N10 Xé😀";
        QTest::newRow("non-BMP over CR LF") << "a😀b\r\n😀\r\n€😀é" << QPoint(6, 4) << "€" << "a😀b\r\n€€😀é";
        QTest::newRow("NUL in and out") << QString::fromUtf16(u"N1\0G0\r\n\0X", 9) << QPoint(2, 3)
                                        << QString::fromUtf16(u"\0Y", 2) << QString::fromUtf16(u"N1\0Y\r\n\0X", 8);
        QTest::newRow("empty") << "" << QPoint() << "N" << "N";
    }

    // Every selection not starting or ending inside a surrogate pair reads back as set.
    void positionsAndSelText()
    {
        QFETCH(QString, text); QFETCH(QPoint, replaced); QFETCH(QString, inserted); QFETCH(QString, expected);
        Box box(text);
        QCOMPARE(box.text(), text);
        const auto inPair = [&](qsizetype i) { return i > 0 && i < text.size() && text.at(i).isLowSurrogate(); };
        for (qsizetype from = 0; from <= text.size(); ++from)
            for (qsizetype n = 0; from + n <= text.size(); ++n) {
                if (inPair(from) || inPair(from + n))
                    continue;
                box.select(from, n);
                QCOMPARE(box.selection(), QList<qsizetype>({from, n}));
                QCOMPARE(box.selText(), text.mid(from, n));
            }
        box.setSelStart(text.size() + 5);
        QCOMPARE(box.selStart(), text.size());
        box.select(replaced.x(), replaced.y());
        QSignalSpy changed(&box, &RichTextBox::textChanged);
        box.setSelText(inserted);
        QCOMPARE(box.utf8(), expected.toUtf8());
        QCOMPARE(box.text(), expected);
        QCOMPARE(QList<qsizetype>({changed.count(), box.textLength(), box.selStart(), box.selLength()}),
                 QList<qsizetype>({1, expected.size(), replaced.x() + inserted.size(), 0}));
    }

    void keys_data()
    {
        QTest::addColumn<QKeyCombination>("key");
        QTest::addColumn<QString>("events");   // the notifications and the change, in order; empty: not looked at
        QTest::addColumn<QString>("expected"); // empty: text, selection, clipboard and zoom unchanged
        QTest::newRow("letter") << QKeyCombination(Qt::Key_A) << "down press changed" << "%N10 a\r\nN30 y2";
        QTest::newRow("Escape") << QKeyCombination(Qt::Key_Escape) << "down press" << "";
        QTest::newRow("Delete") << QKeyCombination(Qt::Key_Delete) << "down changed" << "%N10 \r\nN30 y2";
        QTest::newRow("Enter, cancelled when down") << QKeyCombination(Qt::Key_Return) << "down" << "";
        QTest::newRow("Ctrl+Z still undoes") << (Qt::CTRL | Qt::Key_Z) << "" << "N10 G0 (abc)\r\n\tN20 X1\r\nN30 y2";
        // Engine bindings beyond ordinary editing, which would act without the menu commands' undo snapshot:
        // line cut, delete, copy, transpose; duplicate; case; word and line deletions; the second keys of
        // cut, copy, paste and undo; unindent; rectangular selection; zoom.
        for (const char *key : {"Ctrl+L", "Ctrl+Shift+L", "Ctrl+Shift+T", "Ctrl+T", "Ctrl+D", "Ctrl+U", "Ctrl+Shift+U",
                                "Ctrl+Backspace", "Ctrl+Del", "Ctrl+Shift+Backspace", "Ctrl+Shift+Del", "Shift+Del",
                                "Ctrl+Ins", "Shift+Ins", "Alt+Backspace", "Shift+Tab", "Alt+Shift+Down", "Ctrl++"})
            QTest::newRow(key) << QKeySequence(QString::fromLatin1(key))[0] << "" << "";
    }

    // Both notifications come before the key takes effect; a key cancelled changes nothing.
    void keys()
    {
        QFETCH(QKeyCombination, key); QFETCH(QString, events); QFETCH(QString, expected);
        const QString text = QStringLiteral("%N10 G0 (abc)\r\n\tN20 X1\r\nN30 y2");
        Box box(text.mid(1));
        box.setSelText(QStringLiteral("%")); // something to undo
        QApplication::clipboard()->setText(QStringLiteral("Z"));
        box.select(5, 17); // "G0 (abc)\r\n\tN20 X1"
        QStringList seen;
        const auto notified = [&](const char *name, platform::KeyEventArgs &e) { // the modifiers' own ignored
            if (e.keyCode == key.key())
                seen << QString::fromLatin1(name);
            QCOMPARE(box.text(), text);
            e.cancel = e.keyCode == Qt::Key_Return;
        };
        connect(&box, &RichTextBox::keyDown, [&](platform::KeyEventArgs &e) { notified("down", e); });
        connect(&box, &RichTextBox::keyPress, [&](platform::KeyEventArgs &e) { notified("press", e); });
        connect(&box, &RichTextBox::textChanged, [&] { seen << QStringLiteral("changed"); });
        QTest::keyClick(box.engine(), key.key(), key.keyboardModifiers());
        if (!events.isEmpty())
            QCOMPARE(seen.join(' '), events);
        QCOMPARE(box.text(), expected.isEmpty() ? text : expected);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("Z"));
        QCOMPARE(box.engine()->SendScintilla(Sci::SCI_GETZOOM), 0);
        if (expected.isEmpty())
            QCOMPARE(box.selection(), QList<qsizetype>({5, 17}));
    }

    // The length in characters is kept change by change once the text is not ASCII: typing, deleting
    // across a non-BMP character, the engine's own undo and redo, and a whole-text write all agree
    // with the text.
    void lengthFollowsEveryChange()
    {
        Box box(QStringLiteral("N10 X1"));
        const auto step = [&](auto &&change) {
            change();
            QCOMPARE(box.textLength(), box.text().size());
        };
        step([&] { box.select(6, 0); box.setSelText(QStringLiteral("é😀")); });
        for (const QString &typed : {QStringLiteral("ü"), QStringLiteral("€")})
            step([&] { QTest::sendKeyEvent(QTest::Click, box.engine(), Qt::Key_unknown, typed, Qt::NoModifier); });
        step([&] { QTest::keyClick(box.engine(), Qt::Key_Backspace); });
        step([&] { box.select(5, 3); QTest::keyClick(box.engine(), Qt::Key_Delete); });
        for (Qt::Key key : {Qt::Key_Z, Qt::Key_Z, Qt::Key_Y}) // the engine's own undo and redo
            step([&] { QTest::keyClick(box.engine(), key, Qt::ControlModifier); });
        step([&] { box.setUtf8(QByteArray("\xC3\xA9\r\nN20 \xF0\x9F\x98\x80")); });
        step([&] { box.select(2, 2); box.setSelText(QStringLiteral("ÿ")); });
        step([&] { box.setUtf8("N30"); });
        QCOMPARE(box.textLength(), 3);
    }

    void loadPlainFile_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("enterWrites"); // the line end Enter writes once it is loaded
        QTest::newRow("empty: CR LF") << QByteArray() << "\r\n";
        QTest::newRow("LF") << QByteArray("N1\nN2") << "\n";
        QTest::newRow("NUL, CR") << QByteArray("N1\0N2\r", 6) << "\r";
    }

    void loadPlainFile()
    {
        QFETCH(QByteArray, bytes); QFETCH(QString, enterWrites);
        QTemporaryDir dir;
        QFile file(dir.filePath(QStringLiteral("p.nc")));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush());
        Box box(QStringLiteral("old text"), 3);
        QSignalSpy changed(&box, &RichTextBox::textChanged);
        QVERIFY(box.loadFile(file.fileName(), FileType::Plain));
        QCOMPARE(QList<qsizetype>({changed.count(), box.selStart()}), QList<qsizetype>({1, 0}));
        QCOMPARE(box.utf8(), bytes);
        QVERIFY(!box.engine()->SendScintilla(Sci::SCI_CANUNDO));
        // Typing must not make the library count characters from the start of the document.
        QCOMPARE(box.engine()->SendScintilla(Sci::SCI_GETMODEVENTMASK) & (Sci::SC_MOD_INSERTTEXT | Sci::SC_MOD_DELETETEXT), 0);
        QTest::keyClick(box.engine(), Qt::Key_Return);
        QCOMPARE(box.utf8(), enterWrites.toUtf8() + bytes);
    }

    // The accessible object is ours (the library's own counts from the start of the
    // document on every repaint) and answers in UTF-16 units of text().
    void accessibleTextMatchesModel()
    {
        const QString text = QStringLiteral("N10 é😀\r\n€ X1\nZ");
        Box box(text);
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(box.engine());
        QVERIFY(dynamic_cast<platform::AccessibleEditor *>(iface));
        QAccessibleTextInterface *ti = iface->textInterface();
        QCOMPARE(ti->text(0, ti->characterCount()), text);
        box.select(8, 4);
        int s = -1, e = -1;
        ti->selection(0, &s, &e);
        QCOMPARE(QList<int>({s, e, ti->cursorPosition()}), QList<int>({8, 12, 12}));
        QCOMPARE(ti->textAfterOffset(2, QAccessible::LineBoundary, &s, &e), QStringLiteral("€ X1\n"));
        QCOMPARE(QList<int>({s, e}), QList<int>({9, 14}));
        QCOMPARE(ti->textAtOffset(5, QAccessible::CharBoundary, &s, &e), QStringLiteral("😀"));
    }

    void roundTrip_data()
    {
        QTest::addColumn<FormattedText>("input");
        const CharFormat b = fmt();
        QTest::newRow("empty") << doc(QString(), {});
        QTest::newRow("all attributes") << doc(QStringLiteral("bold italic under strike colour size font all"),
            {{0, 4, bold(b)}, {5, 6, italic(b)}, {12, 5, underline(b)}, {18, 6, strike(b)}, {25, 6, colour(b, 0xFF0000)},
             {32, 4, fmt(kBase, 14.5)}, {37, 4, fmt("Serif")}, {42, 3, colour(strike(underline(italic(bold(fmt("Sans", 8))))), 0xFF00)}});
        QTest::newRow("explicit black beside automatic") << doc("black auto black", {{0, 5, colour(b, 0)}, {11, 5, colour(b, 0)}});
        QTest::newRow("strike only differs") << doc("abcdef", {{0, 2, bold(b)}, {2, 2, strike(bold(b))}, {4, 2, bold(b)}});
        QTest::newRow("non-BMP and CR LF") << doc(QStringLiteral("é😀€x😀\r\nü😀😀 N20 €"), {{0, 1, bold(b)}, {1, 2, italic(b)},
            {3, 1, colour(b, 0xFF)}, {5, 2, strike(b)}, {10, 4, fmt("Serif", 11)}, {19, 1, bold(b)}});
        QTest::newRow("fractional base size") << doc("abc", {{1, 1, bold(fmt(kBase, 10.5))}}, kBase, 10.5);
        QTest::newRow("NUL and tab") << doc(QStringLiteral("a\tb") + QChar(0) + QStringLiteral("c"), {{2, 2, bold(b)}});
        FormattedText longer{QStringLiteral("N10 G01 (n° é)\r\n").repeated(5000), {}, kBase, 10}; // past 64 KiB of styles
        for (int i = 0; i < 5000; ++i)
            longer.runs.append({16 * i + (i % 3), 3, i % 10 ? colour(fmt("Serif", 9), 0xC0) : strike(b)});
        QTest::newRow("5,000 lines") << normalized(longer);
    }

    // Formats in and out of the engine; a whole-text write then returns to plain text in the base
    // font, with no engine undo.
    void roundTrip()
    {
        QFETCH(FormattedText, input);
        RichTextBox box;
        box.setBaseFont(QStringLiteral("Sans"), 7); // replaced by the document's
        box.setFormattedText(input);
        QCOMPARE(box.formattedText(), input);
        box.setSelText(QStringLiteral("x")); // something to undo
        QSignalSpy changed(&box, &RichTextBox::textChanged);
        box.setText(input.text);
        QCOMPARE(changed.count(), 1);
        QVERIFY(!box.engine()->SendScintilla(Sci::SCI_CANUNDO));
        QCOMPARE(box.formattedText(), doc(input.text, {}, input.baseFontName, input.baseFontSize));
    }

    // Text inserted before the runs moves them; text typed inside a run takes its format.
    void editingKeepsRunsInStep()
    {
        RichTextBox box;
        box.setFormattedText(doc(QStringLiteral("é😀 N10 G0"), {{4, 3, bold(fmt())}, {8, 2, strike(fmt())}}));
        box.setSelText(QStringLiteral("€"));
        box.setSelStart(6);
        box.setSelText(QStringLiteral("5"));
        QCOMPARE(box.formattedText(), doc(QStringLiteral("€é😀 N510 G0"), {{5, 4, bold(fmt())}, {10, 2, strike(fmt())}}));
    }

    // More formats than the engine has styles: the text stays whole, the formats that
    // found a style stay, the others show in the base format.
    void fullStyleTableKeepsText()
    {
        FormattedText input{QStringLiteral("é ").repeated(400), {}, kBase, 10};
        for (int i = 0; i < 400; ++i)
            input.runs.append({2 * i, 2, colour(fmt(), quint32(i + 1))});
        RichTextBox box;
        box.setFormattedText(input);
        const FormattedText out = box.formattedText();
        QCOMPARE(out.text, input.text); // whole
        const auto kept = std::count_if(out.runs.begin(), out.runs.end(), [](const auto &r) { return bool(r.format.color); });
        QVERIFY2(kept >= 200 && kept < 400, qPrintable(QString::number(kept)));
        for (const TextRun &r : out.runs)
            QVERIFY(!r.format.color || *r.format.color == quint32(r.start / 2 + 1));
    }
};

QTEST_MAIN(TestRichTextBox)
#include "tst_richtextbox.moc"
