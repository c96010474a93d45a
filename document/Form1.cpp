#include "document/Form1.h"

#include "document/DocumentHost.h"
#include "document/DocumentTexts.h"
#include "document/Layout.h"
#include "document/StatusBar1Widget.h"
#include "files/FilePaths.h"
#include "platform/KeyboardLights.h"
#include "platform/RichTextBox.h"

#include <Qsci/qsciscintilla.h>

#include <QCloseEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QResizeEvent>
#include <QTimer>

namespace tarmel {

namespace {

QGroupBox *makePanel(QWidget *parent, const char *name, const QString &caption, int width, int height)
{
    auto *frame = new QGroupBox(caption, parent);
    frame->setObjectName(QString::fromLatin1(name));
    frame->setGeometry(0, 0, width, height);
    frame->hide();
    return frame;
}

} // namespace

Form1::Form1(DocumentHost &host, QWidget *parent) : QWidget(parent), host_(host)
{
    setObjectName(QStringLiteral("Form1"));
    setAttribute(Qt::WA_DeleteOnClose, false);

    Text1 = new platform::RichTextBox(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setAccessibleName(QStringLiteral("Texte"));
    StatusBar1 = new StatusBar1Widget(this);

    // Panel sizes as designed, in pixels.
    Frame1 = makePanel(this, "Frame1", QStringLiteral(" Rechercher chaîne "), 641, 73);
    Frame2 = makePanel(this, "Frame2", QStringLiteral(" Remplacer chaîne "), 673, 89);
    Frame3 = makePanel(this, "Frame3", QStringLiteral(" Renuméroter le programme "), 641, 49);
    Frame6 = makePanel(this, "Frame6", QStringLiteral("Numérotation automatique"), 657, 49);

    StatusBar1->setPanelText(8, texts::statusNotice());
    showFileFormat();

    Timer1 = new QTimer(this);
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, &Form1::Timer1_Timer);
    Timer1->start();
    Timer1_Timer();

    Text1->engine()->installEventFilter(this);

    // Document window load: layout, not modified (the creator sets the font).
    resize(sizeHint());
    Form_Resize();
    Change = false;
}

Form1::~Form1() = default;

QString Form1::caption() const
{
    return caption_;
}

void Form1::setCaption(const QString &caption)
{
    caption_ = caption;
    setWindowTitle(displayPath(caption));
}

void Form1::showPanel(QGroupBox *frame)
{
    frame->show();
    Form_Resize();
    host_.panelShown(this);
}

void Form1::closePanel(QGroupBox *frame)
{
    frame->hide();
    Form_Resize();
    host_.panelClosed(this);
}

void Form1::hidePanels()
{
    for (QGroupBox *frame : {Frame1, Frame2, Frame3, Frame6})
        frame->hide();
    Form_Resize();
}

bool Form1::anyPanelVisible() const
{
    return !Frame1->isHidden() || !Frame2->isHidden() || !Frame3->isHidden() || !Frame6->isHidden();
}

void Form1::dockBelowText(QWidget *widget)
{
    dock_ = widget;
    Form_Resize();
}

void Form1::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}

void Form1::closeEvent(QCloseEvent *event)
{
    if (closed_ || !host_.documentCloseRequest(this)) {
        event->ignore();
        return;
    }
    event->accept();
    closed_ = true;
    Timer1->stop();
    host_.documentClosed(this);
}

void Form1::Form_Resize()
{
    DocumentLayoutInput in;
    in.width = width();
    in.height = height();
    in.statusBarHeight = StatusBar1->height();
    in.minimized = parentWidget() && parentWidget()->isMinimized();
    const QRect t = Text1->geometry();
    in.text1 = {t.x(), t.y(), t.width(), t.height()};
    QGroupBox *frames[kLayoutPanelCount] = {Frame3, Frame6, Frame1, Frame2};
    for (int i = 0; i < kLayoutPanelCount; ++i)
        in.panels[i] = {!frames[i]->isHidden(), frames[i]->height(), frames[i]->y()};
    const DocumentLayout out = layoutDocument(in);
    int textHeight = out.text1.height;
    if (dock_ && !dock_->isHidden()) {
        const int dockHeight = std::min(dock_->height(), textHeight);
        textHeight -= dockHeight;
        dock_->setGeometry(0, out.text1.top + textHeight, out.text1.width, dockHeight);
    }
    int textWidth = out.text1.width;
    if (sideView_ && !sideView_->isHidden()) {
        const int side = out.text1.width / 2;
        textWidth -= side;
        sideView_->setGeometry(out.text1.left + textWidth, out.text1.top, side, textHeight);
    }
    Text1->setGeometry(out.text1.left, out.text1.top, textWidth, textHeight);
    for (int i = 0; i < kLayoutPanelCount; ++i)
        frames[i]->move(frames[i]->x(), out.panelTops[i]);
    StatusBar1->setGeometry(0, height() - StatusBar1->height(), width(), StatusBar1->height());
}

void Form1::Timer1_Timer()
{
    const QDateTime now = host_.now();
    StatusBar1->setPanelText(4, now.toString(QStringLiteral("HH:mm:ss")));
    StatusBar1->setPanelText(3, host_.shortDate(now));
    showKeyboardState();
}

void Form1::showKeyboardState()
{
    const platform::KeyboardLights lights = platform::keyboardLights();
    StatusBar1->setPanelActive(5, lights.capsLock);
    StatusBar1->setPanelActive(6, lights.numLock);
    StatusBar1->setPanelActive(7, Text1->insertMode());
}

bool Form1::eventFilter(QObject *watched, QEvent *event)
{
    // The indicators follow the lock and insert keys at once, not only at the next tick.
    if (event->type() == QEvent::KeyRelease) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_CapsLock || key == Qt::Key_NumLock || key == Qt::Key_Insert)
            showKeyboardState();
    }
    return QWidget::eventFilter(watched, event);
}

void Form1::showSize(qint64 count)
{
    StatusBar1->setPanelText(2, QLatin1Char(' ') + QString::number(count) + texts::sizeSuffix());
}

void Form1::showFileFormat()
{
    const FileFormat format = Text1->fileFormat();
    StatusBar1->setPanelText(9, encodingName(format.encoding));
    StatusBar1->setPanelText(10, lineEndName(format.lineEnds));
}

} // namespace tarmel
