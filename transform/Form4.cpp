#include "transform/Form4.h"

#include "transform/TransformTexts.h"

#include <QProgressBar>
#include <QVBoxLayout>

#include <algorithm>

namespace tarmel {

Form4::Form4(QWidget *parent) : QWidget(parent, Qt::Dialog)
{
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(transform::texts::form4Caption());
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setAccessibleName(transform::texts::form4Caption());
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->addWidget(ProgressBar1);
    setFixedSize(380, 56);
}

void Form4::showProgress(qint64 done, qint64 total)
{
    const qint64 maximum = ProgressBar1->maximum();
    ProgressBar1->setValue(int(total > 0 ? std::clamp<qint64>(done * maximum / total, 0, maximum) : maximum));
    ProgressBar1->repaint();
}

} // namespace tarmel
