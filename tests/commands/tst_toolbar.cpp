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

const QString kStored = QStringLiteral("Tarmel/UserDef/1");

struct App : testsupport::TestApp {
    using TestApp::TestApp;
    QToolBar *bar() const { return main->toolbar(); }
    // The keys on the bar in on-screen order, "|" for a separator.
    QString onBar() const
    {
        QStringList keys;
        for (QAction *a : bar()->actions())
            keys << (a->isSeparator() ? QStringLiteral("|") : a->data().toString());
        return keys.join(u' ');
    }
    QWidget *widgetOf(int index) const { return bar()->widgetForAction(main->button(index)); }
    ToolbarCustomize *customize()
    {
        run("Mnu_ModifierBarre");
        return main->findChild<ToolbarCustomize *>();
    }
    static void select(QListWidget *list, const QString &text)
    {
        const QList<QListWidgetItem *> found = list->findItems(text, Qt::MatchExactly);
        QVERIFY2(!found.isEmpty(), qPrintable(text));
        list->setCurrentItem(found.first());
    }
    // Plays the dialog's steps: "shown:TEXT" or "available:TEXT" selects an item,
    // "add", "remove", "up", "down", "reset", "ok" or "cancel" clicks that button.
    void playDialog(ToolbarCustomize *d, const QString &steps)
    {
        const QHash<QString, QPushButton *> buttons{{"add", d->cmdAdd}, {"remove", d->cmdRemove}, {"up", d->cmdUp},
            {"down", d->cmdDown}, {"reset", d->cmdReset}, {"ok", d->cmdOk}, {"cancel", d->cmdCancel}};
        for (const QString &step : steps.split(u'|', Qt::SkipEmptyParts)) {
            const QString verb = step.section(u':', 0, 0), arg = step.section(u':', 1);
            if (verb == u"shown" || verb == u"available")
                select(verb == u"shown" ? d->shownList : d->availableList, arg);
            else
                QTest::mouseClick(buttons.value(verb), Qt::LeftButton);
        }
    }
    void customizeWith(const QString &steps)
    {
        ToolbarCustomize *d = customize();
        QVERIFY(d && d->isVisible());
        playDialog(d, steps);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

const QString kDefault = QStringLiteral("Nouveau Ouvrir Enregistrer EnregistrerSous Imprimer Fermer | Annuler Couper "
                                        "Copier Coller Supprimer | Rechercher Remplacer Aide Apropos Quitter");

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
            const menus::ToolbarButton &b = menus::kToolbar[index - 1];
            if (!b.command)
                continue;
            const QString name = QString::fromUtf16(b.command);
            app.main->registerCommand(name, [&ran, name] { ran << name; });
            app.main->button(index)->setEnabled(true);
            QTest::mouseClick(app.widgetOf(index), Qt::LeftButton);
            items << name;
        }
        QCOMPARE(ran, items);
        QCOMPARE(items.mid(7, 3), QStringList({"Mnu_Edition(4)", "Mnu_Edition(5)", "Mnu_Edition(6)"})); // cut, copy, paste
    }

    // With no desktop theme every button still has a picture: the program's own.
    void pictures()
    {
        App app;
        const QString theme = QIcon::themeName();
        QIcon::setThemeName(QStringLiteral("no-such-theme"));
        for (const menus::ToolbarButton &b : menus::kToolbar) {
            if (!b.icon)
                continue;
            const QString own = QStringLiteral(":/tarmel/toolbar/%1.svg").arg(QLatin1String(b.icon));
            QVERIFY2(!QIcon(own).pixmap(24, 24).isNull(), b.icon);
            QVERIFY2(!ToolbarCommands::buttonIcon(b.icon).pixmap(24, 24).isNull(), b.icon);
        }
        QIcon::setThemeName(theme);
        for (int index = 1; index <= 18; ++index)
            QCOMPARE(app.main->button(index)->icon().isNull(), app.main->button(index)->isSeparator());
    }

    // "Afficher" and "Masquer" switch the bar and each other's state; the choice is not stored.
    void showAndHide_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<bool>("visible");
        QTest::addColumn<QString>("states");
        QTest::newRow("start-up") << "" << true << "Mnu_AfficherBarre Mnu_MasquerBarre";
        QTest::newRow("hide") << "Mnu_MasquerBarre" << false << "Mnu_AfficherBarre -Mnu_MasquerBarre";
        QTest::newRow("hide, show") << "Mnu_MasquerBarre Mnu_AfficherBarre" << true
                                    << "-Mnu_AfficherBarre Mnu_MasquerBarre";
    }
    void showAndHide()
    {
        QFETCH(QString, steps);
        QFETCH(bool, visible);
        QFETCH(QString, states);
        App app;
        QVERIFY(app.showWindow());
        for (const QString &item : steps.split(u' ', Qt::SkipEmptyParts))
            app.trigger(item);
        QCOMPARE(app.bar()->isVisible(), visible);
        QCOMPARE(app.mismatches(states), QString());
    }

    // The customise dialog's buttons, then OK or Annuler.
    void customize_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("bar");
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
        QFETCH(QString, steps);
        QFETCH(QString, bar);
        App app;
        app.customizeWith(steps);
        QCOMPARE(app.onBar(), bar);
        QVERIFY(!app.main->findChild<ToolbarCustomize *>()); // discarded when closed
    }

    // What the dialog lists: descriptions, the separator, the pictures and the tooltips.
    void customizeLists()
    {
        App app;
        app.customizeWith("shown:32|remove|shown:|remove");
        ToolbarCustomize *d = app.customize();
        QCOMPARE(d->windowTitle(), QStringLiteral("Personnaliser la barre d'outils"));
        QCOMPARE(d->availableList->count(), 2);
        QCOMPARE(QStringList({d->availableList->item(0)->text(), d->availableList->item(0)->toolTip(),
                              d->availableList->item(1)->text(), d->shownList->item(5)->text(), d->shownList->item(6)->text()}),
                 QStringList({"32", "A propos de Tarmel", "", "7", "Séparateur"})); // button 18 has no description
        QVERIFY(!d->availableList->item(1)->icon().isNull());
        app.playDialog(d, "cancel");
    }

    // Sauver, Modifier, Restaurer: the bar comes back as saved; Restaurer with nothing saved, or
    // with an unreadable value, gives the table's arrangement.
    void saveCustomizeRestore_data()
    {
        QTest::addColumn<QString>("before");  // "save" saves the default bar first; else stored as is
        QTest::addColumn<QString>("restored");
        QTest::newRow("saved default") << "save" << kDefault;
        QTest::newRow("nothing saved") << "" << kDefault;
        QTest::newRow("unreadable value") << "x;y" << kDefault;
        QTest::newRow("saved elsewhere") << "18,1" << "Quitter Nouveau";
    }
    void saveCustomizeRestore()
    {
        QFETCH(QString, before);
        QFETCH(QString, restored);
        App app;
        if (before == u"save") {
            app.trigger("Mnu_SauverBarre");
            QCOMPARE(app.fakes.settings.values.value(kStored), "1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18");
        } else if (!before.isEmpty()) {
            app.fakes.settings.values.insert(kStored, before);
        }
        app.customizeWith("shown:1|remove|shown:3|down|ok");
        QVERIFY(app.onBar() != kDefault);
        app.trigger("Mnu_RestaurerBarre");
        QCOMPARE(app.onBar(), restored);
    }

    // Start-up restores with the same call: a saved arrangement is there at once.
    void startUpRestores()
    {
        App app(false);
        app.fakes.settings.values.insert(kStored, QStringLiteral("14,15,13,1"));
        app.main->startUp({});
        QCOMPARE(app.onBar(), QStringLiteral("Rechercher Remplacer | Nouveau"));
        app.customizeWith("shown:Séparateur|remove|ok");
        app.trigger("Mnu_SauverBarre");
        QCOMPARE(app.fakes.settings.values.value(kStored), QStringLiteral("14,15,1"));
    }

    // The rules address buttons by index: after the user moved and removed buttons, each index
    // still reaches the button with its own key, on the bar or off it.
    void enablingByIndexAfterCustomize()
    {
        App app;
        QVERIFY(app.showWindow());
        app.customizeWith("shown:11|up|up|up|up|up|up|up|up|up|up|shown:9|remove|shown:1|down|ok");
        app.run("Mnu_Nouveau");
        for (int index = 1; index <= 18; ++index) {
            const char16_t *key = menus::kToolbar[index - 1].key;
            QCOMPARE(app.main->button(index)->data().toString(), key ? QString::fromUtf16(key) : QString());
        }
        app.fakes.clipboard.setText(QStringLiteral("N10"));
        app.main->commands().set(Command::Paste, false);
        QVERIFY(!app.widgetOf(11)->isEnabled());
        // The pointer moving over the moved paste button refreshes it from the clipboard.
        QMouseEvent move(QEvent::MouseMove, QPointF(3, 3), app.widgetOf(11)->mapToGlobal(QPointF(3, 3)),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(app.widgetOf(11), &move);
        QVERIFY(app.widgetOf(11)->isEnabled());
        QCOMPARE(qobject_cast<QToolButton *>(app.widgetOf(11))->defaultAction()->data().toString(), QStringLiteral("Coller"));
        app.main->commands().set(Command::Cut, true, Surface::Button);
        QVERIFY(app.main->button(9)->isEnabled());
        QVERIFY(!app.widgetOf(9)); // not on the bar
        app.customizeWith("available:9|add|ok");
        QVERIFY(app.widgetOf(9)->isEnabled());
        QCOMPARE(app.mismatches("#11 #9 -#8"), QString());
    }
};

QTEST_MAIN(TestToolbar)
#include "tst_toolbar.moc"
