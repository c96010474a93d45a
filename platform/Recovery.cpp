#include "platform/Recovery.h"

#include "platform/RecoveryDialog.h"
#include "recovery/Journal.h"
#include "recovery/RecoveryTexts.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace platform {

RecoveryDialog::RecoveryDialog(const QList<RecoveryItem> &items, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("RecoveryDialog"));
    setWindowTitle(tarmel::texts::recoveryTitle());
    auto *layout = new QVBoxLayout(this);
    auto *intro = new QLabel(tarmel::texts::recoveryIntro(), this);
    intro->setWordWrap(true);
    layout->addWidget(intro);

    list = new QTreeWidget(this);
    list->setObjectName(QStringLiteral("RecoveryList"));
    list->setAccessibleName(tarmel::texts::recoveryTitle());
    list->setRootIsDecorated(false);
    list->setHeaderLabels({tarmel::texts::recoveryFileColumn(), tarmel::texts::recoveryFolderColumn(),
                           tarmel::texts::recoveryTimeColumn()});
    for (const RecoveryItem &item : items) {
        auto *row = new QTreeWidgetItem(list, {item.fileName, item.folder,
                                               item.written.toLocalTime().toString(tarmel::texts::recoveryTimeFormat())});
        row->setFlags(row->flags() | Qt::ItemIsUserCheckable);
        row->setCheckState(0, Qt::Checked);
        row->setToolTip(1, item.folder);
    }
    list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    list->header()->setStretchLastSection(false);
    layout->addWidget(list);
    connect(list, &QTreeWidget::itemChanged, this, &RecoveryDialog::updateButtons);

    auto *buttons = new QDialogButtonBox(this);
    reopenButton = buttons->addButton(tarmel::texts::recoveryReopen(), QDialogButtonBox::AcceptRole);
    discardButton = buttons->addButton(tarmel::texts::recoveryDiscard(), QDialogButtonBox::DestructiveRole);
    laterButton = buttons->addButton(tarmel::texts::recoveryLater(), QDialogButtonBox::RejectRole);
    reopenButton->setDefault(true);
    reopenButton->setObjectName(QStringLiteral("RecoveryReopen"));
    discardButton->setObjectName(QStringLiteral("RecoveryDiscard"));
    laterButton->setObjectName(QStringLiteral("RecoveryLater"));
    connect(reopenButton, &QPushButton::clicked, this, [this] {
        action_ = RecoveryAnswer::Action::Reopen;
        accept();
    });
    connect(discardButton, &QPushButton::clicked, this, [this] {
        action_ = RecoveryAnswer::Action::Discard;
        accept();
    });
    // "Plus tard", Escape and the close button all keep every journal.
    connect(laterButton, &QPushButton::clicked, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(qMax(sizeHint().width(), 640), qMax(sizeHint().height(), 320));
    list->setFocus();
}

void RecoveryDialog::updateButtons()
{
    bool any = false;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        any = any || list->topLevelItem(i)->checkState(0) == Qt::Checked;
    reopenButton->setEnabled(any);
    discardButton->setEnabled(any);
}

RecoveryAnswer RecoveryDialog::answer() const
{
    RecoveryAnswer a;
    a.action = result() == QDialog::Accepted ? action_ : RecoveryAnswer::Action::Later;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        a.chosen.append(list->topLevelItem(i)->checkState(0) == Qt::Checked);
    return a;
}

QString QtRecovery::journalFolder() const
{
    return tarmel::recovery::defaultJournalFolder();
}

RecoveryAnswer QtRecovery::choose(const QList<RecoveryItem> &items)
{
    RecoveryDialog dialog(items, parent_);
    dialog.exec();
    return dialog.answer();
}

} // namespace platform
