#include "app/MDIForm1.h"

#include "app/AppTexts.h"
#include "app/CommandState.h"
#include "app/DocumentEvents.h"
#include "app/Features.h"
#include "app/HandOff.h"
#include "app/Menus.h"
#include "app/Paths.h"
#include "commands/DateFormats.h"
#include "document/Form1.h"
#include "platform/RichTextBox.h"
#include "settings/ConfigFile.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QIcon>
#include <QLocale>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>
#include <QToolBar>

namespace tarmel {

MDIForm1::MDIForm1(const platform::Services &services, QWidget *parent)
    : QMainWindow(parent), services_(services), mdi_(new QMdiArea(this)), events_(new DocumentEvents(this))
{
    setObjectName(QStringLiteral("MDIForm1"));
    setWindowTitle(texts::mainCaption());
    mdi_->setObjectName(QStringLiteral("MDIClient"));
    mdi_->setBackground(palette().brush(QPalette::Dark));
    setCentralWidget(mdi_);
    buildMenus();
    buildToolbar();
    commands_ = new CommandState(actions_, buttons_, menus_, this);
    features_ = std::make_unique<Features>(*this, mdi_, menus_.value(QStringLiteral("Mnu_Fenêtre")));

    connect(mdi_, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow *sub) {
        if (auto *doc = sub ? qobject_cast<Form1 *>(sub->widget()) : nullptr)
            emit events_->activated(doc);
    });

    timer1_ = new QTimer(this);
    timer1_->setInterval(30);
    connect(timer1_, &QTimer::timeout, this, &MDIForm1::Timer1_Timer);
}

MDIForm1::~MDIForm1()
{
    // The documents go first, while the menus and features they report to still exist; their
    // going activates no other window for the features to hear about.
    disconnect(mdi_, nullptr, this, nullptr);
    for (Form1 *doc : findChildren<Form1 *>()) {
        QObject::disconnect(doc->Text1, nullptr, doc, nullptr);
        doc->Timer1->stop();
    }
    for (QMdiSubWindow *sub : mdi_->subWindowList())
        delete sub;
}

void MDIForm1::buildMenus()
{
    for (const menus::MenuItem &item : menus::kMenuBar) {
        QMenu *parentMenu = item.parent ? menus_.value(QString::fromUtf16(item.parent)) : nullptr;
        if (!item.name) {
            parentMenu->addSeparator();
            continue;
        }
        const QString name = QString::fromUtf16(item.name);
        const QString caption = QString::fromUtf16(item.caption);
        QAction *action;
        if (item.isMenu) {
            QMenu *menu = parentMenu ? parentMenu->addMenu(caption) : menuBar()->addMenu(caption);
            menu->setObjectName(name);
            menus_.insert(name, menu);
            action = menu->menuAction();
        } else {
            action = parentMenu->addAction(caption);
            if (item.shortcut)
                action->setShortcut(QKeySequence(QString::fromUtf16(item.shortcut)));
            connect(action, &QAction::triggered, this, [this, name] { runCommand(name); });
        }
        action->setObjectName(name);
        action->setEnabled(!item.offAtCreation);
        actions_.insert(name, action);
    }
}

void MDIForm1::buildToolbar()
{
    toolbar_ = addToolBar(texts::toolbarTitle());
    toolbar_->setObjectName(QStringLiteral("Toolbar1"));
    toolbar_->setMovable(false);
    toolbar_->setIconSize(QSize(24, 24));
    toolbar_->setMouseTracking(true);
    toolbar_->installEventFilter(this);
    int index = 0;
    for (const menus::ToolbarButton &b : menus::kToolbar) {
        ++index;
        QAction *button;
        if (!b.key) {
            button = toolbar_->addSeparator();
        } else {
            const QString key = QString::fromUtf16(b.key);
            button = toolbar_->addAction(QIcon::fromTheme(QString::fromLatin1(b.icon)), key);
            button->setData(key);
            button->setToolTip(QString::fromUtf16(b.tooltip));
            connect(button, &QAction::triggered, this, [this, key] { Toolbar1_ButtonClick(key); });
            if (QWidget *w = toolbar_->widgetForAction(button)) {
                w->setMouseTracking(true);
                w->installEventFilter(this);
                w->setAccessibleName(key);
            }
        }
        button->setObjectName(QStringLiteral("Toolbar1(%1)").arg(index));
        buttons_.append(button);
    }
}

