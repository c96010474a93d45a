#include "tests/numbering/RenumberOracle.h"

#include <QRegularExpression>

namespace oracle {

QList<Line> splitLines(const QByteArray &text)
{
    QList<Line> lines;
    Line current;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text.at(i);
        if (c != '\r' && c != '\n') {
            current.content.append(c);
            continue;
        }
        current.end = (c == '\r' && i + 1 < text.size() && text.at(i + 1) == '\n') ? QByteArray("\r\n")
                                                                                   : QByteArray(1, c);
        i += current.end.size() - 1;
        lines.append(current);
        current = Line();
        current.begin = i + 1;
    }
    lines.append(current);
    return lines;
}

static void trimLikeTheProgram(QList<Line> &lines)
{
    QByteArray &last = lines.last().content;
    while (last.endsWith(' '))
        last.chop(1);
    if (lines.size() == 1) {
        while (last.startsWith(' '))
            last.remove(0, 1);
    }
}

QString compare(const QByteArray &original, const QByteArray &output, const Expectation &e, qint64 *numberedLines)
{
    static const QRegularExpression withN(QStringLiteral("^(/?)[Nn](?![A-Za-z_])([0-9]*)(.*)$"),
                                          QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression digitsOnly(QStringLiteral("^([0-9]+)(.*)$"),
                                               QRegularExpression::DotMatchesEverythingOption);
    QList<Line> before = splitLines(original);
    const QList<Line> after = splitLines(output);
    if (!e.selectionOnly)
        trimLikeTheProgram(before);
    if (before.size() != after.size())
        return QStringLiteral("line count %1 became %2").arg(before.size()).arg(after.size());
    qint64 counter = e.start;
    qint64 numbered = 0;
    for (qsizetype i = 0; i < before.size(); ++i) {
        const Line &b = before.at(i);
        if (b.end != after.at(i).end)
            return QStringLiteral("line %1: line end changed").arg(i + 1);
        // Latin-1 keeps one character per byte, so offsets and bytes stay as they are.
        const QString line = QString::fromLatin1(b.content);
        const bool formWithN = e.form == numbering::NumberForm::WithN;
        const QRegularExpressionMatch m = (formWithN ? withN : digitsOnly).match(line);
        const qint64 lineEnd = b.begin + b.content.size() + b.end.size();
        const bool touched = !e.selectionOnly || (e.from < e.to && b.begin < e.to && e.from < lineEnd);
        QByteArray expected = b.content;
        if (m.hasMatch() && touched) {
            const bool slash = formWithN && !m.captured(1).isEmpty();
            const QByteArray rest = m.captured(formWithN ? 3 : 2).toLatin1();
            expected = QByteArray(slash ? "/N" : formWithN ? "N" : "") + QByteArray::number(counter);
            if (!slash && !rest.startsWith(' '))
                expected += ' ';
            expected += rest;
            counter += e.step;
            ++numbered;
        }
        if (after.at(i).content != expected)
            return QStringLiteral("line %1: expected \"%2\", got \"%3\"")
                .arg(i + 1)
                .arg(QString::fromLatin1(expected), QString::fromLatin1(after.at(i).content));
    }
    if (numberedLines)
        *numberedLines = numbered;
    return QString();
}

} // namespace oracle
