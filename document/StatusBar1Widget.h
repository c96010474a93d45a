#pragma once
#include <QStatusBar>

class QLabel;

namespace tarmel {

// The status bar of a document window: eight panels in their order (1 file name,
// 2 size, 3 date, 4 time, 5 MAJ, 6 NUM, 7 INSER, 8 notice) and two more that say how
// the file is stored (9 encoding, 10 line ends). A QStatusBar, so that a screen reader
// finds it by its role and reads the panels (labels named by their text) in that order;
// the panels are laid out here, at their own widths, not by the status bar.
class StatusBar1Widget : public QStatusBar {
    Q_OBJECT
public:
    static constexpr int PanelCount = 10;
    explicit StatusBar1Widget(QWidget *parent = nullptr);

    QString panelText(int index) const;          // 1-based
    void setPanelText(int index, const QString &text);
    bool panelActive(int index) const;           // indicators 5, 6 and 7
    void setPanelActive(int index, bool active);
    QLabel *panel(int index) const;

protected:
    void resizeEvent(QResizeEvent *event) override;
    void layoutPanels();

private:
    QLabel *panels_[PanelCount];
    bool active_[PanelCount] = {};
};

} // namespace tarmel
