// Find and replace on the generated program in a document window: "&Suivant" from the start
// to a hit on the next-to-last line (case ignored and kept, and a string whose first letter begins every
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
    const qint64 lines = bench::linesFromArgs(argc, argv, bench::allSizes);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.iso"));
    if (!bench::camProgramAt(path, lines))
        return 1;

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
    // The number of the last block ("N… M30"): a string whose first letter begins most lines.
    const qsizetype lastBlock = bytes.lastIndexOf("\r\nN") + 2;
    const QString lastNumber = QString::fromLatin1(bytes.mid(lastBlock, bytes.indexOf(' ', lastBlock) - lastBlock)).toLower();
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

    bench::note("%lld lines, text %.1f MB, %lld G01, \"%s\" found \"%s\" at %lld; replace all said \"%s\"",
                static_cast<long long>(lines), bytes.size() / 1e6, static_cast<long long>(words),
                qPrintable(lastNumber), qPrintable(hit3), static_cast<long long>(hitAt), qPrintable(report));
    bench::timeRow("find next to the end, case ignored", lines, ignoringCase, "memmem", memmemMs, bench::atMost(200));
    bench::timeRow("find next to the end, case kept", lines, keepingCase, "memmem", memmemMs, bench::atMost(200));
    bench::timeRow("find next, every line a candidate", lines, everyLine, "memmem", memmemMs, bench::atMost(200));
    bench::timeRow("replace all G01 -> G1", lines, replaceMs, "memmem count", countMs, bench::atMost(1000));
    bench::timeRow("replace all: new text (core)", lines, coreMs, "memmem count", countMs, {});
    bench::timeRow("replace all: whole-text write", lines, writeMs, "memmem count", countMs, {});
    for (tarmel::Form1 *d : main.documents())
        d->Change = false;
    const bool sane = found && hit1 == QStringLiteral("M30") && hit2 == hit1 && hit3.toLower() == lastNumber;
    if (!sane)
        bench::note("A FIND DID NOT STOP WHERE EXPECTED");
    return sane ? 0 : 1;
}
