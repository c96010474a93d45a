// The real printer into PDF files, read back with pdftotext and pdfinfo: a three-page program in
// two copies (each from a new page, headed by its caption), every line in order, tabs expanded,
// Windows-1252 characters, a long line wrapped; and the failures it reports.
#include "platform/Printer.h"
#include "printing/PageComposer.h"

#include <QFontMetricsF>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

using namespace platform;

namespace {

QString run(const QString &program, const QStringList &arguments)
{
    QProcess p;
    p.start(program, arguments);
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return QStringLiteral("<%1 failed: %2>").arg(program, QString::fromLocal8Bit(p.readAllStandardError()));
    return QString::fromUtf8(p.readAllStandardOutput());
}

int pageCount(const QString &pdf)
{
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("^Pages:\\s+(\\d+)$"), QRegularExpression::MultilineOption)
            .match(run(QStringLiteral("pdfinfo"), {pdf}));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

// The text of each page, its lines with blanks made single, empty lines dropped.
QList<QStringList> pagesOf(const QString &pdf)
{
    QList<QStringList> pages;
    for (const QString &page : run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")}).split(QLatin1Char('\f'))) {
        QStringList lines;
        for (const QString &line : page.split(QLatin1Char('\n')))
            if (!line.simplified().isEmpty())
                lines << line.simplified();
        pages << lines;
    }
    if (!pages.isEmpty() && pages.constLast().isEmpty())
        pages.removeLast(); // after the last form feed
    return pages;
}

PrintDocument documentOf(const QString &text, int copies)
{
    PrintDocument d;
    d.title = QStringLiteral("/ateliers/bride.iso");
    d.copies = tarmel::printing::printedCopies(text, 0, d.title, copies);
    d.font.name = QStringLiteral("Courier New");
    d.font.size = 10;
    d.tabWidth = 8;
    return d;
}

int linesPerPage(QPrinter &printer, const PrintFont &f)
{
    QFont font(f.name);
    font.setPointSizeF(f.size);
    font.setStyleHint(QFont::TypeWriter);
    return int(printer.height() / QFontMetricsF(font, &printer).lineSpacing());
}

} // namespace

class TestPrintPdf : public QObject {
    Q_OBJECT
private slots:
    void copiesOfAThreePageProgram();
    void failuresAreReported_data();
    void failuresAreReported();
    void noCopyWritesNothing();
};

void TestPrintPdf::copiesOfAThreePageProgram()
{
    QTemporaryDir dir;
    QtPrinter printer;
    printer.device()->setOutputFormat(QPrinter::PdfFormat);
    printer.device()->setOutputFileName(dir.filePath(QStringLiteral("bride.pdf")));
    const int perPage = linesPerPage(*printer.device(), documentOf(QString(), 1).font);
    QVERIFY(perPage > 20);

    // Two pages and a half of text after the leading lines of the first copy.
    QStringList program;
    program << QStringLiteral("%") << QStringLiteral("N10\tG90\tG17 (ÉBAUCHE Ø8 à 1500 tr/min, 5 € ‰ œ Ÿ)");
    const QString longLine = QStringLiteral("N20 (") + QString(300, QLatin1Char('x')) + QStringLiteral("FIN)");
    program << longLine;
    for (int n = 30; program.size() < 2 * perPage + perPage / 2; n += 10)
        program << QStringLiteral("N%1 G1 X%2 Y-%2").arg(n).arg(n / 10);
    program << QStringLiteral("M30");
    const PrintDocument document = documentOf(program.join(QStringLiteral("\r\n")), 2);

    const PrintOutcome outcome = printer.print(document);
    QVERIFY2(outcome.ok, qPrintable(outcome.reason));
    const QString pdf = printer.device()->outputFileName();
    QCOMPARE(pageCount(pdf), 6);

    const QList<QStringList> pages = pagesOf(pdf);
    QCOMPARE(pages.size(), 6);
    for (int copy = 0; copy < 2; ++copy) {
        QStringList lines;
        for (int p = 0; p < 3; ++p)
            lines += pages.at(3 * copy + p);
        QCOMPARE(lines.value(0), QStringLiteral("Programme : /ateliers/bride.iso"));
        QCOMPARE(lines.value(1), QStringLiteral("%"));
        // Tabs expanded to columns of eight: blanks between the words.
        QCOMPARE(lines.value(2), QStringLiteral("N10 G90 G17 (ÉBAUCHE Ø8 à 1500 tr/min, 5 € ‰ œ Ÿ)"));
        // The long line wraps: its rows follow one another and hold it whole.
        int row = 3;
        QString wrapped;
        while (wrapped.size() < longLine.size() && row < lines.size())
            wrapped += lines.at(row++);
        QCOMPARE(wrapped, longLine);
        QVERIFY(row > 4);
        QCOMPARE(lines.mid(row), program.mid(3));
    }
}

void TestPrintPdf::failuresAreReported_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("reason");
    QTest::newRow("folder missing") << "/nonexistent-tarmel-folder/p.pdf"
                                    << "Le fichier « /nonexistent-tarmel-folder/p.pdf » ne peut pas être écrit.";
    QTest::newRow("device that takes nothing") << "/dev/full" << "Le fichier « /dev/full » n'a pas pu être écrit.";
    QTest::newRow("no file chosen") << "" << "Aucun fichier PDF n'est choisi.";
}

void TestPrintPdf::failuresAreReported()
{
    QFETCH(QString, file);
    QFETCH(QString, reason);
    QtPrinter printer;
    printer.device()->setOutputFormat(QPrinter::PdfFormat);
    printer.device()->setOutputFileName(file);
    const PrintOutcome outcome = printer.print(documentOf(QStringLiteral("N10"), 1));
    QVERIFY(!outcome.ok);
    QCOMPARE(outcome.reason, reason);
}

void TestPrintPdf::noCopyWritesNothing()
{
    QTemporaryDir dir;
    QtPrinter printer;
    printer.device()->setOutputFormat(QPrinter::PdfFormat);
    printer.device()->setOutputFileName(dir.filePath(QStringLiteral("none.pdf")));
    QVERIFY(printer.print(documentOf(QStringLiteral("N10"), 0)).ok);
    QVERIFY(!QFile::exists(printer.device()->outputFileName()));
}

QTEST_MAIN(TestPrintPdf)
#include "tst_print_pdf.moc"
