#include "app/MDIForm1.h"

#include "app/AppTexts.h"
#include "app/Arrange.h"
#include "app/HandOff.h"
#include "app/Menus.h"
#include "app/Paths.h"
#include "document/Form1.h"
#include "document/StatusBar1Widget.h"
#include "platform/RichTextBox.h"
#include "settings/ConfigFile.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QIcon>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

namespace tarmel {

MDIForm1::MDIForm1(const platform::Services &services, QWidget *parent)
    : QMainWindow(parent), services_(services), mdi_(new QMdiArea(this))
{
    setObjectName(QStringLiteral("MDIForm1"));
    setWindowTitle(QString::fromUtf16(texts::MainCaption));
    mdi_->setObjectName(QStringLiteral("MDIClient"));
    mdi_->setBackground(palette().brush(QPalette::Dark));
    setCentralWidget(mdi_);
    buildMenus();
    buildToolbar();
    connectCommands();

    connect(mdi_, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow *sub) {
        if (sub)
            documentActivated(qobject_cast<Form1 *>(sub->widget()));
    });

    timer1_ = new QTimer(this);
    timer1_->setInterval(30);
    connect(timer1_, &QTimer::timeout, this, &MDIForm1::Timer1_Timer);
}

MDIForm1::~MDIForm1()
{
    // The documents go first, while the menus and state they report to still exist.
    for (Form1 *doc : findChildren<Form1 *>()) {
        QObject::disconnect(doc->Text1, nullptr, doc, nullptr);
        doc->Timer1->stop();
    }
    for (QMdiSubWindow *sub : mdi_->subWindowList())
        delete sub;
}

void MDIForm1::buildMenus()
{
    QHash<QString, QMenu *> menus;
    for (const menus::MenuItem &item : menus::kMenuBar) {
        QMenu *parentMenu = item.parent ? menus.value(QString::fromUtf16(item.parent)) : nullptr;
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
            menus.insert(name, menu);
            action = menu->menuAction();
        } else {
            action = parentMenu->addAction(caption);
            if (item.shortcut)
                action->setShortcut(QKeySequence(QString::fromUtf16(item.shortcut)));
        }
        action->setObjectName(name);
        action->setEnabled(!item.offAtCreation);
        actions_.insert(name, action);
    }
    windowMenu_ = menus.value(QStringLiteral("Mnu_Fenêtre"));
    connect(windowMenu_, &QMenu::aboutToShow, this, &MDIForm1::refreshWindowMenu);
    connect(menus.value(QStringLiteral("Mnu_Edit")), &QMenu::aboutToShow, this, &MDIForm1::Mnu_Edit_Click);
}

void MDIForm1::buildToolbar()
{
    toolbar_ = addToolBar(QStringLiteral("Barre d'outils"));
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
            button->setObjectName(QStringLiteral("Toolbar1(%1)").arg(index));
        } else {
            const QString key = QString::fromUtf16(b.key);
            QIcon icon = QIcon::fromTheme(QString::fromLatin1(b.icon));
            button = toolbar_->addAction(icon, key);
            button->setObjectName(QStringLiteral("Toolbar1(%1)").arg(index));
            button->setData(key);
            button->setToolTip(QString::fromUtf16(b.tooltip));
            connect(button, &QAction::triggered, this, [this, key] { Toolbar1_ButtonClick(key); });
            if (QWidget *w = toolbar_->widgetForAction(button)) {
                w->setMouseTracking(true);
                w->installEventFilter(this);
                w->setAccessibleName(key);
            }
        }
        buttons_.append(button);
    }
}

QAction *MDIForm1::action(const QString &name) const
{
    return actions_.value(name);
}

QAction *MDIForm1::button(int index) const
{
    return index >= 1 && index <= buttons_.size() ? buttons_.at(index - 1) : nullptr;
}

