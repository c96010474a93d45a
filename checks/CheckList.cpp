#include "checks/CheckList.h"

#include "checks/ChecksTexts.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace tarmel {

namespace {
constexpr int kColumns = 4;
constexpr int kListHeight = 160; // pixels: about seven rows under the title
} // namespace

void FindingsModel::setFindings(std::vector<NcFinding> findings)
{
    beginResetModel();
    findings_ = std::move(findings);
    endResetModel();
}

const NcFinding *FindingsModel::finding(int row) const
{
    return row >= 0 && std::size_t(row) < findings_.size() ? &findings_[std::size_t(row)] : nullptr;
}

int FindingsModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(std::min<std::size_t>(findings_.size(), INT_MAX));
}

int FindingsModel::columnCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : kColumns; }

QVariant FindingsModel::data(const QModelIndex &index, int role) const
{
    const NcFinding *f = finding(index.row());
    if (!f)
        return {};
    if (role == Qt::TextAlignmentRole && index.column() < 2)
        return int(Qt::AlignRight | Qt::AlignVCenter);
    if (role == Qt::ToolTipRole && index.column() == 3)
        return f->text; // a long message is cut in its column
    if (role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
    case 0: return f->line;
    case 1: return f->column;
    case 2: return f->ruleId;
    default: return f->text;
    }
}

QVariant FindingsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < kColumns)
        return texts::checkListColumn(section);
    return {};
}

CheckList::CheckList(QWidget *parent)
    : QFrame(parent), model_(new FindingsModel(this)), view_(new QTreeView(this)), summary_(new QLabel(this)),
      accents_(new QPushButton(texts::removeAccentsButton(), this)), close_(new QToolButton(this))
{
    setObjectName(QStringLiteral("CheckList"));
    setFrameShape(QFrame::StyledPanel);
    setAccessibleName(texts::checkListTitle());
    resize(width(), kListHeight);

    auto *title = new QLabel(QStringLiteral("<b>%1</b>").arg(texts::checkListTitle()), this);
    summary_->setObjectName(QStringLiteral("CheckListSummary"));
    summary_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred); // a narrow window cuts it, not the list
    accents_->setObjectName(QStringLiteral("CheckListAccents"));
    accents_->setToolTip(texts::removeAccentsHint());
    accents_->hide();
    close_->setObjectName(QStringLiteral("CheckListClose"));
    close_->setText(QStringLiteral("×"));
    close_->setToolTip(texts::closeCheckList());
    close_->setAccessibleName(texts::closeCheckList());
    close_->setAutoRaise(true);

    view_->setObjectName(QStringLiteral("CheckListView"));
    view_->setAccessibleName(texts::checkListTitle());
    view_->setModel(model_);
    view_->setRootIsDecorated(false);
    view_->setUniformRowHeights(true);
    view_->setAlternatingRowColors(true);
    view_->setSelectionBehavior(QAbstractItemView::SelectRows);
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_->header()->setStretchLastSection(true);
    view_->setColumnWidth(0, 70);
    view_->setColumnWidth(1, 70);
    view_->setColumnWidth(2, 150);

    // The title row keeps its height whether the button shows or not.
    summary_->setMinimumHeight(accents_->sizeHint().height());
    auto *top = new QHBoxLayout;
    top->setContentsMargins(4, 2, 2, 0);
    top->addWidget(title);
    top->addWidget(summary_, 1);
    top->addWidget(accents_);
    top->addWidget(close_);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addLayout(top);
    layout->addWidget(view_, 1);

    // A double click, or Enter on the current row.
    connect(view_, &QTreeView::activated, this, [this](const QModelIndex &index) {
        if (const NcFinding *f = model_->finding(index.row()))
            emit findingChosen(f->line, f->column);
    });
    connect(accents_, &QPushButton::clicked, this, &CheckList::removeAccentsChosen);
    connect(close_, &QToolButton::clicked, this, &CheckList::closeChosen);
}

void CheckList::setFindings(std::vector<NcFinding> findings, bool offerAccentRemoval)
{
    model_->setFindings(std::move(findings));
    accents_->setVisible(offerAccentRemoval);
    stale_ = false;
    showSummary();
    if (model_->rowCount() > 0)
        view_->setCurrentIndex(model_->index(0, 0));
}

void CheckList::setStale(bool stale)
{
    if (stale_ == stale)
        return;
    stale_ = stale;
    showSummary();
}

void CheckList::showSummary()
{
    const int count = model_->rowCount();
    QString text = count == 0 ? texts::noFinding() : texts::findingCount(count);
    if (stale_)
        text += texts::textChangedSinceCheck();
    summary_->setText(QStringLiteral(" — ") + text);
}

} // namespace tarmel
