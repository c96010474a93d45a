#include "app/WindowCommands.h"

#include "app/AppContext.h"
#include "app/Arrange.h"
#include "document/Form1.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPointer>

namespace tarmel {

WindowCommands::WindowCommands(AppContext &app, QMdiArea *mdi, QMenu *windowMenu)
    : app_(app), mdi_(mdi), windowMenu_(windowMenu)
{
    app.registerCommand(QStringLiteral("Mnu_Cascade"), [this] { Mnu_Cascade_Click(); });
    app.registerCommand(QStringLiteral("Mnu_MosaHor"), [this] { Mnu_MosaHor_Click(); });
    app.registerCommand(QStringLiteral("Mnu_MosaVert"), [this] { Mnu_MosaVert_Click(); });
    QObject::connect(windowMenu_, &QMenu::aboutToShow, windowMenu_, [this] { refreshWindowMenu(); });
}

void WindowCommands::arrange(Arrangement arrangement)
{
    if (arrangement == Arrangement::Cascade) {
        mdi_->cascadeSubWindows();
        return;
    }
    QList<QMdiSubWindow *> subs;
    for (QMdiSubWindow *sub : mdi_->subWindowList(QMdiArea::StackingOrder)) {
        if (!sub->isMinimized() && sub->isVisible())
            subs.append(sub);
    }
    const QRect area = mdi_->viewport()->rect();
    const QList<QRect> rects = tileRects(area.size(), int(subs.size()), arrangement == Arrangement::Horizontal);
    for (int i = 0; i < subs.size(); ++i) {
        subs[i]->showNormal();
        subs[i]->setGeometry(rects[i]);
    }
}

void WindowCommands::refreshWindowMenu()
{
    for (QAction *a : std::as_const(windowListActions_)) {
        windowMenu_->removeAction(a);
        a->deleteLater();
    }
    windowListActions_.clear();
    const QList<Form1 *> docs = app_.documents();
    if (docs.isEmpty())
        return;
    windowListActions_.append(windowMenu_->addSeparator());
    int n = 0;
    Form1 *active = app_.activeDocument();
    for (Form1 *doc : docs) {
        ++n;
        QString label = doc->caption();
        label.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction *a = windowMenu_->addAction(n < 10 ? QStringLiteral("&%1 %2").arg(n).arg(label) : label);
        a->setCheckable(true);
        a->setChecked(doc == active);
        QPointer<Form1> target(doc);
        QObject::connect(a, &QAction::triggered, windowMenu_, [this, target] {
            if (target)
                app_.activateDocument(target);
        });
        windowListActions_.append(a);
    }
}

} // namespace tarmel
