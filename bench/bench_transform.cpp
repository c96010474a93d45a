// Case conversion and accent removal on the generated program in a document window with every
// handler connected, each run as the whole menu command (snapshot, hourglass, progress window, text
// read and written back), then undone. Floor from the same run: a copy of the document's bytes. The
// core passes alone are printed beside.
#include "bench/BenchApp.h"
#include "bench/BenchSupport.h"
#include "document/Form1.h"
#include "platform/RichTextBox.h"
#include "transform/Accents.h"
#include "transform/CaseMap.h"
#include "transform/CommentCase.h"

#include <QApplication>
#include <QFile>
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

    bench::BenchApp window(dir.path(), false);
    tarmel::MDIForm1 &main = window.main;
    main.OpenFile(path);
    tarmel::Form1 *doc = main.activeDocument();
    if (!doc)
        return 1;
    const QByteArray original = doc->Text1->utf8();

    QElapsedTimer timer;
    timer.start();
    QByteArray copy(original.size(), Qt::Uninitialized);
    std::memcpy(copy.data(), original.constData(), original.size());
    const double floorMs = msSince(timer);

    const auto command = [&](const char *name) {
        QElapsedTimer t;
        t.start();
        main.runCommand(QString::fromLatin1(name));
        const double ms = msSince(t);
        main.runCommand(QStringLiteral("Mnu_Annuler"));
        return ms;
    };
    const double upperMs = command("Mnu_Majuscule");
    const double outsideMs = command("Mnu_MajusculeHorsCommentaires");
    const double accentsMs = command("Mnu_SupprimAccents");
    const bool restored = doc->Text1->utf8() == original;

    timer.start();
    const QByteArray upper = tarmel::convertCaseUtf8(original, tarmel::Case::Upper, true);
    const double coreUpperMs = msSince(timer);
    timer.start();
    const QByteArray outside = tarmel::upperOutsideCommentsUtf8(original, true);
    const double coreOutsideMs = msSince(timer);
    timer.start();
    const QByteArray plain = tarmel::removeAccentsUtf8(original, [](qint64, qint64) {});
    const double coreAccentsMs = msSince(timer);
    // The steps every command shares, one by one: the snapshot, reading and writing the whole text.
    timer.start();
    main.RecordUndoSnapshot(doc);
    const double snapshotMs = msSince(timer);
    timer.start();
    const QByteArray read = doc->Text1->utf8();
    const double readMs = msSince(timer);
    timer.start();
    doc->Text1->setUtf8(plain);
    const double writeAsciiMs = msSince(timer);
    timer.start();
    doc->Text1->setUtf8(upper);
    const double writeMs = msSince(timer);

    const auto row = [&](const char *what, double ms, bench::Target target) {
        bench::timeRow(what, lines, ms, "copy of the bytes", floorMs, target);
    };
    row("undo snapshot (transform)", snapshotMs, {});
    row("read the text as UTF-8", readMs, {});
    row("write the text back, ASCII only", writeAsciiMs, {});
    row("write the text back, accents kept", writeMs, {});
    row("upper case (core)", coreUpperMs, {});
    row("upper outside comments (core)", coreOutsideMs, {});
    row("accent removal (core)", coreAccentsMs, {});
    row("upper case: whole command", upperMs, bench::atMost(1000));
    row("upper outside comments: whole command", outsideMs, bench::atMost(1000));
    row("accent removal: whole command", accentsMs, bench::atMost(1000));
    const bool sane = restored && read == original && upper.size() >= original.size() && plain.size() < original.size()
                      && outside.size() == original.size();
    if (!sane)
        bench::note("A RESULT IS WRONG: undo did not restore the text, or a pass changed nothing");
    return sane ? 0 : 1;
}
