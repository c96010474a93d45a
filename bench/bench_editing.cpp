// The editing commands on a 5,000,000-line program in a document window with every
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
    const int lines = argc > 1 ? std::atoi(argv[1]) : 5000000;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.iso"));
    if (!bench::writeProgram(path, lines))
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

    std::printf("lines %d, file %.1f MB, peak RSS %.0f MB (%.2f x file)\n", lines, fileSize / 1e6, rssKb / 1024.0,
                rssKb * 1024.0 / fileSize);
    std::printf("floor: memcpy %.1f ms, string copy %.1f ms, plain write %.1f ms\n", memcpyMs, stringCopyMs, writeMs);
    std::printf("open (whole command)   %8.1f ms\n", openMs);
    std::printf("key at start           %8.3f ms mean, %.3f median, %.3f max\n", atStart.meanMs, atStart.medianMs,
                atStart.maxMs);
    std::printf("key at end             %8.3f ms mean, %.3f median, %.3f max  (target <= 5, <= 2x start)\n",
                atEnd.meanMs, atEnd.medianMs, atEnd.maxMs);
    std::printf("paste 1 MB + snapshot  %8.1f ms  (%.1f x string copy)\n", pasteMs, pasteMs / stringCopyMs);
    std::printf("snapshot               %8.1f ms  (%.1f x string copy)\n", snapshotMs, snapshotMs / stringCopyMs);
    std::printf("undo (whole text)      %8.1f ms\n", undoMs);
    std::printf("save                   %8.1f ms  (%.1f x plain write)\n", saveMs, saveMs / writeMs);
    return textCopy.size() == text.size() ? 0 : 1;
}
