#include "platform/FontDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QFormLayout>
#include <QPainter>
#include <QPixmap>
#include <QVBoxLayout>

namespace platform {

namespace {

QIcon swatch(const QColor &color)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(color);
    QPainter painter(&pixmap);
    painter.setPen(Qt::darkGray);
    painter.drawRect(0, 0, 15, 15);
    return QIcon(pixmap);
}

} // namespace

QList<std::pair<QColor, QString>> FontDialog::standardColors()
{
    return {
        {QColor(0, 0, 0), QStringLiteral("Noir")},           {QColor(128, 0, 0), QStringLiteral("Bordeaux")},
        {QColor(0, 128, 0), QStringLiteral("Vert")},         {QColor(128, 128, 0), QStringLiteral("Olive")},
        {QColor(0, 0, 128), QStringLiteral("Bleu marine")},  {QColor(128, 0, 128), QStringLiteral("Violet")},
        {QColor(0, 128, 128), QStringLiteral("Sarcelle")},   {QColor(128, 128, 128), QStringLiteral("Gris")},
        {QColor(192, 192, 192), QStringLiteral("Argent")},   {QColor(255, 0, 0), QStringLiteral("Rouge")},
        {QColor(0, 255, 0), QStringLiteral("Citron vert")},  {QColor(255, 255, 0), QStringLiteral("Jaune")},
        {QColor(0, 0, 255), QStringLiteral("Bleu")},         {QColor(255, 0, 255), QStringLiteral("Fuchsia")},
        {QColor(0, 255, 255), QStringLiteral("Turquoise")},  {QColor(255, 255, 255), QStringLiteral("Blanc")},
    };
}

FontDialog::FontDialog(const QFont &initial, const QColor &color, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FontDialog"));
    setWindowTitle(QStringLiteral("Police"));
    chooser = new QFontDialog(initial, this);
    chooser->setOptions(QFontDialog::DontUseNativeDialog | QFontDialog::NoButtons);
    chooser->setWindowFlags(Qt::Widget);
    chooser->setSizeGripEnabled(false);
    colorList = new QComboBox;
    colorList->setAccessibleName(QStringLiteral("Couleur"));
    for (const auto &[c, name] : standardColors())
        colorList->addItem(swatch(c), name, c);
    const QColor preset = color.isValid() ? color : QColor(Qt::black);
    int row = colorList->findData(preset);
    if (row < 0) {
        colorList->addItem(swatch(preset), preset.name(), preset);
        row = colorList->count() - 1;
    }
    colorList->setCurrentIndex(row);
    buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);

    auto *colorRow = new QFormLayout;
    colorRow->addRow(QStringLiteral("&Couleur :"), colorList);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(chooser);
    layout->addLayout(colorRow);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    // Escape in the chooser's own lists ends the whole dialog, not the chooser alone.
    connect(chooser, &QDialog::rejected, this, &QDialog::reject);
}

QFont FontDialog::selectedFont() const
{
    return chooser->currentFont();
}

QColor FontDialog::selectedColor() const
{
    return colorList->currentData().value<QColor>();
}

} // namespace platform
