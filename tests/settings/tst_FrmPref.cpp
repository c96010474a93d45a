// The preferences dialog: what it shows on opening, what "A&ppliquer" stores and changes,
// that "&Annuler" changes nothing, a configuration file that cannot be written, the menu.
#include "document/Form1.h"
#include "platform/RichTextBox.h"
#include "settings/ConfigFile.h"
#include "settings/FrmPref.h"
#include "settings/ModAssoc.h"
#include "tests/support/TestApp.h"

#include <QCheckBox>
#include <QComboBox>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QToolBar>
#include <QtTest>

#include <tuple>

using namespace tarmel;

namespace {

const QStringList groupKeys{"AssociateTXT", "AssociateISO", "AssociateJAU", "AssociateRTF", "AssociateH", "AssociateCNC"};

// The state as "maximised|font|size|toolbar|header".
QString stateOf(const AppState &st)
{
    return QStringLiteral("%1|%2|%3|%4|%5").arg(st.MaximizeDocuments).arg(st.EditorFontName).arg(st.EditorFontSize)
        .arg(st.ToolbarVisible).arg(st.HeaderOption);
}

// The controls as "TXT ISO JAU RTF H CNC|Check5|Check6|font|size|header", e.g. "010000|1|0|Arial|12|2".
QString shown(const FrmPref &pref)
{
    QString checks;
    for (QCheckBox *box : pref.associationBoxes())
        checks += box->isChecked() ? u'1' : u'0';
    const int header = std::find_if(pref.Option1.begin(), pref.Option1.end(), [](auto *o) { return o->isChecked(); }) - pref.Option1.begin();
    return QStringLiteral("%1|%2|%3|%4|%5|%6").arg(checks).arg(int(pref.Check5->isChecked()))
        .arg(int(pref.Check6->isChecked())).arg(pref.ComboFont->currentText(), pref.ComboSize->currentText()).arg(header < 3 ? header : -1);
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
    // settings: the six association values ("|"-separated when longer than a character), "-" for a
    // missing key; configuration: the five values.
    void fill_data()
    {
        QTest::addColumn<QString>("settings"); QTest::addColumn<QString>("configuration");
        QTest::addColumn<QString>("controls");
        QTest::newRow("missing keys, defaults") << "------" << "0|Courier New|10|1|0" << "000000|0|0|Courier New|10|0";
        QTest::newRow("1 checks, rounded values count") << "1|2|0.6|abc|0|1,4" << "1|Arial|11.5|0|2" << "101001|1|1|Arial|11.5|2";
        QTest::newRow("only 1 maximises; other headers: folder and file") << "------" << "2|Arial|9|-1|7" << "000000|0|0|Arial|9|0";
        QTest::newRow("empty font name: Courier New 12") << "------" << "0||0|0|0" << "000000|0|1|Courier New|12|0";
    }
    void fill()
    {
        QFETCH(QString, settings); QFETCH(QString, configuration); QFETCH(QString, controls);
        testsupport::TestApp app;
        const QStringList values = settings.contains(u'|') ? settings.split(u'|') : settings.split(QString(), Qt::SkipEmptyParts);
        for (int i = 0; i < 6; ++i)
            if (values[i] != u"-")
                app.fakes.settings.set("Tarmel", "Settings", groupKeys[i], values[i]);
        const QStringList c = configuration.split(u'|');
        AppState &st = app.main->state();
        std::tie(st.MaximizeDocuments, st.EditorFontName, st.EditorFontSize, st.ToolbarVisible, st.HeaderOption)
            = std::tuple(qint16(c[0].toInt()), c[1], c[2].toDouble(), qint16(c[3].toInt()), qint16(c[4].toInt()));
        QCOMPARE(shown(FrmPref(*app.main)), controls);
    }

    // Through the menu, a click on "A&ppliquer" (or on "&Annuler": the "cancel" row) with the controls
    // set so: settings, associations, values, toolbar, the open window's font, the file; and where the
    // file cannot be written, the message with the dialog left open and the values applied all the same.
    void apply_data()
    {
        QTest::addColumn<QString>("controls"); QTest::addColumn<QString>("settings");
        QTest::addColumn<QString>("owners");        // of .rub and .txt afterwards
        QTest::addColumn<QString>("configuration"); QTest::addColumn<QByteArray>("file");
        QTest::newRow("all chosen, toolbar hidden, decimal comma") << "111111|1|1|Arial, Bold|10,5|1" << "111111"
            << "Tarmel.exe Tarmel.exe" << "1|Arial, Bold|10.5|0|1" << QByteArray(" 1 |Arial, Bold| 10.5 | 0 | 1 |");
        QTest::newRow("ISO only, period, no header") << "010000|0|0|Lib|11.5|2" << "010000" << "Tarmel.exe Other"
                                                      << "0|Lib|11.5|1|2" << QByteArray(" 0 |Lib| 11.5 | 1 | 2 |");
        QTest::newRow("cleared groups released, size with a letter")
            << "000000|0|0|Lib|x12|0" << "000000" << "- Other" << "0|Lib|0|1|0" << QByteArray(" 0 |Lib| 0 | 1 | 0 |");
        QTest::newRow("cancel") << "111111|1|1|Lib|20|2" << "------" << "Tarmel.exe Other" << "0|Courier New|10|1|0"
                                << QByteArray("<unreadable>");
        QTest::newRow("unwritable file") << "000000|1|0|Lib|14|0" << "000000" << "- Other" << "1|Lib|14|1|0"
                                         << QByteArray("<unreadable>");
    }
    void apply()
    {
        QFETCH(QString, controls); QFETCH(QString, settings); QFETCH(QString, owners); QFETCH(QString, configuration);
        QFETCH(QByteArray, file);
        const bool cancel = QByteArray(QTest::currentDataTag()) == "cancel";
        const bool unwritable = QByteArray(QTest::currentDataTag()) == "unwritable file";
        testsupport::TestApp app;
        QVERIFY(app.showWindow());
        app.run("Mnu_Nouveau");
        app.fakes.registry.setValue(".txt", QString(), "Other");
        RegisterExtension(app.fakes.registry, registeredProgramPath(app.programDir.path()), ".rub");
        if (unwritable) {
            app.fakes.shell.programFolderPath = app.write("folder", "a file");
            app.fakes.messageBox.answerOk();
        }
        app.trigger("Mnu_Preferences");
        QPointer<FrmPref> pref = app.main->findChild<FrmPref *>();
        QVERIFY(pref && pref->isVisible() && pref->windowModality() == Qt::ApplicationModal);
        // Every tab caption shows whole: the tab bar is no wider than the dialog.
        QVERIFY(pref->SSTab1->findChild<QTabBar *>()->sizeHint().width() <= pref->SSTab1->width());
        choose(*pref, controls);
        QTest::mouseClick(cancel ? pref->Command1 : pref->Command2, Qt::LeftButton);
        QString stored;
        for (const QString &key : groupKeys)
            stored += app.fakes.settings.get("Tarmel", "Settings", key, "-");
        QCOMPARE(stored, settings);
        QCOMPARE(ReadRegistryString(app.fakes.registry, ".rub", QString(), "-") + u' '
                     + ReadRegistryString(app.fakes.registry, ".txt", QString(), "-"), owners);
        QCOMPARE(stateOf(app.main->state()), configuration);
        QCOMPARE(app.read(configFilePath(app.fakes.shell.programFolderPath)), file.replace('|', "\r\n"));
        QCOMPARE(app.main->toolbar()->isVisible(), configuration.section(u'|', 3, 3) == u"1");
        QCOMPARE(app.doc()->Text1->baseFontName(), configuration.section(u'|', 1, 1));
        QCOMPARE(app.fakes.messageBox.boxes().size(), unwritable ? 1 : 0);
        if (unwritable) {
            const auto &box = app.fakes.messageBox.last();
            QCOMPARE(box.text.section(u'\r', 0, 0) + u'|' + box.text.section(u'\r', 2) + u'|' + QString::number(box.flags) + box.title,
                     "Les préférences n'ont pas pu être enregistrées dans le fichier de configuration.|"
                     "Elles s'appliquent jusqu'à la fermeture du programme.|16Erreur");
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(pref.isNull(), !unwritable); // a closed dialog is gone
        // A new window opens maximised only when so chosen.
        app.run("Mnu_Nouveau");
        QCOMPARE(app.doc()->parentWidget()->isMaximized(), configuration.startsWith(u'1'));
    }
};

QTEST_MAIN(FrmPrefTest)
#include "tst_FrmPref.moc"
