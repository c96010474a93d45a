#include "tests/help/HelpTestTools.h"

#include <QFile>
#include <QXmlStreamReader>

namespace helptest {

bool copyCollection(const QString &folder)
{
    const QString from = QStringLiteral(TARMEL_HELP_BUILD_DIR "/Tarmel.");
    for (const char *suffix : {"qhc", "qch"}) {
        const QString to = folder + QStringLiteral("/Tarmel.") + QLatin1String(suffix);
        QFile::remove(to);
        if (!QFile::copy(from + QLatin1String(suffix), to))
            return false;
    }
    return true;
}

namespace {

QByteArray project()
{
    QFile file(qEnvironmentVariable("TARMEL_SOURCE_DIR") + QStringLiteral("/help/Tarmel.qhp"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

QList<Keyword> projectKeywords()
{
    QList<Keyword> keywords;
    QXmlStreamReader xml(project());
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("keyword")) {
            const QXmlStreamAttributes a = xml.attributes();
            keywords.append({a.value("name").toString(), a.value("id").toString(), a.value("ref").toString()});
        }
    }
    return keywords;
}

QStringList projectFiles()
{
    QStringList files;
    QXmlStreamReader xml(project());
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("file"))
            files << xml.readElementText();
    }
    return files;
}

QString topicUrl(const QString &ref) { return QStringLiteral("qthelp://tarmel.aide/aide/") + ref; }

} // namespace helptest
