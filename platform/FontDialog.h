#pragma once
// The common dialog's font choice: Qt's font chooser (family, style, size, strikethrough,
// underline) with a colour list under it, as the font operation returns a colour too.

#include <QColor>
#include <QDialog>
#include <QFont>

class QComboBox;
class QDialogButtonBox;
class QFontDialog;

namespace platform {

class FontDialog : public QDialog {
    Q_OBJECT
public:
    explicit FontDialog(const QFont &initial, const QColor &color, QWidget *parent = nullptr);

    QFont selectedFont() const;
    QColor selectedColor() const;

    QFontDialog *chooser = nullptr;
    QComboBox *colorList = nullptr;
    QDialogButtonBox *buttons = nullptr;

    // The colours offered, in order, with their names; a preset colour that is none of
    // them is added at the end under its "#rrggbb" name.
    static QList<std::pair<QColor, QString>> standardColors();
};

} // namespace platform
