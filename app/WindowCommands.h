#pragma once
// "&Fenêtre": the arrangements of the document windows and the list of open windows.

#include <QList>

class QAction;
class QMdiArea;
class QMenu;

namespace tarmel {

class AppContext;

enum class Arrangement { Cascade = 0, Horizontal = 1, Vertical = 2 };

class WindowCommands {
public:
    WindowCommands(AppContext &app, QMdiArea *mdi, QMenu *windowMenu);

    void Mnu_Cascade_Click() { arrange(Arrangement::Cascade); }
    void Mnu_MosaHor_Click() { arrange(Arrangement::Horizontal); }
    void Mnu_MosaVert_Click() { arrange(Arrangement::Vertical); }
    void arrange(Arrangement arrangement);
    void refreshWindowMenu();

private:
    AppContext &app_;
    QMdiArea *mdi_;
    QMenu *windowMenu_;
    QList<QAction *> windowListActions_;
};

} // namespace tarmel
