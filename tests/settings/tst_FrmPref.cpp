// The preferences dialog: what it shows on opening, what "A&ppliquer" stores and changes,
// that "&Annuler" changes nothing, and a configuration file that cannot be written.
#include "document/Form1.h"
#include "platform/RichTextBox.h"
#include "settings/ConfigFile.h"
#include "settings/FrmPref.h"
#include "settings/ModAssoc.h"
#include "tests/support/TestApp.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QToolBar>
#include <QtTest>

using namespace tarmel;

namespace {

const QStringList groupKeys{"AssociateTXT", "AssociateISO", "AssociateJAU", "AssociateRTF", "AssociateH", "AssociateCNC"};

struct App : testsupport::TestApp {
    QString setting(const QString &key) const { return fakes.settings.get("Tarmel", "Settings", key, "-"); }
    QString settings() const
    {
        QString s;
        for (const QString &key : groupKeys)
            s += setting(key);
        return s;
    }
    QString configuration() const
    {
        const AppState &st = main->state();
        return QStringLiteral("%1|%2|%3|%4|%5").arg(st.MaximizeDocuments).arg(st.EditorFontName).arg(st.EditorFontSize)
            .arg(st.ToolbarVisible).arg(st.HeaderOption);
    }
    QByteArray configFile() const { return read(configFilePath(programDir.path())).replace("\r\n", "|"); }
};

// The controls as "TXT ISO JAU RTF H CNC|Check5|Check6|font|size|header", e.g. "010000|1|0|Arial|12|2".
QString shown(const FrmPref &pref)
{
    QString checks;
    for (QCheckBox *box : pref.associationBoxes())
        checks += box->isChecked() ? u'1' : u'0';
    int header = -1;
    for (int i = 0; i < 3; ++i)
        if (pref.Option1[i]->isChecked())
            header = i;
    return QStringLiteral("%1|%2|%3|%4|%5|%6").arg(checks).arg(int(pref.Check5->isChecked()))
        .arg(int(pref.Check6->isChecked())).arg(pref.ComboFont->currentText(), pref.ComboSize->currentText()).arg(header);
}

// Sets the controls from the same form.
void choose(FrmPref &pref, const QString &controls)
{
    const QStringList f = controls.split(u'|');
    for (int i = 0; i < 6; ++i)
        pref.associationBoxes()[i]->setChecked(f[0][i] == u'1');
    pref.Check5->setChecked(f[1] == u"1");
    pref.Check6->setChecked(f[2] == u"1");
    pref.ComboFont->setCurrentText(f[3]);
    pref.ComboSize->setCurrentText(f[4]);
    pref.Option1[f[5].toInt()]->setChecked(true);
}

} // namespace

class FrmPrefTest : public QObject {
    Q_OBJECT

private slots:
    // settings: the six association values, "-" for a missing key; configuration: the five values.
    void fill_data()
    {
        QTest::addColumn<QString>("settings");
        QTest::addColumn<QString>("configuration");
        QTest::addColumn<QString>("controls");
        QTest::newRow("missing keys, defaults") << "------" << "0|Courier New|10|1|0" << "000000|0|0|Courier New|10|0";
        QTest::newRow("1 checks, rounded values count")
            << "1|2|0.6|abc|0|1,4" << "1|Arial|11.5|0|2" << "101001|1|1|Arial|11.5|2";
        QTest::newRow("only 1 maximises; other headers: folder and file")
            << "------" << "2|Arial|9|-1|7" << "000000|0|0|Arial|9|0";
        QTest::newRow("maximise -1, file name only") << "------" << "-1|Arial|9|1|1" << "000000|0|0|Arial|9|1";
        QTest::newRow("empty font name: Courier New 12") << "------" << "0||0|0|0" << "000000|0|1|Courier New|12|0";
    }
    void fill()
    {
        QFETCH(QString, settings);
        QFETCH(QString, configuration);
        QFETCH(QString, controls);
        App app;
        const QStringList values = settings.contains(u'|') ? settings.split(u'|') : settings.split(QString(), Qt::SkipEmptyParts);
        for (int i = 0; i < 6; ++i)
            if (values[i] != u"-")
                app.fakes.settings.set("Tarmel", "Settings", groupKeys[i], values[i]);
        const QStringList c = configuration.split(u'|');
        AppState &st = app.main->state();
        st.MaximizeDocuments = qint16(c[0].toInt());
        st.EditorFontName = c[1];
        st.EditorFontSize = c[2].toDouble();
        st.ToolbarVisible = qint16(c[3].toInt());
        st.HeaderOption = qint16(c[4].toInt());
        FrmPref pref(*app.main);
        QCOMPARE(shown(pref), controls);
        QCOMPARE(pref.ComboSize->count(), 37);
        QCOMPARE(pref.ComboSize->itemText(36), "74");
        QCOMPARE(pref.ComboFont->count(), QFontDatabase::families().size());
    }

