// Files made of one very long line (a binary file, a minified export) in a shown document window:
// the time until the window is painted, then each key (caret moves, a typed letter, a click) with
// its repaint. Lines past the limit are cut on opening, so the engine never lays out more than that.
// Targets: the window within 2 s for a 100 MB line, every key under 50 ms.
// Floors from the same run: a plain read of the file, a copy of its bytes. Special content: one line,
// whatever size run.sh asks for (it asks once); the files are 10 and 100 MB.
#include "bench/BenchApp.h"
#include "bench/BenchSupport.h"
#include "document/Form1.h"
#include "platform/RichTextBox.h"

#include <Qsci/qsciscintilla.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTemporaryDir>

#include <algorithm>
#include <cstring>

using bench::msSince;

namespace {

struct Key {
    const char *name;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    const char *text;
};

double sendKey(QsciScintilla *engine, const Key &k)
{
    QElapsedTimer timer;
    timer.start();
    QKeyEvent press(QEvent::KeyPress, k.key, k.modifiers, QString::fromLatin1(k.text));
    QKeyEvent release(QEvent::KeyRelease, k.key, k.modifiers, QString::fromLatin1(k.text));
    QApplication::sendEvent(engine, &press);
    QApplication::sendEvent(engine, &release);
    engine->viewport()->repaint();
    QApplication::processEvents();
    return msSince(timer);
}

double click(QsciScintilla *engine, QPoint at)
{
    QElapsedTimer timer;
    timer.start();
    QWidget *viewport = engine->viewport();
    QMouseEvent press(QEvent::MouseButtonPress, at, viewport->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, viewport->mapToGlobal(at), Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &press);
    QApplication::sendEvent(viewport, &release);
    viewport->repaint();
    QApplication::processEvents();
    return msSince(timer);
}

// One file of `megabytes` MB on a single line; false when a target is missed.
bool run(const QString &folder, int megabytes)
{
    const QString path = folder + QStringLiteral("/line%1.iso").arg(megabytes);
    {
        QFile file(path);
        const QByteArray chunk = QByteArray("G1X1.5Y2").repeated(1 << 17);   // 1 MiB
        if (!file.open(QIODevice::WriteOnly))
            return false;
        for (int i = 0; i < megabytes; ++i)
            file.write(chunk);
    }
    // Floors
    QElapsedTimer timer;
    timer.start();
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    const QByteArray bytes = file.readAll();
    const double readMs = msSince(timer);
    QByteArray copy(bytes.size(), Qt::Uninitialized);
    timer.start();
    std::memcpy(copy.data(), bytes.constData(), size_t(bytes.size()));
    const double copyMs = msSince(timer);

    bench::BenchApp window(folder, true);
    QApplication::processEvents();
    timer.start();
    tarmel::Form1 *doc = window.open(path);
    if (!doc)
        return false;
    const double openMs = msSince(timer);
    QsciScintilla *engine = doc->Text1->engine();
    engine->viewport()->repaint();
    QApplication::processEvents();
    const double windowMs = msSince(timer);
    engine->setFocus();

    const Key keys[] = {
        {"Right", Qt::Key_Right, Qt::NoModifier, ""},         {"End", Qt::Key_End, Qt::NoModifier, ""},
        {"Ctrl+End", Qt::Key_End, Qt::ControlModifier, ""},   {"Ctrl+Home", Qt::Key_Home, Qt::ControlModifier, ""},
        {"Page Down", Qt::Key_PageDown, Qt::NoModifier, ""},  {"Down", Qt::Key_Down, Qt::NoModifier, ""},
        {"Shift+End", Qt::Key_End, Qt::ShiftModifier, ""},    {"letter", Qt::Key_A, Qt::NoModifier, "a"},
    };
    double worst = 0;
    const std::string size = std::to_string(megabytes) + " MB line";
    bench::note("%s: open %.1f ms, copy of the bytes %.1f ms, cut %s, read-only %s", size.c_str(), openMs, copyMs,
                doc->Text1->longLinesCut() ? "yes" : "no", engine->isReadOnly() ? "yes" : "no");
    bench::timeRow("one " + size + ": window painted", 1, windowMs, "plain read", readMs, bench::atMost(2000));
    for (const Key &k : keys) {
        double keyWorst = 0;
        for (int i = 0; i < 10; ++i)
            keyWorst = std::max(keyWorst, sendKey(engine, k));
        bench::note("%s key %s, max of 10: %.2f ms", size.c_str(), k.name, keyWorst);
        worst = std::max(worst, keyWorst);
    }
    double clickWorst = 0;
    for (int i = 0; i < 10; ++i)
        clickWorst = std::max(clickWorst, click(engine, QPoint(200 + 10 * i, 100)));
    bench::note("%s click, max of 10: %.2f ms", size.c_str(), clickWorst);
    worst = std::max(worst, clickWorst);
    bench::timeRow("one " + size + ": worst key or click", 1, worst, "", 0, bench::atMost(50));
    return doc->Text1->longLinesCut();
}

} // namespace

int main(int argc, char **argv)
{
    bench::linesFromArgs(argc, argv, {1});
    QApplication app(argc, argv);
    QTemporaryDir dir;
    bool ok = true;
    for (int megabytes : {10, 100})
        ok = run(dir.path(), megabytes) && ok;
    return ok ? 0 : 1;
}
