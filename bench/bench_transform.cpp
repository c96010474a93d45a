// Case conversion and accent removal on a 5,000,000-line program in a document window with every
// handler connected, each run as the whole menu command (snapshot, hourglass, progress window, text
// read and written back), then undone. The program is Windows-1252 with accented comments on one
// line in ten. Floor from the same run: a copy of the document's bytes. The core passes alone are
// printed beside. Usage: bench_transform [lines] (default 5,000,000).
#include "app/MDIForm1.h"
#include "bench/BenchSupport.h"
#include "document/Form1.h"
#include "platform/RichTextBox.h"
#include "tests/support/FakeServices.h"
#include "transform/Accents.h"
#include "transform/CaseMap.h"
#include "transform/CommentCase.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include <cstring>

using bench::msSince;

namespace {

bool writeAccentedProgram(const QString &path, int lines)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QByteArray chunk;
    char line[96];
    for (int n = 1; n <= lines; ++n) {
        const int len = n % 10 == 0
                            ? std::snprintf(line, sizeof line, "N%d (\xC9" "bauche poche \xD8" "8 \xE0 1500 tr/min)\r\n", n * 10)
                            : std::snprintf(line, sizeof line, "N%d g01 x%.3f y%.3f f1500\r\n", n * 10,
                                            (n % 1000) * 0.125, (n % 777) * 0.25);
        chunk.append(line, len);
        if (chunk.size() > (4 << 20)) {
            if (file.write(chunk) != chunk.size())
                return false;
            chunk.clear();
        }
    }
    return file.write(chunk) == chunk.size();
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int lines = argc > 1 ? std::atoi(argv[1]) : 5000000;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.iso"));
    if (!writeAccentedProgram(path, lines))
        return 1;

    testsupport::FakeServices fakes;
    fakes.shell.programFolderPath = dir.path();
    fakes.shell.currentFolderPath = dir.path();
    fakes.messageBox.onFailure = [](const QString &m) { std::fprintf(stderr, "unexpected box: %s\n", qPrintable(m)); };
    tarmel::MDIForm1 main(fakes.services());
    main.startUp({});
    main.resize(1000, 800);
    main.show();
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