QHash<QObject *, bool> MDIForm1::commandState() const
{
    QHash<QObject *, bool> state;
    for (QAction *a : actions_)
        state.insert(a, a->isEnabled());
    for (QAction *b : buttons_)
        state.insert(b, b->isEnabled());
    return state;
}

void MDIForm1::restoreCommandState(const QHash<QObject *, bool> &state)
{
    for (auto it = state.begin(); it != state.end(); ++it)
        static_cast<QAction *>(it.key())->setEnabled(it.value());
}

void MDIForm1::setButtonEnabled(int index, bool enabled)
{
    if (QAction *b = button(index); b && !b->isSeparator())
        b->setEnabled(enabled);
}

void MDIForm1::connectCommands()
{
    auto on = [this](const char16_t *name, auto handler) {
        connect(action(QString::fromUtf16(name)), &QAction::triggered, this, handler);
    };
    on(u"Mnu_Nouveau", [this] { Mnu_Nouveau_Click(); });
    on(u"Mnu_Ouvrir", [this] { Mnu_Ouvrir_Click(); });
    on(u"Mnu_Close", [this] { Mnu_Close_Click(); });
    on(u"Mnu_Enregistrer", [this] { Mnu_Enregistrer_Click(); });
    on(u"Mnu_EnregistrerSous", [this] { Mnu_EnregistrerSous_Click(); });
    on(u"Mnu_Quitter", [this] { Mnu_Quitter_Click(); });
    on(u"Mnu_Annuler", [this] { Mnu_Annuler_Click(); });
    on(u"Mnu_Edition(4)", [this] { Mnu_Edition_Click(4); });
    on(u"Mnu_Edition(5)", [this] { Mnu_Edition_Click(5); });
    on(u"Mnu_Edition(6)", [this] { Mnu_Edition_Click(6); });
    on(u"Mnu_Supprimer", [this] { Mnu_Supprimer_Click(); });
    on(u"Mnu_VidePresPap", [this] { Mnu_VidePresPap_Click(); });
    on(u"Mnu_ToutSelect", [this] { Mnu_ToutSelect_Click(); });
    on(u"Mnu_Desel", [this] { Mnu_Desel_Click(); });
    on(u"Mnu_Fusionner", [this] { Mnu_Fusionner_Click(); });
    on(u"Mnu_D1", [this] { Mnu_D_Click(1); });
    on(u"Mnu_D2", [this] { Mnu_D_Click(2); });
    on(u"Mnu_D3", [this] { Mnu_D_Click(3); });
    on(u"Mnu_D4", [this] { Mnu_D_Click(4); });
    on(u"Mnu_D5", [this] { Mnu_D_Click(5); });
    on(u"Mnu_Cascade", [this] { Mnu_Cascade_Click(); });
    on(u"Mnu_MosaHor", [this] { Mnu_MosaHor_Click(); });
    on(u"Mnu_MosaVert", [this] { Mnu_MosaVert_Click(); });
    on(u"Mnu_Renumeroter", [this] { Mnu_Renumeroter_Click(); });
    on(u"Mnu_NumAuto", [this] { Mnu_NumAuto_Click(); });
    on(u"Mnu_AfficherBarre", [this] {
        toolbar_->show();
        action(QStringLiteral("Mnu_MasquerBarre"))->setEnabled(true);
        action(QStringLiteral("Mnu_AfficherBarre"))->setEnabled(false);
    });
    on(u"Mnu_MasquerBarre", [this] {
        toolbar_->hide();
        action(QStringLiteral("Mnu_MasquerBarre"))->setEnabled(false);
        action(QStringLiteral("Mnu_AfficherBarre"))->setEnabled(true);
    });
}

