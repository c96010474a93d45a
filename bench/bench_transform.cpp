// Case conversion and accent removal on a 5,000,000-line program in a document window with every
// handler connected, each run as the whole menu command (snapshot, hourglass, progress window, text
// read and written back), then undone. The program is Windows-1252 with accented comments on one
// line in ten. Floor from the same run: a copy of the document's bytes. The core passes alone are
// printed beside. Usage: bench_transform [lines] (default 5,000,000).
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

namespace {

// Every tenth line a comment with accented letters and ø, so that case conversion and accent
// removal both find work.
int accentedLine(char *line, std::size_t size, int n)
{
    if (n % 10 == 0)
        return std::snprintf(line, size, "N%d (\xC9" "bauche poche \xD8" "8 \xE0 1500 tr/min)\r\n", n * 10);
    return std::snprintf(line, size, "N%d g01 x%.3f y%.3f f1500\r\n", n * 10, (n % 1000) * 0.125, (n % 777) * 0.25);
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int lines = argc > 1 ? std::atoi(argv[1]) : 5000000;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.iso"));
    if (!bench::writeProgram(path, lines, accentedLine))
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

    std::printf("lines %d, %.1f MB of UTF-8 text, peak RSS %.0f MB\n", lines, original.size() / 1e6,
                bench::peakRssKb() / 1024.0);
    std::printf("floor (copy of the bytes)       %8.1f ms\n", floorMs);
    std::printf("steps: undo snapshot            %8.1f ms\n", snapshotMs);
    std::printf("       read the text (UTF-8)    %8.1f ms\n", readMs);
    std::printf("       write back, ASCII only   %8.1f ms\n", writeAsciiMs);
    std::printf("       write back, accents kept %8.1f ms\n", writeMs);
    std::printf("core upper case                 %8.1f ms (%.1f x floor)\n", coreUpperMs, coreUpperMs / floorMs);
    std::printf("core upper outside comments     %8.1f ms (%.1f x floor)\n", coreOutsideMs, coreOutsideMs / floorMs);
    std::printf("core accent removal             %8.1f ms (%.1f x floor)\n", coreAccentsMs, coreAccentsMs / floorMs);
    std::printf("Texte en Majuscules             %8.1f ms (%.1f x floor, target 1000 ms)\n", upperMs, upperMs / floorMs);
    std::printf("Majuscules hors commentaires    %8.1f ms (%.1f x floor, target 1000 ms)\n", outsideMs,
                outsideMs / floorMs);
    std::printf("Supprimer les accents           %8.1f ms (%.1f x floor, target 1000 ms)\n", accentsMs,
                accentsMs / floorMs);
    const bool sane = restored && read == original && upper.size() >= original.size() && plain.size() < original.size()
                      && outside.size() == original.size();
    return sane ? 0 : 1;
}
