#include "document/PanelFrame.h"

#include <QGroupBox>
#include <QVBoxLayout>

namespace tarmel {

void fillFrame(QGroupBox *frame, QWidget *panel)
{
    auto *frameLayout = new QVBoxLayout(frame);
    frameLayout->setContentsMargins(0, 0, 0, 0);
    frameLayout->addWidget(panel);
    frame->resize(std::max(frame->width(), frame->sizeHint().width()),
                  std::max(frame->height(), frame->sizeHint().height()));
}

} // namespace tarmel