void MDIForm1::Toolbar1_ButtonClick(const QString &key)
{
    // The first matching key runs; an unknown key does nothing.
    static const QList<QPair<QString, void (MDIForm1::*)()>> table = {
        {QStringLiteral("Nouveau"), &MDIForm1::Mnu_Nouveau_Click},
        {QStringLiteral("Ouvrir"), &MDIForm1::Mnu_Ouvrir_Click},
        {QStringLiteral("Enregistrer"), &MDIForm1::Mnu_Enregistrer_Click},
        {QStringLiteral("Fermer"), &MDIForm1::Mnu_Close_Click},
        {QStringLiteral("Annuler"), &MDIForm1::Mnu_Annuler_Click},
        {QStringLiteral("Supprimer"), &MDIForm1::Mnu_Supprimer_Click},
        {QStringLiteral("Quitter"), &MDIForm1::Mnu_Quitter_Click},
    };
    if (key == QLatin1String("EnregistrerSous")) {
        Mnu_EnregistrerSous_Click();
        return;
    }
    if (key == QLatin1String("Couper") || key == QLatin1String("Copier") || key == QLatin1String("Coller")) {
        Mnu_Edition_Click(key == QLatin1String("Couper") ? 4 : key == QLatin1String("Copier") ? 5 : 6);
        return;
    }
    for (const auto &[k, handler] : table) {
        if (k == key) {
            (this->*handler)();
            return;
        }
    }
    // "Imprimer", "Rechercher", "Remplacer", "Aide" and "Apropos" run their menu command
    // once it exists.
    static const QHash<QString, QString> menuOf = {
        {QStringLiteral("Imprimer"), QStringLiteral("Mnu_Imprimer")},
        {QStringLiteral("Rechercher"), QStringLiteral("Mnu_Rechercher")},
        {QStringLiteral("Remplacer"), QStringLiteral("Mnu_Remplacer")},
        {QStringLiteral("Aide"), QStringLiteral("Mnu_SommAide")},
        {QStringLiteral("Apropos"), QStringLiteral("Mnu_Apropos")},
    };
    if (QAction *a = action(menuOf.value(key)))
        a->trigger();
}

bool MDIForm1::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseMove)
        Toolbar1_MouseMove();
    else if (event->type() == QEvent::MouseButtonRelease && watched == toolbar_)
        Toolbar1_Click();
    return QMainWindow::eventFilter(watched, event);
}

void MDIForm1::Toolbar1_MouseMove()
{
    Mnu_Edit_Click();
}

// ---------------------------------------------------------------- start-up

bool MDIForm1::startUp(const QStringList &arguments)
{
    platform::Shell &shell = *services_.shell;
    const QString folder = AddBackslash(shell.programFolder());
    const Config config = readConfig(folder + QStringLiteral("Tarmel.cfg"));
    state_.MaximizeDocuments = qint16(config.MaximizeDocuments);
    state_.EditorFontName = config.EditorFontName;
    state_.EditorFontSize = config.EditorFontSize;
    state_.ToolbarVisible = qint16(config.ToolbarVisible);
    state_.HeaderOption = qint16(config.HeaderOption);

    toolbar_->setVisible(state_.ToolbarVisible != 0);
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
    if (!shell.previousInstanceRunning())
        recoverInterruptedHandOffs(shell.programFolder());
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
    QMdiSubWindow *sub = mdi_->addSubWindow(doc);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setWindowIcon(QIcon::fromTheme(QStringLiteral("text-x-generic")));
    sub->resize(sub->sizeHint());
    connect(sub, &QObject::destroyed, this, [this] { QTimer::singleShot(0, this, [this] { refreshWindowMenu(); }); });
    doc->Text1->setText(QString());
    doc->hidePanels();
    for (const QString &name : {QStringLiteral("Mnu_Edition(4)"), QStringLiteral("Mnu_Edition(5)"),
                                QStringLiteral("Mnu_Edition(6)"), QStringLiteral("Mnu_Supprimer")})
        doc->Text1->addCommandKey(action(name));
    if (state_.MaximizeDocuments == 1)
        sub->showMaximized();
    else
        sub->show();
    mdi_->setActiveSubWindow(sub);
    doc->Text1->setFocus();
    return doc;
}

