#pragma once
#include "platform/Registry.h"
#include "settings/MemoryRegistry.h"

namespace platform {

// The class root of a Linux desktop user. The keys live in
// $XDG_CONFIG_HOME/tarmel/classes.json (~/.config when the variable is unset), read when
// the object is made. commit() stores them and brings the desktop in step with the
// extensions the program's class owns:
// - $XDG_DATA_HOME/mime/packages/tarmel.xml defines the program's own types of those
//   extensions the shared MIME database does not know, then update-mime-database runs;
//   once no package is left there, the user's generated MIME database goes as well;
// - $XDG_DATA_HOME/applications/tarmel.desktop starts the executable with the file;
// - $XDG_CONFIG_HOME/mimeapps.list names tarmel.desktop first default of those types.
// With nothing owned any more, each file goes (mimeapps.list keeps the other programs'
// lines), and so does a folder left empty by it.
class XdgRegistry final : public Registry {
public:
    XdgRegistry(const QString &executable, const QString &className);

    bool setValue(const QString &key, const QString &name, const QString &value) override;
    std::optional<QString> value(const QString &key, const QString &name) const override;
    bool deleteValue(const QString &key, const QString &name) override;
    bool deleteKey(const QString &key) override;
    QStringList subKeys(const QString &key) const override;
    QStringList valueNames(const QString &key) const override;
    bool commit() override;

    static QString configHome();
    static QString dataHome();
    QString classRootPath() const;

private:
    bool storeClassRoot();
    bool syncMimePackage(const QStringList &extensions);
    bool syncDesktopEntry(const QStringList &mimeTypes);
    bool syncDefaults(const QStringList &mimeTypes);

    QString executable_;
    QString className_;
    tarmel::MemoryRegistry keys_;
};

} // namespace platform
