#include "toolpath/ToolpathDocument.h"

#include "document/Form1.h"
#include "platform/RichTextBox.h"
#include "toolpath/DrawLevels.h"
#include "toolpath/Interpreter.h"
#include "toolpath/ToolpathView.h"

#include <Qsci/qsciscintilla.h>

#include <QThread>
#include <QTimer>

namespace tarmel::toolpath {

namespace {
constexpr int kProgressTickMs = 100;
}

ToolpathDocument::ToolpathDocument(Form1 *doc, QObject *parent) : QObject(parent), doc_(doc)
{
    view_ = new ToolpathView(doc);
    view_->hide();
    doc->setSideView(view_);

    pause_ = new QTimer(this);
    pause_->setSingleShot(true);
    pause_->setInterval(kPauseMs);
    connect(pause_, &QTimer::timeout, this, &ToolpathDocument::refresh);
    progressTick_ = new QTimer(this);
    progressTick_->setInterval(kProgressTickMs);
    connect(progressTick_, &QTimer::timeout, this, [this] {
        if (reading_)
            view_->setProgress(reading_->progress.load());
    });

    connect(doc->Text1, &platform::RichTextBox::textChanged, this, &ToolpathDocument::textChanged);
    connect(doc->Text1->engine(), &QsciScintilla::cursorPositionChanged, this,
            [this](int line, int) { caretMoved(line); });
    connect(view_, &ToolpathView::lineClicked, this, &ToolpathDocument::goToLine);
}

ToolpathDocument::~ToolpathDocument()
{
    cancelReading();
}

void ToolpathDocument::setShown(bool shown)
{
    if (shown == shown_)
        return;
    shown_ = shown;
    view_->setVisible(shown);
    doc_->Form_Resize();
    if (shown) {
        refresh();
    } else {
        pause_->stop();
        cancelReading();
    }
}

void ToolpathDocument::textChanged()
{
    if (shown_)
        pause_->start(); // restarted by each change: the reading waits for a pause
}

void ToolpathDocument::caretMoved(int line)
{
    if (shown_)
        view_->setCaretLine(line);
}

void ToolpathDocument::goToLine(int line)
{
    platform::RichTextBox &text = *doc_->Text1;
    const qsizetype byte = text.engine()->positionFromLineIndex(line, 0);
    text.setSelStart(text.positionOfByte(byte));
    text.engine()->ensureLineVisible(line);
    view_->setCaretLine(line);
}

void ToolpathDocument::refresh()
{
    if (!shown_)
        return;
    if (thread_) {
        again_ = true;
        reading_->cancel = true;
        return;
    }
    again_ = false;
    // A copy of the bytes: the engine's buffer may move while the worker reads.
    const QByteArrayView bytes = doc_->Text1->utf8View();
    auto reading = std::make_shared<Reading>();
    reading_ = reading;
    thread_ = QThread::create([reading, text = QByteArray(bytes.data(), bytes.size())] {
        InterpretOptions options;
        options.cancel = &reading->cancel;
        options.progress = [&reading](int permille) { reading->progress.store(permille); };
        auto path = std::make_shared<Toolpath>(
            interpretProgram(std::string_view(text.constData(), std::size_t(text.size())), options));
        if (path->complete && !reading->cancel)
            path->levels = buildDrawLevels(*path);
        reading->result = std::move(path);
    });
    connect(thread_, &QThread::finished, this, &ToolpathDocument::readingEnded);
    thread_->start(QThread::LowPriority);
    progressTick_->start();
    int line = 0, index = 0;
    doc_->Text1->engine()->getCursorPosition(&line, &index);
    view_->setCaretLine(line);
}

void ToolpathDocument::readingEnded()
{
    thread_->deleteLater();
    thread_ = nullptr;
    progressTick_->stop();
    view_->setProgress(-1);
    const std::shared_ptr<Reading> reading = std::move(reading_);
    if (again_) {
        refresh();
        return;
    }
    if (reading->cancel || !reading->result)
        return;
    view_->setToolpath(reading->result);
    emit toolpathReady();
}

void ToolpathDocument::cancelReading()
{
    if (!thread_)
        return;
    reading_->cancel = true;
    disconnect(thread_, nullptr, this, nullptr);
    thread_->wait();
    delete thread_;
    thread_ = nullptr;
    reading_.reset();
    progressTick_->stop();
    view_->setProgress(-1);
}

} // namespace tarmel::toolpath
