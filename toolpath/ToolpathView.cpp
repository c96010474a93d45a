#include "toolpath/ToolpathView.h"

#include "toolpath/ToolpathTexts.h"

#include <QDoubleSpinBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QProgressBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <cmath>
#include <numbers>

namespace tarmel::toolpath {

namespace {
constexpr double kDefaultRapidRate = 5000; // mm/min
constexpr double kDragThreshold = 3;       // pixels before a press becomes a drag
constexpr double kTurnPerPixel = std::numbers::pi / 360;
} // namespace

ToolpathCanvas::ToolpathCanvas(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("ToolpathCanvas"));
    setAccessibleName(texts::drawingName());
    setMinimumSize(80, 80);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);
    setFocusPolicy(Qt::ClickFocus);
}

void ToolpathCanvas::setToolpath(std::shared_ptr<const Toolpath> path)
{
    const bool first = !path_ || path_->moves.empty();
    path_ = std::move(path);
    if (first || fitted_)
        fit();
    update();
}

void ToolpathCanvas::setCaretLine(int line)
{
    if (line == caret_)
        return;
    caret_ = line;
    update();
}

void ToolpathCanvas::setAngles(ViewAngles angles)
{
    view_.angles = angles;
    fit();
}

void ToolpathCanvas::fit()
{
    fitted_ = true;
    if (path_)
        view_ = fitTransform(*path_, view_.angles, size());
    update();
}

void ToolpathCanvas::paintEvent(QPaintEvent *)
{
    if (!path_)
        return;
    // Drawn on an image of the canvas's own, where the hairlines are written directly.
    if (buffer_.size() != size())
        buffer_ = QImage(size(), QImage::Format_RGB32);
    buffer_.fill(Qt::white);
    {
        QPainter painter(&buffer_);
        renderToolpath(painter, size(), *path_, view_, {caret_});
    }
    QPainter(this).drawImage(0, 0, buffer_);
}

void ToolpathCanvas::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (fitted_)
        fit();
}

void ToolpathCanvas::wheelEvent(QWheelEvent *event)
{
    const double steps = event->angleDelta().y() / 120.0;
    if (steps == 0)
        return;
    view_.zoomAt(event->position(), size(), std::pow(1.25, steps));
    fitted_ = false;
    update();
}

void ToolpathCanvas::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton && event->button() != Qt::MiddleButton)
        return;
    dragging_ = event->button();
    pressAt_ = lastAt_ = event->position();
    dragged_ = false;
}

void ToolpathCanvas::mouseMoveEvent(QMouseEvent *event)
{
    if (dragging_ == Qt::NoButton)
        return;
    const QPointF at = event->position();
    if (!dragged_ && QLineF(at, pressAt_).length() < kDragThreshold)
        return;
    dragged_ = true;
    const QPointF delta = at - lastAt_;
    lastAt_ = at;
    if (dragging_ == Qt::MiddleButton) {
        view_.pan(delta);
    } else {
        view_.angles.yaw -= delta.x() * kTurnPerPixel;
        view_.angles.tilt = std::clamp(view_.angles.tilt + delta.y() * kTurnPerPixel, -std::numbers::pi / 2,
                                       std::numbers::pi / 2);
    }
    fitted_ = false;
    update();
}

void ToolpathCanvas::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != dragging_)
        return;
    dragging_ = Qt::NoButton;
    if (dragged_ || event->button() != Qt::LeftButton || !path_)
        return;
    const long long move = moveAt(*path_, view_, size(), event->position());
    if (move >= 0)
        emit moveClicked(path_->moves[std::size_t(move)].line);
}

