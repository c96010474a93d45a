// The editing commands on the generated program in a document window with every
// handler connected: open, keys at the start and at the end, a 1 MB paste (with its undo
// snapshot), snapshot + undo, save. Floors from the same run: a copy of the file's bytes,
// a copy of the text as a string, a plain write of the bytes.
#include "bench/BenchApp.h"
#include "bench/BenchSupport.h"
#include "bench/BenchTyping.h"
#include "document/Form1.h"
#include "platform/RichTextBox.h"

#include <QAccessible>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstring>

using bench::msSince;

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const qint64 lines = bench::linesFromArgs(argc, argv, bench::allSizes);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.iso"));
    if (!bench::camProgramAt(path, lines))
        return 1;
    const qint64 fileSize = QFileInfo(path).size();

    bench::BenchApp window(dir.path(), false);
    tarmel::MDIForm1 &main = window.main;
    testsupport::FakeServices &fakes = window.fakes;
    QAccessible::setActive(true);

    QElapsedTimer timer;
    timer.start();
    main.OpenFile(path);
    tarmel::Form1 *doc = main.activeDocument();
    if (!doc)
        return 1;
    doc->Text1->engine()->viewport()->repaint();
    const double openMs = msSince(timer);
    QAccessible::queryAccessibleInterface(doc->Text1->engine());
    doc->Text1->engine()->setFocus();

    doc->Text1->setSelStart(0);
    const bench::KeyTimes atStart = bench::typeKeys(doc->Text1->engine(), 100);
    doc->Text1->setSelStart(doc->Text1->textLength());
    const bench::KeyTimes atEnd = bench::typeKeys(doc->Text1->engine(), 100);

    // A 1 MB paste at the end, through the menu command (snapshot included).
    fakes.clipboard.setText(QString(1 << 20, QLatin1Char('X')));
    main.Mnu_Edit_Click();
    timer.start();
    main.runCommand(QStringLiteral("Mnu_Edition(6)"));
    const double pasteMs = msSince(timer);

    timer.start();
    main.RecordUndoSnapshot(doc);
    const double snapshotMs = msSince(timer);
    timer.start();
    main.Mnu_Annuler_Click();
    const double undoMs = msSince(timer);

    fakes.messageBox.autoOk = true;
    timer.start();
    main.SaveFile(path);
    const double saveMs = msSince(timer);
    const long rssKb = bench::peakRssKb();

    // Floors
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    const QByteArray bytes = file.readAll();
    file.close();
    QByteArray copy(bytes.size(), Qt::Uninitialized);
    timer.start();
    std::memcpy(copy.data(), bytes.constData(), bytes.size());
    const double memcpyMs = msSince(timer);
    const QString text = doc->Text1->text();
    timer.start();
    const QString textCopy(text.constData(), text.size());
    const double stringCopyMs = msSince(timer);
    timer.start();
    QFile out(dir.filePath(QStringLiteral("plain.iso")));
    out.open(QIODevice::WriteOnly);
    out.write(bytes);
    out.close();
    const double writeMs = msSince(timer);

    const auto row = [&](const char *what, double ms, const char *floorName, double floorMs, bench::Target target) {
        bench::timeRow(what, lines, ms, floorName, floorMs, target);
    };
    row("open: whole command + paint", openMs, "memcpy", memcpyMs, bench::atMost(1000));
    row("keystroke at the start, window (mean)", atStart.meanMs, "", 0, bench::atMost(5));
    row("keystroke at the end, window (mean)", atEnd.meanMs, "", 0, bench::atMost(5));
    row("keystroke at the end, window (max)", atEnd.maxMs, "", 0, {});
    row("paste 1 MB + undo snapshot", pasteMs, "string copy", stringCopyMs, {});
    row("undo snapshot", snapshotMs, "string copy", stringCopyMs, {});
    row("undo (whole text)", undoMs, "string copy", stringCopyMs, {});
    row("save: whole command", saveMs, "plain write", writeMs, {});
    bench::row("peak RSS: window after open and edits", lines, rssKb / 1024.0, "MB", "file size", fileSize / 1048576.0,
               bench::atMostTimesFloor(3));
    return textCopy.size() == text.size() ? 0 : 1;
}