void MDIForm1::NouveauFichier()
{
    Form1 *doc = createDocument();
    doc->setCaption(QString::fromUtf16(texts::NewDocument));
    doc->StatusBar1->setPanelText(1, QString::fromUtf16(texts::NewDocument));
    doc->Change = false;

    setEditPasteState(!services_.clipboard->text().isEmpty());
    for (int b : {9, 10, 12})
        setButtonEnabled(b, false);

    doc->hidePanels();
    if (doc->caption().isEmpty()) {
        doc->setCaption(QString::fromUtf16(texts::NewDocument));
        doc->StatusBar1->setPanelText(1, QString::fromUtf16(texts::NewDocument));
    }
    action(QStringLiteral("Mnu_Fusionner"))->setEnabled(false);
    setButtonEnabled(3, false);
    for (int b : {4, 5, 6, 14, 15})
        setButtonEnabled(b, true);
    InitMenu();
    Mnu_Edit_Click();
}

void MDIForm1::setEditPasteState(bool clipboardHasText)
{
    action(QStringLiteral("Mnu_VidePresPap"))->setEnabled(clipboardHasText);
    action(QStringLiteral("Mnu_Edition(6)"))->setEnabled(clipboardHasText);
    setButtonEnabled(11, clipboardHasText);
}

void MDIForm1::InitMenu()
{
    const bool any = loadedWindowCount() != 1;
    for (const char16_t *name : {u"Mnu_Close", u"Mnu_Enregistrer", u"Mnu_EnregistrerSous", u"Mnu_Imprimer",
                                 u"Mnu_Edit", u"Mnu_Outils", u"Mnu_Fenêtre", u"Mnu_Affichage"})
        action(QString::fromUtf16(name))->setEnabled(any);
    if (any) {
        action(QStringLiteral("Mnu_Rechercher"))->setEnabled(true);
        action(QStringLiteral("Mnu_Remplacer"))->setEnabled(true);
    }
    for (int b : {3, 4, 5, 6, 14, 15})
        setButtonEnabled(b, any);
}

void MDIForm1::documentActivated(Form1 *doc)
{
    if (!doc)
        return;
    action(QStringLiteral("Mnu_Annuler"))->setEnabled(doc->AnnulRedo);
    setButtonEnabled(8, doc->AnnulRedo);
}

void MDIForm1::setPanelCommandsEnabled(bool enabled)
{
    for (const char16_t *name : {u"Mnu_Rechercher", u"Mnu_Remplacer", u"Mnu_Renumeroter", u"Mnu_NumAuto"})
        action(QString::fromUtf16(name))->setEnabled(enabled);
    setButtonEnabled(14, enabled);
    setButtonEnabled(15, enabled);
}

bool MDIForm1::documentCloseRequest(Form1 *doc)
{
    if (!doc->Change)
        return true;
    mdi_->setActiveSubWindow(qobject_cast<QMdiSubWindow *>(doc->parentWidget()));
    state_.FileName = doc->caption();
    const QString text = QString::fromUtf16(texts::CloseBefore) + state_.FileName + QString::fromUtf16(texts::CloseAfter);
    const int answer = services_.messageBox->show(text, platform::mb::YesNo + platform::mb::Exclamation,
                                                  QString::fromUtf16(texts::CloseTitle));
    if (answer != platform::mb::AnswerYes)
        return true;
    // A document never saved goes through Save As, preset to Nouveau.iso in the current
    // folder; a failed or cancelled save keeps the window open, so nothing is lost.
    const QString path = state_.FileName;
    if (path.isEmpty() || path == QString::fromUtf16(texts::NewDocument)) {
        doc->setCaption(AddBackslash(services_.shell->currentFolder()) + QString::fromUtf16(texts::NewDocument));
        const bool saved = saveDocumentAs(doc);
        if (!saved)
            doc->setCaption(QString::fromUtf16(texts::NewDocument));
        return saved;
    }
    return saveDocument(doc, path);
}

