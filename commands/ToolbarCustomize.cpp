#include "commands/ToolbarCustomize.h"

#include "commands/ToolbarTexts.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace tarmel {

namespace {

QListWidget *makeList(const QString &label, QLabel *&caption)
{
    auto *list = new QListWidget;
    list->setIconSize(QSize(24, 24));
    list->setMinimumSize(200, 360);
    list->setAccessibleName(QString(label).remove(QLatin1Char('&')).remove(QStringLiteral(" :")));
    caption = new QLabel(label);
    caption->setBuddy(list);
    return list;
}

} // namespace

ToolbarCustomize::ToolbarCustomize(const toolbar::Arrangement &shown, int count, LookOf lookOf, QWidget *parent)
    : QDialog(parent), shown_(shown), count_(count), lookOf_(std::move(lookOf))
{
    setObjectName(QStringLiteral("ToolbarCustomize"));
    setWindowTitle(texts::customizeTitle());
    QLabel *availableCaption = nullptr;
    QLabel *shownCaption = nullptr;
    availableList = makeList(texts::availableButtons(), availableCaption);
    shownList = makeList(texts::shownButtons(), shownCaption);
    cmdAdd = new QPushButton(texts::addButtonText());
    cmdRemove = new QPushButton(texts::removeButtonText());
    cmdUp = new QPushButton(texts::moveUpText());
    cmdDown = new QPushButton(texts::moveDownText());
    cmdReset = new QPushButton(texts::resetText());
    auto *box = new QDialogButtonBox;
    cmdOk = box->addButton(texts::okText(), QDialogButtonBox::AcceptRole);
    cmdCancel = box->addButton(texts::cancelText(), QDialogButtonBox::RejectRole);

    auto *middle = new QVBoxLayout;
    middle->addStretch();
    for (QPushButton *b : {cmdAdd, cmdRemove, cmdUp, cmdDown, cmdReset})
        middle->addWidget(b);
    middle->addStretch();
    auto *grid = new QGridLayout(this);
    grid->addWidget(availableCaption, 0, 0);
    grid->addWidget(shownCaption, 0, 2);
    grid->addWidget(availableList, 1, 0);
    grid->addLayout(middle, 1, 1);
    grid->addWidget(shownList, 1, 2);
    grid->addWidget(box, 2, 0, 1, 3);

    connect(cmdAdd, &QPushButton::clicked, this, &ToolbarCustomize::add);
    connect(cmdRemove, &QPushButton::clicked, this, &ToolbarCustomize::remove);
    connect(cmdUp, &QPushButton::clicked, this, [this] { move(-1); });
    connect(cmdDown, &QPushButton::clicked, this, [this] { move(+1); });
    connect(cmdReset, &QPushButton::clicked, this, &ToolbarCustomize::reset);
    connect(availableList, &QListWidget::itemDoubleClicked, this, &ToolbarCustomize::add);
    connect(shownList, &QListWidget::itemDoubleClicked, this, &ToolbarCustomize::remove);
    connect(availableList, &QListWidget::currentRowChanged, this, &ToolbarCustomize::updateButtons);
    connect(shownList, &QListWidget::currentRowChanged, this, &ToolbarCustomize::updateButtons);
    connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
    refill(0);
}

// Both lists from the arrangement; the shown list's current row is shownRow.
void ToolbarCustomize::refill(int shownRow)
{
    const auto fill = [this](QListWidget *list, const toolbar::Arrangement &indices) {
        const int keep = list->currentRow();
        list->clear();
        for (int index : indices) {
            const ButtonLook look = lookOf_(index);
            auto *item = new QListWidgetItem(look.icon, look.text, list);
            item->setToolTip(look.tooltip);
            item->setData(Qt::UserRole, index);
        }
        return keep;
    };
    const int availableRow = fill(availableList, toolbar::available(shown_, count_));
    fill(shownList, shown_);
    availableList->setCurrentRow(std::min(std::max(availableRow, 0), availableList->count() - 1));
    shownList->setCurrentRow(shownRow);
    updateButtons();
}

void ToolbarCustomize::add()
{
    const QListWidgetItem *item = availableList->currentItem();
    if (!item)
        return;
    // Inserted before the current button, as the platform's dialogs do.
    const int row = toolbar::addButton(shown_, item->data(Qt::UserRole).toInt(), shownList->currentRow());
    if (row >= 0)
        refill(row);
}

void ToolbarCustomize::remove()
{
    const int row = shownList->currentRow();
    if (row >= 0)
        refill(toolbar::removeButton(shown_, row));
}

void ToolbarCustomize::move(int delta)
{
    const int row = toolbar::moveButton(shown_, shownList->currentRow(), delta);
    if (row >= 0)
        refill(row);
}

void ToolbarCustomize::reset()
{
    shown_ = toolbar::defaultArrangement(count_);
    refill(0);
}

void ToolbarCustomize::updateButtons()
{
    const int row = shownList->currentRow();
    cmdAdd->setEnabled(availableList->currentRow() >= 0);
    cmdRemove->setEnabled(row >= 0);
    cmdUp->setEnabled(row > 0);
    cmdDown->setEnabled(row >= 0 && row + 1 < shownList->count());
}

} // namespace tarmel
