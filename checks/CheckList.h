#pragma once
// The findings of "Vérifier le programme", docked below the text of a document window:
// one row per finding (line, column, rule, message); a double click chooses a finding.
#include "checks/NcChecker.h"

#include <QAbstractTableModel>
#include <QFrame>

#include <vector>

class QLabel;
class QPushButton;
class QToolButton;
class QTreeView;

namespace tarmel {

// The findings as rows, read where they stand: a program with a million findings costs
// one vector, not a million items.
class FindingsModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;
    void setFindings(std::vector<NcFinding> findings);
    const NcFinding *finding(int row) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    std::vector<NcFinding> findings_;
};

class CheckList final : public QFrame {
    Q_OBJECT
public:
    explicit CheckList(QWidget *parent = nullptr);

    // The findings of a check; offerAccentRemoval shows the "&Supprimer les accents" button.
    void setFindings(std::vector<NcFinding> findings, bool offerAccentRemoval);
    // The text changed after the check: the summary says so.
    void setStale(bool stale);
    bool isStale() const { return stale_; }

    const FindingsModel &model() const { return *model_; }
    QTreeView *view() const { return view_; }
    QLabel *summary() const { return summary_; }
    QPushButton *accentsButton() const { return accents_; }
    QToolButton *closeButton() const { return close_; }

signals:
    void findingChosen(int line, int column); // both 1-based
    void removeAccentsChosen();
    void closeChosen();

private:
    void showSummary();

    FindingsModel *model_;
    QTreeView *view_;
    QLabel *summary_;
    QPushButton *accents_;
    QToolButton *close_;
    bool stale_ = false;
};

} // namespace tarmel
