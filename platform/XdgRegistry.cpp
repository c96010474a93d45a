#include "platform/XdgRegistry.h"

#include "files/AtomicWriter.h"
#include "settings/DesktopAssociations.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace platform {

namespace {

const QString desktopId = QStringLiteral("tarmel.desktop");

QString homeFolder(const char *variable, const QString &fallback)
{
    const QString value = qEnvironmentVariable(variable);
    return value.isEmpty() ? QDir::homePath() + fallback : value;
}

QByteArray contentOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Writes the bytes, or removes the file when there are none, then removes its folder if that
// left it empty. True when the file now holds what it should.
bool putFile(const QString &path, const QByteArray &bytes)
{
    const QFileInfo info(path);
    if (bytes.isEmpty()) {
        if (info.exists() && !QFile::remove(path))
            return false;
        QDir().rmdir(info.absolutePath());
        return true;
    }
    if (info.exists() && contentOf(path) == bytes)
        return true;
    return QDir().mkpath(info.absolutePath()) && tarmel::writeFileAtomically(path, bytes).ok;
}

// Runs a desktop tool and waits for it; false when it is missing or fails.
bool runTool(const QString &program, const QStringList &arguments)
{
    const QString path = QStandardPaths::findExecutable(program);
    if (path.isEmpty())
        return false;
    QProcess process;
    process.start(path, arguments);
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        return false;
    }
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

} // namespace

XdgRegistry::XdgRegistry(const QString &executable, const QString &className)
    : executable_(executable), className_(className)
{
    keys_.loadJson(contentOf(classRootPath()));
}

QString XdgRegistry::configHome() { return homeFolder("XDG_CONFIG_HOME", QStringLiteral("/.config")); }
QString XdgRegistry::dataHome() { return homeFolder("XDG_DATA_HOME", QStringLiteral("/.local/share")); }
QString XdgRegistry::classRootPath() const { return configHome() + QStringLiteral("/tarmel/classes.json"); }

bool XdgRegistry::setValue(const QString &key, const QString &name, const QString &value)
{
    return keys_.setValue(key, name, value);
}
std::optional<QString> XdgRegistry::value(const QString &key, const QString &name) const
{
    return keys_.value(key, name);
}
bool XdgRegistry::deleteValue(const QString &key, const QString &name) { return keys_.deleteValue(key, name); }
bool XdgRegistry::deleteKey(const QString &key) { return keys_.deleteKey(key); }
QStringList XdgRegistry::subKeys(const QString &key) const { return keys_.subKeys(key); }
QStringList XdgRegistry::valueNames(const QString &key) const { return keys_.valueNames(key); }

bool XdgRegistry::commit()
{
    const QStringList extensions = tarmel::ownedExtensions(keys_, className_);
    const QStringList mimeTypes = tarmel::mimeTypesOf(extensions);
    const bool stored = storeClassRoot();
    const bool typed = syncMimePackage(extensions);
    const bool entry = syncDesktopEntry(mimeTypes);
    const bool defaults = syncDefaults(mimeTypes);
    return stored && typed && entry && defaults;
}

bool XdgRegistry::storeClassRoot()
{
    return putFile(classRootPath(), keys_.isEmpty() ? QByteArray() : keys_.toJson());
}

bool XdgRegistry::syncMimePackage(const QStringList &extensions)
{
    const QString mimeFolder = dataHome() + QStringLiteral("/mime");
    const QString package = mimeFolder + QStringLiteral("/packages/tarmel.xml");
    const QByteArray bytes = tarmel::mimePackage(extensions);
    if (contentOf(package) == bytes && QFileInfo::exists(package) == !bytes.isEmpty())
        return true;
    if (!putFile(package, bytes))
        return false;
    // With no package left, the user's database holds nothing but what the tool generated.
    if (!QFileInfo::exists(mimeFolder + QStringLiteral("/packages")))
        return QDir(mimeFolder).removeRecursively();
    return runTool(QStringLiteral("update-mime-database"), {mimeFolder});
}

bool XdgRegistry::syncDesktopEntry(const QStringList &mimeTypes)
{
    const QString path = dataHome() + QStringLiteral("/applications/") + desktopId;
    return putFile(path, mimeTypes.isEmpty() ? QByteArray() : tarmel::desktopEntry(executable_, mimeTypes));
}

bool XdgRegistry::syncDefaults(const QStringList &mimeTypes)
{
    const QString path = configHome() + QStringLiteral("/mimeapps.list");
    const QByteArray current = contentOf(path);
    if (current.isEmpty() && mimeTypes.isEmpty())
        return true;
    const QByteArray bytes = tarmel::mimeAppsWithDefaults(current, mimeTypes, desktopId);
    if (bytes.isEmpty()) // only our own entries were there: the file goes
        return !QFileInfo::exists(path) || QFile::remove(path);
    return bytes == current || tarmel::writeFileAtomically(path, bytes).ok;
}

} // namespace platform
