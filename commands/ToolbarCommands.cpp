#include "commands/ToolbarCommands.h"

#include "app/AppContext.h"
#include "app/CommandState.h"
#include "app/Menus.h"
#include "commands/ToolbarCustomize.h"
#include "commands/ToolbarTexts.h"
#include "platform/Services.h"

#include <QAction>
#include <QCoreApplication>
#include <QIcon>
#include <QMouseEvent>
#include <QPixmap>
#include <QToolBar>

#include <iterator>

namespace tarmel {

namespace {

constexpr int kButtonCount = int(std::size(menus::kToolbar));

const QString kStoreApp = QStringLiteral("Tarmel");
const QString kStoreSection = QStringLiteral("UserDef");
const QString kStoreKey = QStringLiteral("1");

// Hands a mouse move over a button, enabled or not, to the toolbar, whose own handling of
// the moves refreshes the edit buttons. The buttons that a rearrangement puts on the bar are
// new widgets: they need it as much as the bar's first ones.
class MoveToToolbar : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *button = qobject_cast<QWidget *>(watched);
        if (event->type() != QEvent::MouseMove || !button || !button->parentWidget())
            return false;
        const auto *move = static_cast<QMouseEvent *>(event);
        if (move->buttons() != Qt::NoButton)
            return false; // a press being dragged belongs to the button
        QWidget *bar = button->parentWidget();
        QMouseEvent onBar(QEvent::MouseMove, button->mapTo(bar, move->position()), move->globalPosition(),
                          Qt::NoButton, Qt::NoButton, move->modifiers());
        QCoreApplication::sendEvent(bar, &onBar);
        return true;
    }
};

} // namespace

ToolbarCommands::ToolbarCommands(AppContext &app) : app_(app), moveWatch_(new MoveToToolbar(app.toolbar()))
{
    app.registerCommand(QStringLiteral("Mnu_AfficherBarre"), [this] { Mnu_AfficherBarre_Click(); });
    app.registerCommand(QStringLiteral("Mnu_MasquerBarre"), [this] { Mnu_MasquerBarre_Click(); });
    app.registerCommand(QStringLiteral("Mnu_ModifierBarre"), [this] { Mnu_ModifierBarre_Click(); });
    app.registerCommand(QStringLiteral("Mnu_SauverBarre"), [this] { Mnu_SauverBarre_Click(); });
    app.registerCommand(QStringLiteral("Mnu_RestaurerBarre"), [this] { Mnu_RestaurerBarre_Click(); });
    for (int index = 1; index <= kButtonCount; ++index) {
        const menus::ToolbarButton &b = menus::kToolbar[index - 1];
        if (b.key)
            app.commands().button(index)->setIcon(buttonIcon(b.icon));
    }
}

QIcon ToolbarCommands::buttonIcon(const char *themeName)
{
    const QString name = QString::fromLatin1(themeName);
    return QIcon::fromTheme(name, QIcon(QStringLiteral(":/tarmel/toolbar/%1.svg").arg(name)));
}

void ToolbarCommands::Mnu_AfficherBarre_Click()
{
    show(true);
}

void ToolbarCommands::Mnu_MasquerBarre_Click()
{
    show(false);
}

void ToolbarCommands::show(bool visible)
{
    app_.setToolbarVisible(visible);
    app_.commands().item(QStringLiteral("Mnu_MasquerBarre"))->setEnabled(visible);
    app_.commands().item(QStringLiteral("Mnu_AfficherBarre"))->setEnabled(!visible);
}

// The dialog is window-modal and applies what it holds when accepted.
void ToolbarCommands::Mnu_ModifierBarre_Click()
{
    CommandState &commands = app_.commands();
    auto lookOf = [&commands](int index) {
        QAction *button = commands.button(index);
        if (button->isSeparator()) {
            QPixmap blank(24, 24); // keeps the separator's name in line with the others
            blank.fill(Qt::transparent);
            return ToolbarCustomize::ButtonLook{QIcon(blank), texts::separatorName(), QString()};
        }
        return ToolbarCustomize::ButtonLook{button->icon(), texts::buttonDescription(index), button->toolTip()};
    };
    auto *dialog = new ToolbarCustomize(arrangement(), kButtonCount, lookOf, app_.dialogParent());
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(dialog, &QDialog::accepted, dialog, [this, dialog] { apply(dialog->arrangement()); });
    dialog->open();
}

void ToolbarCommands::Mnu_SauverBarre_Click()
{
    SaveToolbar();
}

void ToolbarCommands::Mnu_RestaurerBarre_Click()
{
    RestoreToolbar();
}

void ToolbarCommands::SaveToolbar()
{
    app_.services().settings->set(kStoreApp, kStoreSection, kStoreKey, toolbar::formatArrangement(arrangement()));
}

void ToolbarCommands::RestoreToolbar()
{
    const QString saved = app_.services().settings->get(kStoreApp, kStoreSection, kStoreKey);
    apply(toolbar::parseArrangement(saved, kButtonCount).value_or(toolbar::defaultArrangement(kButtonCount)));
}

toolbar::Arrangement ToolbarCommands::arrangement() const
{
    toolbar::Arrangement shown;
    const QList<QAction *> onBar = app_.toolbar()->actions();
    for (QAction *action : onBar) {
        for (int index = 1; index <= kButtonCount; ++index) {
            if (app_.commands().button(index) == action)
                shown.append(index);
        }
    }
    return shown;
}

// The buttons keep their actions (and so their index, key and state); only their places
// on the bar change. A new button widget tracks the mouse, and its moves reach the toolbar's
// own mouse-move handling.
void ToolbarCommands::apply(const toolbar::Arrangement &shown)
{
    if (shown == arrangement())
        return;
    QToolBar *bar = app_.toolbar();
    for (int index = 1; index <= kButtonCount; ++index)
        bar->removeAction(app_.commands().button(index));
    for (int index : shown) {
        QAction *button = app_.commands().button(index);
        bar->addAction(button);
        if (QWidget *w = bar->widgetForAction(button); w && !button->isSeparator()) {
            w->setMouseTracking(true);
            w->installEventFilter(moveWatch_);
            w->setAccessibleName(button->data().toString());
        }
    }
}

} // namespace tarmel
