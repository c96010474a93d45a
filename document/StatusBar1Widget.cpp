#include "document/StatusBar1Widget.h"

#include <QLabel>

#include <algorithm>

namespace tarmel {

namespace {
// Panel widths in pixels (the original twips / 15).
constexpr int kWidths[StatusBar1Widget::PanelCount] = {133, 96, 96, 96, 33, 33, 47, 213, 104, 54};
const char *const kNames[StatusBar1Widget::PanelCount] = {
    "Fichier", "Taille", "Date", "Heure", "MAJ", "NUM", "INSER", "Notice", "Encodage", "Fins de ligne"};
}

StatusBar1Widget::StatusBar1Widget(QWidget *parent) : QStatusBar(parent)
{
    setObjectName(QStringLiteral("StatusBar1"));
    setSizeGripEnabled(false); // the document window is resized by its frame
    for (int i = 0; i < PanelCount; ++i) {
        auto *label = new QLabel(this);
        label->setObjectName(QStringLiteral("StatusBar1.Panel%1").arg(i + 1));
        label->setAccessibleDescription(QString::fromLatin1(kNames[i])); // the name stays the text shown
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Sunken);
        label->resize(kWidths[i], label->sizeHint().height());
        label->setTextFormat(Qt::PlainText);
        if (i >= 4 && i <= 6)
            label->setAlignment(Qt::AlignCenter);
        panels_[i] = label;
    }
    panels_[4]->setText(QStringLiteral("MAJ"));
    panels_[5]->setText(QStringLiteral("NUM"));
    panels_[6]->setText(QStringLiteral("INSER"));
    for (int i = 5; i <= 7; ++i)
        setPanelActive(i, false);
    setFixedHeight(panels_[0]->sizeHint().height() + 2);
}

void StatusBar1Widget::resizeEvent(QResizeEvent *) { layoutPanels(); }

// Panels keep their widths, left to right, cut off at the right edge of a narrow window:
// 1 to 7, then the two file-format panels, then the notice, which takes the room that is
// left. A panel whose text is wider than its width (the size of a program of hundreds of
// megabytes) grows to show it whole.
void StatusBar1Widget::layoutPanels()
{
    static constexpr int kOrder[PanelCount] = {0, 1, 2, 3, 4, 5, 6, 8, 9, 7};
    int widths[PanelCount];
    int fixed = 0;
    for (int i = 0; i < PanelCount; ++i) {
        widths[i] = i == 7 ? kWidths[i] : std::max(kWidths[i], panels_[i]->sizeHint().width());
        fixed += widths[i] + 2;
    }
    widths[7] += std::max(0, width() - fixed);
    const int h = height() - 2;
    int x = 1;
    for (int i : kOrder) {
        panels_[i]->setGeometry(x, 1, widths[i], h);
        x += widths[i] + 2;
    }
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
    QLabel *label = panel(index);
    if (!label || label->text() == text)
        return;
    label->setText(text);
    if (index != 8)
        layoutPanels();
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
    // An indicator is drawn dimmed while it is off, as a keyboard light.
    label->setEnabled(active);
}

} // namespace tarmel