void MDIForm1::registerCommand(const QString &itemName, std::function<void()> handler)
{
    handlers_.insert(itemName, std::move(handler));
}

void MDIForm1::runCommand(const QString &name)
{
    if (const auto it = handlers_.constFind(name); it != handlers_.constEnd())
        (*it)();
}

QAction *MDIForm1::action(const QString &name) const
{
    return actions_.value(name);
}

QAction *MDIForm1::button(int index) const
{
    return commands_->button(index);
}

// A button runs the command of its menu item by its own enabled state: a disabled item does
// not silence an enabled button. An unknown key does nothing.
void MDIForm1::Toolbar1_ButtonClick(const QString &key)
{
    for (const menus::ToolbarButton &b : menus::kToolbar) {
        if (b.key && key == QStringView(b.key)) {
            runCommand(QString::fromUtf16(b.command));
            return;
        }
    }
}

bool MDIForm1::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseMove)
        Toolbar1_MouseMove();
    else if (event->type() == QEvent::MouseButtonRelease && watched == toolbar_)
        Toolbar1_Click();
    return QMainWindow::eventFilter(watched, event);
}

void MDIForm1::Toolbar1_Click()
{
    features_->edit.Toolbar1_Click();
}

void MDIForm1::Toolbar1_MouseMove()
{
    Mnu_Edit_Click();
}

void MDIForm1::setToolbarVisible(bool visible)
{
    toolbar_->setVisible(visible);
}

// ---------------------------------------------------------------- start-up

void MDIForm1::applyConfiguration()
{
    const QString folder = AddBackslash(services_.shell->programFolder());
    const Config config = readConfig(folder + QStringLiteral("Tarmel.cfg"));
    state_.MaximizeDocuments = qint16(config.MaximizeDocuments);
    state_.EditorFontName = config.EditorFontName;
    state_.EditorFontSize = config.EditorFontSize;
    state_.ToolbarVisible = qint16(config.ToolbarVisible);
    state_.HeaderOption = qint16(config.HeaderOption);
    toolbar_->setVisible(state_.ToolbarVisible != 0);
}

bool MDIForm1::startUp(const QStringList &arguments)
{
    platform::Shell &shell = *services_.shell;
    applyConfiguration();
    features_->toolbar.RestoreToolbar();
    state_.SensRecherche = 1.0f;

    const QString raw = commandLinePath(arguments, shell.currentFolder());
    if (!raw.isEmpty()) {
        // A second instance hands its file to the one already running and ends at once.
        // (When the hand-off cannot be written, this instance opens the file itself.)
        if (shell.previousInstanceRunning() && writeHandOff(shell.programFolder(), raw))
            return false;
        state_.FileName = LongPathOf(raw);
        OpenFile(state_.FileName);
    }
    // The first instance holds the lock from now on, and takes back what a crashed
    // predecessor had claimed but not opened.
    if (!shell.previousInstanceRunning()) {
        recoverInterruptedHandOffs(shell.programFolder());
        features_->recovery.offerRecovery();
    }
    setWindowState(windowState() | Qt::WindowMaximized);
    InitMenu();
    timer1_->start();
    return true;
}

void MDIForm1::Timer1_Timer()
{
    // Not while a hand-off is being opened (OpenFile may be showing a message), nor while
    // the user answers a dialog: a new window would become the active one under it.
    if (inHandOff_ || QApplication::activeModalWidget())
        return;
    inHandOff_ = true;
    const QString folder = services_.shell->programFolder();
    while (const std::optional<QString> path = takeNextHandOff(folder)) {
        state_.FileName = *path;
        OpenFile(LongPathOf(state_.FileName));
    }
    inHandOff_ = false;
}

// ---------------------------------------------------------------- documents

Form1 *MDIForm1::activeDocument() const
{
    QMdiSubWindow *sub = mdi_->currentSubWindow();
    auto *doc = sub ? qobject_cast<Form1 *>(sub->widget()) : nullptr;
    if (doc && doc->isClosed()) {
        const QList<Form1 *> open = documents();
        doc = open.isEmpty() ? nullptr : open.last();
    }
    return doc;
}

QList<Form1 *> MDIForm1::documents() const
{
    QList<Form1 *> list;
    for (QMdiSubWindow *sub : mdi_->subWindowList(QMdiArea::CreationOrder)) {
        auto *doc = qobject_cast<Form1 *>(sub->widget());
        if (doc && !doc->isClosed())
            list.append(doc);
    }
    return list;
}

