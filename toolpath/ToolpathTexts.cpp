#include "toolpath/ToolpathTexts.h"

#include <QLocale>
#include <QStringList>

#include <cmath>

namespace tarmel::toolpath::texts {

namespace {
QString number(double value, int decimals)
{
    if (std::abs(value) < 0.5 * std::pow(10.0, -decimals))
        value = 0; // no "-0,000"
    return QLocale(QLocale::French).toString(value, 'f', decimals);
}

QString axisRange(char axis, double min, double max)
{
    return QStringLiteral("%1 : %2 à %3").arg(QString(QLatin1Char(axis)), number(min, 3), number(max, 3));
}
} // namespace

QString describeDuration(double minutes)
{
    const long long seconds = std::llround(std::max(minutes, 0.0) * 60);
    const long long h = seconds / 3600, m = seconds / 60 % 60, s = seconds % 60;
    if (h > 0)
        return QStringLiteral("%1 h %2 min %3 s").arg(h).arg(m, 2, 10, QLatin1Char('0')).arg(s, 2, 10, QLatin1Char('0'));
    if (m > 0)
        return QStringLiteral("%1 min %2 s").arg(m).arg(s, 2, 10, QLatin1Char('0'));
    return QStringLiteral("%1 s").arg(s);
}

QString describeFigures(const Figures &f, double rapidRate)
{
    if (f.bounds.empty)
        return QStringLiteral("Aucun mouvement");
    const Bounds &b = f.bounds;
    QString text = axisRange('X', b.min.x, b.max.x) + QStringLiteral("   ") + axisRange('Y', b.min.y, b.max.y) +
                   QStringLiteral("   ") + axisRange('Z', b.min.z, b.max.z) + QStringLiteral(" mm\n");
    text += QStringLiteral("Rapide : %1 mm   Travail : %2 mm\nDurée estimée : %3")
                .arg(number(f.rapidLength, 1), number(f.feedLength, 1), describeDuration(f.minutes(rapidRate)));
    if (f.feedMovesWithoutFeed > 0)
        text += QStringLiteral(" (sans avance programmée : %1 mouvements)").arg(f.feedMovesWithoutFeed);
    return text;
}

QString describeReports(const std::vector<Report> &reports)
{
    if (reports.empty())
        return {};
    QStringList parts;
    for (const Report &r : reports) {
        QString word = r.word;
        if (word == u"arc")
            word = QStringLiteral("arc incohérent");
        else if (word == u"#")
            word = QStringLiteral("variables #");
        QString where = QStringLiteral("ligne %1").arg(r.firstLine + 1);
        if (r.count > 1)
            where += QStringLiteral(", %1 fois").arg(r.count);
        parts << QStringLiteral("%1 (%2)").arg(word, where);
    }
    return QStringLiteral("Non suivis : ") + parts.join(QStringLiteral(", "));
}

} // namespace tarmel::toolpath::texts
