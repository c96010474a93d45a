#include "document/StatusBar1Widget.h"

#include <QHBoxLayout>
#include <QLabel>

namespace tarmel {

namespace {
// Panel widths in pixels (the original twips / 15).
constexpr int kWidths[StatusBar1Widget::PanelCount] = {133, 96, 96, 96, 33, 33, 47, 213, 90, 50};
const char *const kNames[StatusBar1Widget::PanelCount] = {
    "Fichier", "Taille", "Date", "Heure", "MAJ", "NUM", "INSER", "Notice", "Encodage", "Fins de ligne"};
}

StatusBar1Widget::StatusBar1Widget(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("StatusBar1"));
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->setSpacing(2);
    for (int i = 0; i < PanelCount; ++i) {
        auto *label = new QLabel(this);
        label->setObjectName(QStringLiteral("StatusBar1.Panel%1").arg(i + 1));
        label->setAccessibleName(QString::fromLatin1(kNames[i]));
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Sunken);
        label->setMinimumWidth(kWidths[i]);
        label->setTextFormat(Qt::PlainText);
        if (i >= 4 && i <= 6)
            label->setAlignment(Qt::AlignCenter);
        layout->addWidget(label, i == 7 ? 1 : 0);
        panels_[i] = label;
    }
    panels_[4]->setText(QStringLiteral("MAJ"));
    panels_[5]->setText(QStringLiteral("NUM"));
    panels_[6]->setText(QStringLiteral("INSER"));
    for (int i = 5; i <= 7; ++i)
        setPanelActive(i, false);
    setFixedHeight(sizeHint().height());
}

QLabel *StatusBar1Widget::panel(int index) const
{
    return index >= 1 && index <= PanelCount ? panels_[index - 1] : nullptr;
}

QString StatusBar1Widget::panelText(int index) const
{
    QLabel *label = panel(index);
    return label ? label->text() : QString();
}

void StatusBar1Widget::setPanelText(int index, const QString &text)
{
    if (QLabel *label = panel(index))
        label->setText(text);
}

bool StatusBar1Widget::panelActive(int index) const
{
    return index >= 1 && index <= PanelCount && active_[index - 1];
}

void StatusBar1Widget::setPanelActive(int index, bool active)
{
    QLabel *label = panel(index);
    if (!label)
        return;
    active_[index - 1] = active;
    // An indicator shows its text only while it is on, as a keyboard light does.
    label->setEnabled(active);
}

} // namespace tarmel
