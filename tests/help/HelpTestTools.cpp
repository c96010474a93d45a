#include "tests/help/HelpTestTools.h"

#include <QFile>
#include <QXmlStreamReader>

namespace helptest {

bool copyCollection(const QString &folder)
{
    for (const char *suffix : {"qhc", "qch"}) {
        const QString to = folder + QStringLiteral("/Tarmel.") + QLatin1String(suffix);
        QFile::remove(to);
        if (!QFile::copy(QStringLiteral(TARMEL_HELP_BUILD_DIR "/Tarmel.") + QLatin1String(suffix), to))
            return false;
    }
    return true;
}

QList<QStringList> projectElements(const char *element, const QStringList &attributes)
{
    QFile file(qEnvironmentVariable("TARMEL_SOURCE_DIR") + QStringLiteral("/help/Tarmel.qhp"));
    QXmlStreamReader xml(file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray());
    QList<QStringList> found;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != QLatin1String(element))
            continue;
        QStringList values;
        for (const QString &a : attributes)
            values << xml.attributes().value(a).toString();
        found << (attributes.isEmpty() ? QStringList{xml.readElementText()} : values);
    }
    return found;
}

} // namespace helptest
