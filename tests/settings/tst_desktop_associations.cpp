// The associations on this desktop, in a temporary home: after the ISO group is applied the
// desktop's own tools see the program's type and default application; after it is cleared
// nothing of the program is left, and another program's default is as it was.
#include "platform/XdgRegistry.h"
#include "settings/ModAssoc.h"

#include <QDir>
#include <QDirIterator>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace tarmel;

namespace {

QString xdgMime(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral("xdg-mime"), arguments);
    process.waitForFinished();
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

void put(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
}

QStringList filesUnder(const QString &folder)
{
    QStringList files;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << QDir(folder).relativeFilePath(it.next());
    files.sort();
    return files;
}


} // namespace

class DesktopAssociationsTest : public QObject {
    Q_OBJECT

private slots:
    void applyAndClear()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("xdg-mime")).isEmpty()
            || QStandardPaths::findExecutable(QStringLiteral("mimetype")).isEmpty())
            QSKIP("xdg-mime or mimetype is not installed (scripts/setup.sh installs them)");
        QTemporaryDir home;
        for (const auto &[variable, under] : {std::pair{"HOME", ""}, {"XDG_CONFIG_HOME", "/.config"}, {"XDG_DATA_HOME", "/.local/share"}})
            qputenv(variable, (home.path() + under).toUtf8());
        for (const char *variable : {"XDG_CURRENT_DESKTOP", "DESKTOP_SESSION", "KDE_FULL_SESSION", "GNOME_DESKTOP_SESSION_ID"})
            qunsetenv(variable);
        const QString mimeApps = home.path() + "/.config/mimeapps.list";
        const QByteArray otherDefaults = "[Default Applications]\ntext/plain=other.desktop;\n";
        put(mimeApps, otherDefaults);
        put(home.path() + "/.local/share/applications/other.desktop",
            "[Desktop Entry]\nType=Application\nName=Other\nExec=true %f\nMimeType=text/plain;\n");
        // xdg-mime takes a default only when the entry's program exists.
        const QString executable = home.path() + "/bin/tarmel";
        QDir().mkpath(home.path() + "/bin");
        QVERIFY(QFile::copy(QStandardPaths::findExecutable("true"), executable));
        for (const char *name : {"/p.rub", "/p.iso"})
            put(home.path() + name, "N10 G00\r\n");
        const QStringList before = filesUnder(home.path());
        const QString program = registeredProgramPath(QStringLiteral("/opt/mes programmes"));

        {
            platform::XdgRegistry registry(executable, classNameOf(program));
            ApplyAssociationGroup(registry, program, associationGroups().at(1), true);
            QVERIFY(registry.commit());
        }
        QCOMPARE(QStringList({xdgMime({"query", "filetype", home.path() + "/p.rub"}), xdgMime({"query", "filetype", home.path() + "/p.iso"}),
                              xdgMime({"query", "default", "text/x-tarmel-iso"}), xdgMime({"query", "default", "application/x-cd-image"}),
                              xdgMime({"query", "default", "text/plain"})}),
                 QStringList({"text/x-tarmel-iso", "application/x-cd-image", "tarmel.desktop", "tarmel.desktop", "other.desktop"}));
        if (!QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate")).isEmpty())
            QCOMPARE(QProcess::execute("desktop-file-validate", {home.path() + "/.local/share/applications/tarmel.desktop"}), 0);

        {
            platform::XdgRegistry registry(executable, classNameOf(program));
            QCOMPARE(ReadRegistryString(registry, ".xcn", QString()), "Tarmel.exe"); // kept between runs
            ApplyAssociationGroup(registry, program, associationGroups().at(1), false);
            QVERIFY(registry.commit());
        }
        QCOMPARE(filesUnder(home.path()), before);
        QFile list(mimeApps);
        QVERIFY(list.open(QIODevice::ReadOnly) && list.readAll() == otherDefaults);
        QVERIFY(xdgMime({"query", "filetype", home.path() + "/p.rub"}) != "text/x-tarmel-iso");
        QCOMPARE(xdgMime({"query", "default", "text/plain"}), "other.desktop");
    }
};

QTEST_GUILESS_MAIN(DesktopAssociationsTest)
#include "tst_desktop_associations.moc"