void MDIForm1::documentClosed(Form1 *doc)
{
    // A window closed with one of its panels open gives back what the panel took, unless
    // another window still has a panel open.
    const auto others = documents();
    const bool otherPanelOpen = std::any_of(others.begin(), others.end(), [doc](Form1 *other) {
        return other != doc && other->anyPanelVisible();
    });
    if (doc->anyPanelVisible() && !otherPanelOpen)
        setPanelCommandsEnabled(true);
    if (!doc->Frame6->isHidden())
        state_.NumAutoActif = 0;
}

bool MDIForm1::closeDocument(Form1 *doc)
{
    auto *sub = qobject_cast<QMdiSubWindow *>(doc->parentWidget());
    if (!sub)
        return false;
    return sub->close();
}

void MDIForm1::Mnu_Nouveau_Click()
{
    NouveauFichier();
}

void MDIForm1::Mnu_Close_Click()
{
    if (loadedWindowCount() > 1) {
        if (Form1 *doc = activeDocument())
            closeDocument(doc);
    }
    InitMenu();
}

void MDIForm1::Mnu_Quitter_Click()
{
    const int answer = services_.messageBox->show(
        QString::fromUtf16(texts::QuitText),
        platform::mb::YesNo + platform::mb::Question + platform::mb::DefaultButton2,
        QString::fromUtf16(texts::QuitTitle));
    if (answer != platform::mb::AnswerYes)
        return;
    const int c = loadedWindowCount();
    for (int i = 1; i < c; ++i) {
        Form1 *doc = activeDocument();
        if (!doc)
            break;
        if (!closeDocument(doc)) {
            InitMenu();
            return; // a document that could not be saved stays open, and so does the program
        }
    }
    close();
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

// ---------------------------------------------------------------- arrangement

void MDIForm1::arrange(int code)
{
    if (code == 0) {
        mdi_->cascadeSubWindows();
        return;
    }
    QList<QMdiSubWindow *> subs;
    for (QMdiSubWindow *sub : mdi_->subWindowList(QMdiArea::StackingOrder)) {
        if (!sub->isMinimized() && sub->isVisible())
            subs.append(sub);
    }
    const QRect area = mdi_->viewport()->rect();
    const QList<QRect> rects = tileRects(area.size(), int(subs.size()), code == 1);
    for (int i = 0; i < subs.size(); ++i) {
        subs[i]->showNormal();
        subs[i]->setGeometry(rects[i]);
    }
}

void MDIForm1::Mnu_Cascade_Click()
{
    arrange(0);
}

void MDIForm1::Mnu_MosaHor_Click()
{
    arrange(1);
}

void MDIForm1::Mnu_MosaVert_Click()
{
    arrange(2);
}

void MDIForm1::refreshWindowMenu()
{
    for (QAction *a : std::as_const(windowListActions_)) {
        windowMenu_->removeAction(a);
        a->deleteLater();
    }
    windowListActions_.clear();
    const QList<Form1 *> docs = documents();
    if (docs.isEmpty())
        return;
    windowListActions_.append(windowMenu_->addSeparator());
    int n = 0;
    Form1 *active = activeDocument();
    for (Form1 *doc : docs) {
        ++n;
        QString label = doc->caption();
        label.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction *a = windowMenu_->addAction(n < 10 ? QStringLiteral("&%1 %2").arg(n).arg(label) : label);
        a->setCheckable(true);
        a->setChecked(doc == active);
        QPointer<Form1> target(doc);
        connect(a, &QAction::triggered, this, [this, target] {
            if (target)
                mdi_->setActiveSubWindow(qobject_cast<QMdiSubWindow *>(target->parentWidget()));
        });
        windowListActions_.append(a);
    }
}

} // namespace tarmel
