#pragma once
// The toolpath view of a document window: a header with the figures, the view buttons, the
// rapid rate, a progress bar while the program is read, and the drawing.

#include "toolpath/ToolpathRenderer.h"

#include <QImage>
#include <QWidget>

#include <memory>

class QDoubleSpinBox;
class QLabel;
class QProgressBar;
class QToolButton;

namespace tarmel::toolpath {

// The drawing: wheel zooms around the pointer, the middle button pans, the left button turns
// the view (a click without dragging picks the move under the pointer).
class ToolpathCanvas : public QWidget {
    Q_OBJECT
public:
    explicit ToolpathCanvas(QWidget *parent = nullptr);

    void setToolpath(std::shared_ptr<const Toolpath> path);
    void setCaretLine(int line);
    void setAngles(ViewAngles angles); // and fits
    void fit();
    const ViewTransform &transform() const { return view_; }
    int caretLine() const { return caret_; }

signals:
    void moveClicked(int line);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    std::shared_ptr<const Toolpath> path_;
    QImage buffer_;
    ViewTransform view_;
    int caret_ = -1;
    bool fitted_ = true; // follows the size until the user zooms or pans
    QPointF pressAt_, lastAt_;
    Qt::MouseButton dragging_ = Qt::NoButton;
    bool dragged_ = false;
};

class ToolpathView : public QWidget {
    Q_OBJECT
public:
    explicit ToolpathView(QWidget *parent = nullptr);

    void setToolpath(std::shared_ptr<const Toolpath> path);
    const Toolpath *toolpath() const { return path_.get(); }
    void setCaretLine(int line);
    // The share of the program read (0..1000) while it is read; -1 hides the bar.
    void setProgress(int permille);
    double rapidRate() const;
    void setRapidRate(double mmPerMinute);

    ToolpathCanvas *canvas() const { return canvas_; }
    QLabel *figuresLabel() const { return figures_; }
    QLabel *reportsLabel() const { return reports_; }
    QProgressBar *progressBar() const { return progress_; }

signals:
    void lineClicked(int line);

private:
    QToolButton *viewButton(const QString &text, const QString &tip, ViewAngles angles);
    void showFigures();

    std::shared_ptr<const Toolpath> path_;
    QLabel *figures_;
    QLabel *reports_;
    QDoubleSpinBox *rapidRate_;
    QProgressBar *progress_;
    ToolpathCanvas *canvas_;
};

} // namespace tarmel::toolpath
