#pragma once
#include "platform/Recovery.h"

#include <QDialog>

class QPushButton;
class QTreeWidget;

namespace platform {

// "Récupération de documents": one row per document (file, folder, last journal write),
// each with its check box ticked; "&Rouvrir" is the default button.
class RecoveryDialog : public QDialog {
    Q_OBJECT
public:
    explicit RecoveryDialog(const QList<RecoveryItem> &items, QWidget *parent = nullptr);

    RecoveryAnswer answer() const;

    QTreeWidget *list = nullptr;
    QPushButton *reopenButton = nullptr;
    QPushButton *discardButton = nullptr;
    QPushButton *laterButton = nullptr;

private:
    void updateButtons();
    RecoveryAnswer::Action action_ = RecoveryAnswer::Action::Later;
};

} // namespace platform
