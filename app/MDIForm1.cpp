#include "app/MDIForm1.h"

#include <QMdiArea>

namespace tarmel {

MDIForm1::MDIForm1(const platform::Services &services, QWidget *parent)
    : QMainWindow(parent), services_(services), mdi_(new QMdiArea(this))
{
    setObjectName(QStringLiteral("MDIForm1"));
    setWindowTitle(QStringLiteral("Tarmel"));
    mdi_->setObjectName(QStringLiteral("MDIClient"));
    setCentralWidget(mdi_);
}

MDIForm1::~MDIForm1() = default;

} // namespace tarmel
