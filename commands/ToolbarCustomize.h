#pragma once
// The toolbar's customise dialog: the buttons available and the buttons shown, with
// add, remove, move up, move down and reset. It edits an arrangement; the caller applies
// it when the dialog is accepted.

#include "commands/ToolbarArrangement.h"

#include <QDialog>
#include <QIcon>

#include <functional>

class QListWidget;
class QPushButton;

namespace tarmel {

class ToolbarCustomize : public QDialog {
    Q_OBJECT
public:
    struct ButtonLook {
        QIcon icon;
        QString text;    // what the list shows
        QString tooltip;
    };
    using LookOf = std::function<ButtonLook(int index)>;

    ToolbarCustomize(const toolbar::Arrangement &shown, int count, LookOf lookOf, QWidget *parent = nullptr);

    const toolbar::Arrangement &arrangement() const { return shown_; }

    QListWidget *availableList = nullptr;
    QListWidget *shownList = nullptr;
    QPushButton *cmdAdd = nullptr;
    QPushButton *cmdRemove = nullptr;
    QPushButton *cmdUp = nullptr;
    QPushButton *cmdDown = nullptr;
    QPushButton *cmdReset = nullptr;
    QPushButton *cmdOk = nullptr;
    QPushButton *cmdCancel = nullptr;

private:
    void refill(int shownRow);
    void add();
    void remove();
    void move(int delta);
    void reset();
    void updateButtons();

    toolbar::Arrangement shown_;
    int count_;
    LookOf lookOf_;
};

} // namespace tarmel
