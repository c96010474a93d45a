// Toolbar1: every button runs its menu item's command, the show and hide commands, the
// customise dialog, save and restore in the settings store, and the buttons' addressing by
// index whatever their place on the bar.
#include "app/CommandState.h"
#include "app/Menus.h"
#include "commands/ToolbarCommands.h"
#include "commands/ToolbarCustomize.h"
#include "tests/support/TestApp.h"

#include <QListWidget>
#include <QPushButton>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

using namespace tarmel;

namespace {

const QString kStored = "Tarmel/UserDef/1";
const QString kDefault = "Nouveau Ouvrir Enregistrer EnregistrerSous Imprimer Fermer | Annuler Couper "
                         "Copier Coller Supprimer | Rechercher Remplacer Aide Apropos Quitter";

struct App : testsupport::TestApp {
    using TestApp::TestApp;
    QToolBar *bar() const { return main->toolbar(); }
    // The keys on the bar in on-screen order, "|" for a separator.
    QString onBar() const
    {
        QStringList keys;
        for (QAction *a : bar()->actions())
            keys << (a->isSeparator() ? "|" : a->data().toString());
        return keys.join(u' ');
    }
    QWidget *widgetOf(int index) const { return bar()->widgetForAction(main->button(index)); }
    // Opens the customise dialog and plays its steps: "shown:TEXT" or "available:TEXT" selects an item,
    // "add", "remove", "up", "down", "reset", "ok" or "cancel" clicks that button. Returns the dialog.
    ToolbarCustomize *customizeWith(const QString &steps)
    {
        run("Mnu_ModifierBarre");
        auto *d = main->findChild<ToolbarCustomize *>();
        if (!d || !d->isVisible())
            return nullptr;
        const QHash<QString, QPushButton *> buttons{{"add", d->cmdAdd}, {"remove", d->cmdRemove}, {"up", d->cmdUp},
            {"down", d->cmdDown}, {"reset", d->cmdReset}, {"ok", d->cmdOk}, {"cancel", d->cmdCancel}};
        for (const QString &step : steps.split(u'|', Qt::SkipEmptyParts)) {
            const QString verb = step.section(u':', 0, 0);
            QListWidget *list = verb == u"shown" ? d->shownList : verb == u"available" ? d->availableList : nullptr;
            if (!list)
                QTest::mouseClick(buttons.value(verb), Qt::LeftButton);
            else if (const auto found = list->findItems(step.section(u':', 1), Qt::MatchExactly); !found.isEmpty())
                list->setCurrentItem(found.first());
            else
                QTest::qFail(qPrintable("no item " + step), __FILE__, __LINE__);
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return d;
    }
};

} // namespace

class TestToolbar : public QObject {
    Q_OBJECT
private slots:
    // A click on each button runs the one command registered under its menu item.
    void buttonRunsItsMenuCommand()
    {
        App app;
        QVERIFY(app.showWindow());
        QStringList ran, items;
        for (int index = 1; index <= 18; ++index) {
            if (const char16_t *command = menus::kToolbar[index - 1].command) {
                const QString name = QString::fromUtf16(command);
                app.main->registerCommand(name, [&ran, name] { ran << name; });
                app.main->button(index)->setEnabled(true);
                QTest::mouseClick(app.widgetOf(index), Qt::LeftButton);
                items << name;
            }
        }
        QCOMPARE(ran, items);
        QCOMPARE(items.mid(7, 3), QStringList({"Mnu_Edition(4)", "Mnu_Edition(5)", "Mnu_Edition(6)"})); // cut, copy, paste
    }

    // With no desktop theme every button still has a picture: the program's own.
    void pictures()
    {
        App app;
        const QString theme = QIcon::themeName();
        QIcon::setThemeName("no-such-theme");
        for (const menus::ToolbarButton &b : menus::kToolbar) {
            if (b.icon)
                QVERIFY2(!QIcon(QString(":/tarmel/toolbar/%1.svg").arg(QLatin1String(b.icon))).pixmap(24, 24).isNull()
                             && !ToolbarCommands::buttonIcon(b.icon).pixmap(24, 24).isNull(), b.icon);
        }
        QIcon::setThemeName(theme);
        for (int index = 1; index <= 18; ++index)
            QCOMPARE(app.main->button(index)->icon().isNull(), app.main->button(index)->isSeparator());
    }

    // "Afficher" and "Masquer" switch the bar and each other's state; the choice is not stored.
    void showAndHide_data()
    {
        QTest::addColumn<QString>("steps"); QTest::addColumn<bool>("visible"); QTest::addColumn<QString>("states");
        QTest::newRow("start-up") << "" << true << "Mnu_AfficherBarre Mnu_MasquerBarre";
        QTest::newRow("hide") << "Mnu_MasquerBarre" << false << "Mnu_AfficherBarre -Mnu_MasquerBarre";
        QTest::newRow("hide, show") << "Mnu_MasquerBarre Mnu_AfficherBarre" << true << "-Mnu_AfficherBarre Mnu_MasquerBarre";
    }
    void showAndHide()
    {
        QFETCH(QString, steps); QFETCH(bool, visible); QFETCH(QString, states);
        App app;
        QVERIFY(app.showWindow());
        for (const QString &item : steps.split(u' ', Qt::SkipEmptyParts))
            app.trigger(item);
        QCOMPARE(app.bar()->isVisible(), visible);
        QCOMPARE(app.mismatches(states), QString());
        QVERIFY(app.fakes.settings.values.isEmpty());
    }

