// Find and replace on a 5,000,000-line program in a document window: "&Suivant" from the start
// to a hit on the last line (case ignored and kept, and a string whose first letter begins every
// line), and "&Tout remplacer" of a word on every line. Floor from the same run: a memmem scan
// of the same bytes.
#include "bench/BenchApp.h"
#include "bench/BenchSupport.h"
#include "document/Form1.h"
#include "platform/RichTextBox.h"
#include "search/ReplacePanel.h"
#include "search/SearchRules.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <cstring>
#include <string.h>

using bench::msSince;

namespace {

// Time of one "&Suivant" from the start of the text with the shared state set as given.
double findFromStart(tarmel::MDIForm1 &main, const QString &needle, bool matchCase, QString *found)
{
    tarmel::Form1 *doc = main.activeDocument();
    doc->Text1->setSelStart(0);
    main.state().ChaineCherchee = needle;
    main.state().DiffCasse = matchCase ? 1 : 0;
    QElapsedTimer timer;
    timer.start();
    main.FindIt();
    const double ms = msSince(timer);
    *found = doc->Text1->selText();
    return ms;
}

qint64 memmemCount(const QByteArray &bytes, const char *needle)
{
    qint64 count = 0;
    const size_t n = std::strlen(needle);
    for (const char *p = bytes.constData(), *end = p + bytes.size();
         (p = static_cast<const char *>(memmem(p, size_t(end - p), needle, n))); p += n)
        ++count;
    return count;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int lines = argc > 1 ? std::atoi(argv[1]) : 5000000;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.iso"));
    if (!bench::writeProgram(path, lines))
        return 1;
    QFile tail(path);
    if (!tail.open(QIODevice::Append) || tail.write("M30\r\n") != 5)
        return 1;
    tail.close();

    bench::BenchApp window(dir.path(), true);
    tarmel::MDIForm1 &main = window.main;
    testsupport::FakeServices &fakes = window.fakes;
    main.OpenFile(path);
    tarmel::Form1 *doc = main.activeDocument();
    if (!doc)
        return 1;
    const QByteArray bytes = doc->Text1->utf8();

    QString hit1, hit2, hit3;
    const double ignoringCase = findFromStart(main, QStringLiteral("m30"), false, &hit1);
    const double keepingCase = findFromStart(main, QStringLiteral("M30"), true, &hit2);
    const QString lastNumber = QStringLiteral("n%1").arg(qint64(lines) * 10);
    const double everyLine = findFromStart(main, lastNumber, false, &hit3);
    const qint64 hitAt = doc->Text1->selStart();

    QElapsedTimer timer;
    timer.start();
    const char *found = static_cast<const char *>(memmem(bytes.constData(), size_t(bytes.size()), "M30", 3));
    const double memmemMs = msSince(timer);
    timer.start();
    const qint64 words = memmemCount(bytes, "G01");
    const double countMs = msSince(timer);

    timer.start();
    const auto rebuilt = tarmel::search::replaceAllUtf8(bytes, "G01", "G1", 0, 0, {});
    const double coreMs = msSince(timer);
    timer.start();
    doc->Text1->setUtf8(rebuilt.text);
    const double writeMs = msSince(timer);
    doc->Text1->setUtf8(bytes);

    // "&Tout remplacer" of G01 by G1 from the start, through the replace panel.
    doc->Text1->setSelStart(0);
    main.runCommand(QStringLiteral("Mnu_Remplacer"));
    tarmel::ReplacePanel *panel = tarmel::ReplacePanel::of(doc);
    panel->Text3->setText(QStringLiteral("G01"));
    panel->Text4->setText(QStringLiteral("G1"));
    timer.start();
    panel->replaceAllButton->click();
    const double replaceMs = msSince(timer);
    const QString report = fakes.messageBox.boxes().isEmpty() ? QString() : fakes.messageBox.last().text;

    std::printf("lines %d, text %.1f MB, peak RSS %.0f MB\n", lines, bytes.size() / 1e6, bench::peakRssKb() / 1024.0);
    std::printf("floor: memmem to the last line %.1f ms, memmem count of G01 %.1f ms (%lld)\n", memmemMs, countMs,
                static_cast<long long>(words));
    std::printf("find m30, case ignored      %8.1f ms  (%.1f x memmem, target <= 200)  found \"%s\"\n", ignoringCase,
                ignoringCase / memmemMs, qPrintable(hit1));
    std::printf("find M30, case kept         %8.1f ms  (%.1f x memmem)  found \"%s\"\n", keepingCase,
                keepingCase / memmemMs, qPrintable(hit2));
    std::printf("find %s, every line a candidate %8.1f ms  (%.1f x memmem)  found \"%s\" at %lld\n",
                qPrintable(lastNumber), everyLine, everyLine / memmemMs, qPrintable(hit3),
                static_cast<long long>(hitAt));
    std::printf("replace all G01 -> G1      %8.1f ms  (%.1f x memmem count, target <= 1000)  \"%s\"\n", replaceMs,
                replaceMs / countMs, qPrintable(report));
    std::printf("  in parts: the new text %.1f ms, its whole-text write %.1f ms\n", coreMs, writeMs);
    for (tarmel::Form1 *d : main.documents())
        d->Change = false;
    return found && hit1 == QStringLiteral("M30") && hit2 == hit1 ? 0 : 1;
}