ToolpathView::ToolpathView(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("ToolpathView"));
    setAccessibleName(texts::viewName());

    figures_ = new QLabel(this);
    figures_->setObjectName(QStringLiteral("ToolpathFigures"));
    figures_->setAccessibleDescription(texts::figuresName()); // its name is its text
    figures_->setWordWrap(true);
    figures_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    figures_->setFocusPolicy(Qt::TabFocus);
    reports_ = new QLabel(this);
    reports_->setObjectName(QStringLiteral("ToolpathReports"));
    reports_->setAccessibleDescription(texts::reportsName());
    reports_->setWordWrap(true);
    reports_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    reports_->setFocusPolicy(Qt::TabFocus);
    reports_->hide();

    canvas_ = new ToolpathCanvas(this);
    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(2);
    buttons->addWidget(viewButton(texts::topButton(), texts::topTip(), topView()));
    buttons->addWidget(viewButton(texts::frontButton(), texts::frontTip(), frontView()));
    buttons->addWidget(viewButton(texts::sideButton(), texts::sideTip(), sideView()));
    buttons->addWidget(viewButton(texts::isoButton(), texts::isoTip(), isometricView()));
    auto *fit = new QToolButton(this);
    fit->setObjectName(QStringLiteral("ToolpathFit"));
    fit->setText(texts::fitButton());
    connect(fit, &QToolButton::clicked, canvas_, &ToolpathCanvas::fit);
    buttons->addWidget(fit);
    buttons->addStretch();
    auto *rateLabel = new QLabel(texts::rapidRateLabel(), this);
    rapidRate_ = new QDoubleSpinBox(this);
    rapidRate_->setObjectName(QStringLiteral("ToolpathRapidRate"));
    rapidRate_->setAccessibleName(texts::rapidRateLabel());
    rapidRate_->setRange(1, 200000);
    rapidRate_->setDecimals(0);
    rapidRate_->setSuffix(texts::rapidRateSuffix());
    rapidRate_->setValue(kDefaultRapidRate);
    rateLabel->setBuddy(rapidRate_);
    connect(rapidRate_, &QDoubleSpinBox::valueChanged, this, &ToolpathView::showFigures);
    buttons->addWidget(rateLabel);
    buttons->addWidget(rapidRate_);

    progress_ = new QProgressBar(this);
    progress_->setObjectName(QStringLiteral("ToolpathProgress"));
    progress_->setAccessibleName(texts::progressName());
    progress_->setRange(0, 1000);
    progress_->setTextVisible(false);
    progress_->setMaximumHeight(8);
    progress_->hide();

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);
    layout->addWidget(figures_);
    layout->addWidget(reports_);
    layout->addLayout(buttons);
    layout->addWidget(progress_);
    layout->addWidget(canvas_, 1);

    connect(canvas_, &ToolpathCanvas::moveClicked, this, &ToolpathView::lineClicked);
    showFigures();
}

QToolButton *ToolpathView::viewButton(const QString &text, const QString &tip, ViewAngles angles)
{
    auto *b = new QToolButton(this);
    b->setObjectName(QStringLiteral("ToolpathView") + text);
    b->setText(text);
    b->setToolTip(tip);
    b->setAccessibleName(tip);
    connect(b, &QToolButton::clicked, canvas_, [this, angles] { canvas_->setAngles(angles); });
    return b;
}

void ToolpathView::setToolpath(std::shared_ptr<const Toolpath> path)
{
    path_ = path;
    canvas_->setToolpath(std::move(path));
    showFigures();
}

void ToolpathView::setCaretLine(int line)
{
    canvas_->setCaretLine(line);
}

void ToolpathView::setProgress(int permille)
{
    progress_->setVisible(permille >= 0);
    if (permille >= 0)
        progress_->setValue(permille);
}

double ToolpathView::rapidRate() const
{
    return rapidRate_->value();
}

void ToolpathView::setRapidRate(double mmPerMinute)
{
    rapidRate_->setValue(mmPerMinute);
}

void ToolpathView::showFigures()
{
    if (!path_) {
        figures_->setText(texts::describeFigures({}, rapidRate()));
        reports_->hide();
        return;
    }
    figures_->setText(texts::describeFigures(path_->figures, rapidRate()));
    const QString reports = texts::describeReports(path_->reports);
    reports_->setText(reports);
    reports_->setVisible(!reports.isEmpty());
}

} // namespace tarmel::toolpath