    // "A&ppliquer": settings, associations, values, toolbar, file, in one click; the dialog closes.
    void apply_data()
    {
        QTest::addColumn<QString>("controls");
        QTest::addColumn<QString>("settings");
        QTest::addColumn<QString>("owner");     // the owner of .rub and of .txt afterwards
        QTest::addColumn<QString>("configuration");
        QTest::addColumn<QByteArray>("file");
        QTest::newRow("all chosen, toolbar hidden, decimal comma")
            << "111111|1|1|Arial, Bold|10,5|1" << "111111" << "Tarmel.exe Tarmel.exe" << "1|Arial, Bold|10.5|0|1"
            << QByteArray(" 1 |Arial, Bold| 10.5 | 0 | 1 |");
        QTest::newRow("ISO only, period, no header")
            << "010000|0|0|Lib|11.5|2" << "010000" << "Tarmel.exe Other" << "0|Lib|11.5|1|2"
            << QByteArray(" 0 |Lib| 11.5 | 1 | 2 |");
        QTest::newRow("cleared groups released, size with a letter")
            << "000000|0|0|Lib|x12|0" << "000000" << "- Other" << "0|Lib|0|1|0" << QByteArray(" 0 |Lib| 0 | 1 | 0 |");
    }
    void apply()
    {
        QFETCH(QString, controls);
        QFETCH(QString, settings);
        QFETCH(QString, owner);
        QFETCH(QString, configuration);
        QFETCH(QByteArray, file);
        App app;
        QVERIFY(app.showWindow());
        app.run("Mnu_Nouveau");
        app.fakes.registry.setValue(".txt", QString(), "Other");
        RegisterExtension(app.fakes.registry, registeredProgramPath(app.programDir.path()), ".rub");
        FrmPref pref(*app.main);
        pref.show();
        choose(pref, controls);
        QTest::mouseClick(pref.Command2, Qt::LeftButton);
        QCOMPARE(app.settings(), settings);
        QCOMPARE(ReadRegistryString(app.fakes.registry, ".rub", QString(), "-") + u' '
                     + ReadRegistryString(app.fakes.registry, ".txt", QString(), "-"), owner);
        QCOMPARE(app.configuration(), configuration);
        QCOMPARE(app.configFile(), file);
        QCOMPARE(app.main->toolbar()->isVisible(), configuration.section(u'|', 3, 3) == u"1");
        QCOMPARE(app.doc()->Text1->baseFontName(), configuration.section(u'|', 1, 1));
        QVERIFY(!pref.isVisible());
        // A new window opens maximised only when chosen so.
        app.run("Mnu_Nouveau");
        QCOMPARE(app.doc()->parentWidget()->isMaximized(), controls.section(u'|', 1, 1) == u"1");
    }

    // "&Annuler" stores nothing and changes nothing.
    void cancel()
    {
        App app;
        FrmPref pref(*app.main);
        pref.show();
        const QString before = app.configuration();
        choose(pref, "111111|1|1|Arial|20|2");
        QTest::mouseClick(pref.Command1, Qt::LeftButton);
        QVERIFY(!pref.isVisible());
        QCOMPARE(app.settings(), "------");
        QVERIFY(app.fakes.registry.isEmpty());
        QCOMPARE(app.configuration(), before);
        QVERIFY(!QFileInfo::exists(configFilePath(app.programDir.path())));
    }

    // A configuration file that cannot be written: the message, the dialog stays, the values act.
    void unwritableFile()
    {
        App app;
        const QString notAFolder = app.write("folder", "a file");
        app.fakes.shell.programFolderPath = notAFolder;
        FrmPref pref(*app.main);
        pref.show();
        choose(pref, "000000|1|0|Arial|14|0");
        app.fakes.messageBox.answerOk();
        QTest::mouseClick(pref.Command2, Qt::LeftButton);
        QCOMPARE(app.fakes.messageBox.boxes().size(), 1);
        const auto &box = app.fakes.messageBox.last();
        QVERIFY(box.text.startsWith("Les préférences n'ont pas pu être enregistrées dans le fichier de configuration.\r"));
        QVERIFY(box.text.endsWith("\rElles s'appliquent jusqu'à la fermeture du programme."));
        QCOMPARE(box.flags, 16);
        QCOMPARE(box.title, "Erreur");
        QVERIFY(pref.isVisible());
        QCOMPARE(app.configuration(), "1|Arial|14|1|0");
    }

    // Through the menu: the modal dialog with its caption, tabs, frames and buttons; it goes once closed.
    void menu()
    {
        App app;
        QVERIFY(app.showWindow());
        app.trigger("Mnu_Preferences");
        auto *pref = app.main->findChild<FrmPref *>();
        QVERIFY(pref && pref->isVisible());
        QCOMPARE(pref->windowModality(), Qt::ApplicationModal);
        QCOMPARE(pref->windowTitle(), "Préférences");
        QStringList tabs, frames;
        for (int i = 0; i < pref->SSTab1->count(); ++i) {
            tabs << pref->SSTab1->tabText(i);
            frames << pref->SSTab1->widget(i)->findChild<QGroupBox *>()->title();
        }
        QCOMPARE(tabs.join(u'/'), "Associations/Barre d'outils/Fenêtres/Police/Impression");
        QCOMPARE(frames.join(u'/'), "Associations /Barre d'outils /Fenêtres au chargement /Police /Entête ");
        QCOMPARE(pref->Command2->text() + u'/' + pref->Command2->toolTip(), "A&ppliquer/Appliquer avec les options sélectionnées");
        QCOMPARE(pref->Command1->text() + u'/' + pref->Command1->toolTip(), "&Annuler/Fermer la fenêtre préférences");
        QCOMPARE(pref->Check2->text(), "ISO - RUB - XCN - CN - XPI");
        // Every tab caption shows whole: the tab bar is no wider than the dialog.
        QVERIFY(pref->SSTab1->findChild<QTabBar *>()->sizeHint().width() <= pref->SSTab1->width());
        QPointer<FrmPref> alive(pref);
        QTest::mouseClick(pref->Command1, Qt::LeftButton);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(alive.isNull());
    }
};

QTEST_MAIN(FrmPrefTest)
#include "tst_FrmPref.moc"