int MDIForm1::loadedWindowCount() const
{
    return 1 + int(documents().size());
}

Form1 *MDIForm1::createDocument()
{
    auto *doc = new Form1(*this);
    doc->Text1->setBaseFont(state_.EditorFontName, state_.EditorFontSize);
    QMdiSubWindow *sub = mdi_->addSubWindow(doc);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setWindowIcon(QIcon::fromTheme(QStringLiteral("text-x-generic")));
    sub->resize(sub->sizeHint());
    connect(sub, &QObject::destroyed, this,
            [this] { QTimer::singleShot(0, this, [this] { features_->windows.refreshWindowMenu(); }); });
    emit events_->created(doc);
    doc->Loading = true; // the empty text of a new window is no edit
    doc->Text1->setText(QString());
    doc->Loading = false;
    doc->hidePanels();
    if (state_.MaximizeDocuments == 1)
        sub->showMaximized();
    else
        sub->show();
    mdi_->setActiveSubWindow(sub);
    doc->Text1->setFocus();
    return doc;
}

void MDIForm1::activateDocument(Form1 *doc)
{
    mdi_->setActiveSubWindow(qobject_cast<QMdiSubWindow *>(doc->parentWidget()));
}

bool MDIForm1::closeDocument(Form1 *doc)
{
    auto *sub = qobject_cast<QMdiSubWindow *>(doc->parentWidget());
    return sub && sub->close();
}

// The document-dependent commands follow the number of loaded windows; with no document,
// nothing on the toolbar acts on one.
void MDIForm1::InitMenu()
{
    const bool any = loadedWindowCount() != 1;
    commands_->set({Command::Close, Command::Save, Command::SaveAs, Command::Print}, any, Surface::Item);
    commands_->setDocumentMenus(any);
    if (any)
        commands_->set({Command::Find, Command::Replace}, true, Surface::Item);
    commands_->set({Command::Save, Command::SaveAs, Command::Print, Command::Close, Command::Find, Command::Replace},
                   any, Surface::Button);
    if (!any)
        commands_->set({Command::Undo, Command::Cut, Command::Copy, Command::Paste, Command::Delete}, false,
                       Surface::Button);
}

bool MDIForm1::documentCloseRequest(Form1 *doc)
{
    return features_->files.documentCloseRequest(doc);
}

void MDIForm1::documentClosed(Form1 *doc)
{
    emit events_->closed(doc);
    // A window closed with one of its panels open gives back what the panel took, unless
    // another window still has a panel open.
    const auto others = documents();
    const bool otherPanelOpen = std::any_of(others.begin(), others.end(), [doc](Form1 *other) {
        return other != doc && other->anyPanelVisible();
    });
    if (doc->anyPanelVisible() && !otherPanelOpen)
        commands_->setPanelCommands(true);
    InitMenu();
}

void MDIForm1::panelShown(Form1 *)
{
    commands_->setPanelCommands(false);
}

void MDIForm1::panelClosed(Form1 *)
{
    commands_->setPanelCommands(true);
}

QDateTime MDIForm1::now() const
{
    return services_.clock->now();
}

QString MDIForm1::shortDate(const QDateTime &moment) const
{
    return shortDateText(moment, QLocale());
}

void MDIForm1::closeEvent(QCloseEvent *event)
{
    for (Form1 *doc : documents()) {
        if (!closeDocument(doc)) {
            InitMenu();
            event->ignore();
            return;
        }
    }
    event->accept();
}

// ---------------------------------------------------------------- shared routines

void MDIForm1::NouveauFichier() { features_->files.NouveauFichier(); }
void MDIForm1::OpenFile(const QString &path) { features_->files.OpenFile(path); }
bool MDIForm1::SaveFile(const QString &path) { return features_->files.SaveFile(path); }
bool MDIForm1::Mnu_EnregistrerSous_Click() { return features_->files.Mnu_EnregistrerSous_Click(); }
void MDIForm1::Mnu_Annuler_Click() { features_->edit.Mnu_Annuler_Click(); }
void MDIForm1::Mnu_Edit_Click() { features_->edit.Mnu_Edit_Click(); }
void MDIForm1::RecordUndoSnapshot(Form1 *doc) { features_->edit.RecordUndoSnapshot(doc); }
void MDIForm1::SupprimAccents() { features_->transform.SupprimAccents(); }
void MDIForm1::FindIt() { features_->search.FindIt(); }
void MDIForm1::Remplace() { features_->search.Remplace(); }

} // namespace tarmel
