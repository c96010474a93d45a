// Registering and releasing file-type associations in a class root kept in memory, and what
// the desktop is given for them.
#include "settings/DesktopAssociations.h"
#include "settings/MemoryRegistry.h"
#include "settings/ModAssoc.h"

#include <QTest>

using namespace tarmel;

namespace {

// Every value as "key=value" (default value) or "key[name]=value", sorted, joined by "; ".
QString dump(const platform::Registry &registry, const QString &key = QString())
{
    QStringList lines;
    for (const QString &name : registry.valueNames(key))
        lines << key + (name.isEmpty() ? QString() : u'[' + name + u']') + u'=' + *registry.value(key, name);
    for (const QString &sub : registry.subKeys(key))
        if (const QString inner = dump(registry, key.isEmpty() ? sub : key + u'\\' + sub); !inner.isEmpty())
            lines << inner;
    lines.sort();
    return lines.join(QStringLiteral("; "));
}

// Fills a registry from "key=value; key[name]=value".
void load(MemoryRegistry &registry, const QString &values)
{
    for (const QString &entry : values.split(QStringLiteral("; "), Qt::SkipEmptyParts)) {
        const QString key = entry.section(u'=', 0, 0);
        registry.setValue(key.section(u'[', 0, 0), key.endsWith(u']') ? key.section(u'[', 1).chopped(1) : QString(), entry.section(u'=', 1));
    }
}

const AssociationGroup &group(const QString &name)
{
    for (const AssociationGroup &g : associationGroups())
        if (g.settingsKey == QStringLiteral("Associate") + name)
            return g;
    qFatal("no such group");
}

const QString isoClass = QStringLiteral(
    "Tarmel.exe\\DefaultIcon=/opt/t/Tarmel.exe; Tarmel.exe\\shell\\open\\command=\"/opt/t/Tarmel.exe\" \"%1\"");

} // namespace

class ModAssocTest : public QObject {
    Q_OBJECT

private slots:
    // Steps: "reg:EXT" RegisterExtension (its result recorded as 1 or 0), "GROUP=1" / "GROUP=0" a
    // group applied checked or cleared; the program folder is /opt/t unless the row gives another.
    void apply_data()
    {
        QTest::addColumn<QString>("before"); QTest::addColumn<QString>("folder"); QTest::addColumn<int>("writes");
        QTest::addColumn<QString>("steps"); QTest::addColumn<QString>("results"); QTest::addColumn<QString>("after");
        const QString iso = QStringLiteral(".cn=Tarmel.exe; .iso=Tarmel.exe; .rub=Tarmel.exe; .xcn=Tarmel.exe; "
                                           ".xpi=Tarmel.exe; ") + isoClass;
        QTest::newRow("register, folder with blanks: both quoted")
            << "" << "/opt/mes programmes" << -1 << "reg:.iso" << "1"
            << ".iso=Tarmel.exe; Tarmel.exe\\DefaultIcon=/opt/mes programmes/Tarmel.exe; "
               "Tarmel.exe\\shell\\open\\command=\"/opt/mes programmes/Tarmel.exe\" \"%1\"";
        QTest::newRow("trailing separator, extension without period")
            << "" << "/opt/t/" << -1 << "reg:iso" << "1" << ".iso=Tarmel.exe; " + isoClass;
        QTest::newRow("a group shares one class key") << "" << "" << -1 << "ISO=1" << "" << iso;
        QTest::newRow("applied twice: unchanged") << "" << "" << -1 << "ISO=1|ISO=1" << "" << iso;
        QTest::newRow("first write fails: nothing more") << "" << "" << 0 << "reg:.iso" << "0" << "";
        QTest::newRow("command write fails: icon not attempted")
            << "" << "" << 1 << "reg:.iso|reg:.h" << "00" << ".iso=Tarmel.exe";
        QTest::newRow("cleared: extensions and class go") << "" << "" << -1 << "ISO=1|ISO=0" << "" << "";
        QTest::newRow("cleared group: the class stays for another")
            << "" << "" << -1 << "ISO=1|JAU=1|ISO=0" << "" << ".cor=Tarmel.exe; .jau=Tarmel.exe; " + isoClass;
        QTest::newRow("cleared: another program's extension stays")
            << ".txt=Other.App; .asc=Tarmel" << "" << -1 << "TXT=0" << "" << ".asc=Tarmel; .txt=Other.App";
        QTest::newRow("cleared: another value of the key stays")
            << ".h[Content Type]=text/x-chdr" << "" << -1 << "H=1|H=0" << "" << ".h[Content Type]=text/x-chdr";
    }
    void apply()
    {
        QFETCH(QString, before); QFETCH(QString, folder); QFETCH(int, writes); QFETCH(QString, steps);
        QFETCH(QString, results); QFETCH(QString, after);
        MemoryRegistry registry;
        load(registry, before);
        registry.writesLeft = writes;
        const QString program = registeredProgramPath(folder.isEmpty() ? QStringLiteral("/opt/t") : folder);
        QString got;
        for (const QString &step : steps.split(u'|')) {
            if (step.startsWith(QStringLiteral("reg:")))
                got += RegisterExtension(registry, program, step.mid(4)) ? u'1' : u'0';
            else
                ApplyAssociationGroup(registry, program, group(step.section(u'=', 0, 0)), step.endsWith(u'1'));
        }
        QCOMPARE(got, results);
        QCOMPARE(dump(registry), after);
    }

