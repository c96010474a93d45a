#pragma once
#include "platform/Services.h"

#include <QMainWindow>

class QMdiArea;

namespace tarmel {

// The main window: menus, toolbar, the document windows and the shared routines.
class MDIForm1 : public QMainWindow {
    Q_OBJECT
public:
    explicit MDIForm1(const platform::Services &services, QWidget *parent = nullptr);
    ~MDIForm1() override;

    QMdiArea *mdiArea() const { return mdi_; }

private:
    platform::Services services_;
    QMdiArea *mdi_;
};

} // namespace tarmel