    // The customise dialog's buttons, then OK or Annuler; the dialog is discarded once closed.
    void customize_data()
    {
        QTest::addColumn<QString>("steps"); QTest::addColumn<QString>("bar");
        QTest::newRow("remove the first button") << "shown:1|remove|ok" << kDefault.section(u' ', 1);
        QTest::newRow("down, then a separator put back before the quit button")
            << "shown:1|down|shown:Séparateur|remove|shown:|available:Séparateur|add|ok"
            << "Ouvrir Nouveau Enregistrer EnregistrerSous Imprimer Fermer Annuler Couper Copier Coller Supprimer "
               "| Rechercher Remplacer Aide Apropos | Quitter";
        QTest::newRow("cancel keeps the bar") << "shown:1|remove|cancel" << kDefault;
        QTest::newRow("reset") << "shown:1|remove|shown:2|remove|reset|ok" << kDefault;
    }
    void customize()
    {
        QFETCH(QString, steps); QFETCH(QString, bar);
        App app;
        QVERIFY(app.customizeWith(steps));
        QCOMPARE(app.onBar(), bar);
        QVERIFY(!app.main->findChild<ToolbarCustomize *>());
    }

    // What the dialog lists: descriptions, the separator, the pictures and the tooltips.
    void customizeLists()
    {
        App app;
        QVERIFY(app.customizeWith("shown:32|remove|shown:|remove"));
        ToolbarCustomize *d = app.customizeWith("");
        QVERIFY(d && d->availableList->count() == 2);
        QCOMPARE(QStringList({d->availableList->item(0)->text(), d->availableList->item(0)->toolTip(),
                              d->availableList->item(1)->text(), d->shownList->item(5)->text(), d->shownList->item(6)->text()}),
                 QStringList({"32", "A propos de Tarmel", "", "7", "Séparateur"})); // button 18 has no description
        QVERIFY(!d->availableList->item(1)->icon().isNull());
        QTest::mouseClick(d->cmdCancel, Qt::LeftButton);
    }

    // Sauver, Modifier, Restaurer: the bar comes back as saved; Restaurer with nothing saved, or with an
    // unreadable value, gives the table's arrangement. "before": "save" saves the default bar first; else stored
    // as is; "start-up:" stored before start-up, which restores with the same call.
    void saveCustomizeRestore_data()
    {
        QTest::addColumn<QString>("before"); QTest::addColumn<QString>("restored");
        QTest::newRow("saved default") << "save" << kDefault;
        QTest::newRow("nothing saved") << "" << kDefault;
        QTest::newRow("unreadable value") << "x;y" << kDefault;
        QTest::newRow("saved elsewhere") << "18,1" << "Quitter Nouveau";
        QTest::newRow("restored at start-up") << "start-up:14,15,13,1" << "Rechercher Remplacer | Nouveau";
    }
    void saveCustomizeRestore()
    {
        QFETCH(QString, before); QFETCH(QString, restored);
        const bool atStartUp = before.startsWith("start-up:");
        App app(!atStartUp);
        if (atStartUp) {
            app.fakes.settings.values.insert(kStored, before.mid(9));
            app.main->startUp({});
            QCOMPARE(app.onBar(), restored);
            QVERIFY(app.customizeWith("shown:Séparateur|remove|ok"));
            app.trigger("Mnu_SauverBarre");
            QCOMPARE(app.fakes.settings.values.value(kStored), "14,15,1");
            return;
        }
        if (before == u"save") {
            app.trigger("Mnu_SauverBarre");
            QCOMPARE(app.fakes.settings.values.value(kStored), "1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18");
        } else if (!before.isEmpty()) {
            app.fakes.settings.values.insert(kStored, before);
        }
        QVERIFY(app.customizeWith("shown:1|remove|shown:3|down|ok"));
        QVERIFY(app.onBar() != kDefault);
        app.trigger("Mnu_RestaurerBarre");
        QCOMPARE(app.onBar(), restored);
    }

    // The rules address buttons by index: after the user moved and removed buttons, each index
    // still reaches the button with its own key, on the bar or off it.
    void enablingByIndexAfterCustomize()
    {
        App app;
        QVERIFY(app.showWindow());
        QVERIFY(app.customizeWith("shown:11|" + QString("up|").repeated(10) + "shown:9|remove|shown:1|down|ok"));
        app.run("Mnu_Nouveau");
        for (int index = 1; index <= 18; ++index) {
            const char16_t *key = menus::kToolbar[index - 1].key;
            QCOMPARE(app.main->button(index)->data().toString(), key ? QString::fromUtf16(key) : QString());
        }
        app.fakes.clipboard.setText("N10");
        app.main->commands().set(Command::Paste, false);
        QVERIFY(!app.widgetOf(11)->isEnabled());
        // The pointer moving over the moved paste button refreshes it from the clipboard.
        QMouseEvent move(QEvent::MouseMove, QPointF(3, 3), app.widgetOf(11)->mapToGlobal(QPointF(3, 3)),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(app.widgetOf(11), &move);
        QVERIFY(app.widgetOf(11)->isEnabled());
        QCOMPARE(qobject_cast<QToolButton *>(app.widgetOf(11))->defaultAction()->data().toString(), "Coller");
        app.main->commands().set(Command::Cut, true, Surface::Button);
        QVERIFY(app.main->button(9)->isEnabled() && !app.widgetOf(9)); // not on the bar
        QVERIFY(app.customizeWith("available:9|add|ok"));
        QVERIFY(app.widgetOf(9)->isEnabled());
        QCOMPARE(app.mismatches("#11 #9 -#8"), QString());
    }
};

QTEST_MAIN(TestToolbar)
#include "tst_toolbar.moc"