    // Only the class's extensions with an open command count; the package types only the unknown ones.
    void ownedAndPackage()
    {
        MemoryRegistry registry;
        load(registry, QStringLiteral(".txt=Other; .rub=Tarmel.exe; .iso=Tarmel.exe; .jau=Tarmel.exe"));
        QCOMPARE(ownedExtensions(registry, QStringLiteral("Tarmel.exe")), QStringList());
        RegisterExtension(registry, registeredProgramPath(QStringLiteral("/opt/t")), QStringLiteral(".cn"));
        const QStringList owned = ownedExtensions(registry, QStringLiteral("Tarmel.exe"));
        QCOMPARE(owned, QStringList({".cn", ".iso", ".jau", ".rub"}));
        QCOMPARE(mimeTypesOf(owned), QStringList({"text/x-tarmel-iso", "application/x-cd-image", "text/x-tarmel-jau"}));
        const QByteArray package = mimePackage(owned);
        QVERIFY(package.contains("<mime-type type=\"text/x-tarmel-iso\">\n    <comment>Programme CN ISO</comment>\n"
                                 "    <sub-class-of type=\"text/plain\"/>\n    <glob pattern=\"*.cn\"/>\n"
                                 "    <glob pattern=\"*.rub\"/>\n  </mime-type>"));
        QVERIFY(package.contains("<glob pattern=\"*.jau\"/>") && !package.contains("*.iso"));
        QCOMPARE(mimePackage({".iso", ".txt"}), QByteArray());
    }

    void exec_data()
    {
        QTest::addColumn<QString>("program"); QTest::addColumn<QString>("exec");
        QTest::newRow("percent") << "/opt/100%/tarmel" << "/opt/100%%/tarmel";
        QTest::newRow("blanks") << "/home/a b/tarmel" << "\"/home/a b/tarmel\"";
        QTest::newRow("reserved characters") << "/x/\"$`%/t" << "\"/x/\\\\\"\\\\$\\\\`%%/t\"";
    }
    void exec()
    {
        QFETCH(QString, program); QFETCH(QString, exec);
        QCOMPARE(desktopExecProgram(program), exec);
        QVERIFY(desktopEntry(program, {"text/plain"}).contains(("Exec=" + exec + " %f\n").toUtf8()));
    }

    // '|' stands for a line end.
    void mimeApps_data()
    {
        QTest::addColumn<QString>("current"); QTest::addColumn<QString>("types"); QTest::addColumn<QString>("result");
        QTest::newRow("no file") << "" << "text/x-tarmel-iso" << "[Default Applications]|text/x-tarmel-iso=tarmel.desktop;|";
        QTest::newRow("put first before another program")
            << "[Default Applications]|text/plain=gedit.desktop;|" << "text/plain"
            << "[Default Applications]|text/plain=tarmel.desktop;gedit.desktop;|";
        QTest::newRow("released: the other program again")
            << "[Default Applications]|text/plain=tarmel.desktop;gedit.desktop;|" << ""
            << "[Default Applications]|text/plain=gedit.desktop;|";
        QTest::newRow("released: only ours, no file") << "[Default Applications]|text/x-chdr=tarmel.desktop;|" << "" << "";
        QTest::newRow("other sections and lines kept, section added")
            << "[Added Associations]|# note|text/plain=kate.desktop;|" << "text/x-chdr"
            << "[Added Associations]|# note|text/plain=kate.desktop;|[Default Applications]|text/x-chdr=tarmel.desktop;|";
        QTest::newRow("missing type added inside its section")
            << "[Default Applications]|a/b=x.desktop;||[Other]|k=v|" << "text/plain"
            << "[Default Applications]|a/b=x.desktop;|text/plain=tarmel.desktop;||[Other]|k=v|";
    }
    void mimeApps()
    {
        QFETCH(QString, current); QFETCH(QString, types); QFETCH(QString, result);
        const QByteArray got = mimeAppsWithDefaults(current.replace(u'|', u'\n').toUtf8(),
                                                    types.split(u',', Qt::SkipEmptyParts), QStringLiteral("tarmel.desktop"));
        QCOMPARE(QString::fromUtf8(got), result.replace(u'|', u'\n'));
    }
};

QTEST_GUILESS_MAIN(ModAssocTest)
#include "tst_ModAssoc.moc"
