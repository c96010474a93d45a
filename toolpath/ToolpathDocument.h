#pragma once
// The toolpath view of one document window: reads the program in a worker thread a moment
// after typing pauses, and ties the caret's line and the drawing together.

#include "toolpath/Toolpath.h"

#include <QObject>

#include <atomic>
#include <memory>

class QThread;
class QTimer;

namespace tarmel {
class Form1;
}

namespace tarmel::toolpath {

class ToolpathView;

class ToolpathDocument : public QObject {
    Q_OBJECT
public:
    static constexpr int kPauseMs = 300; // typing pause before the program is read again

    explicit ToolpathDocument(Form1 *doc, QObject *parent = nullptr);
    ~ToolpathDocument() override; // abandons a reading under way

    // Shows or hides the view docked beside the text. Hiding abandons a reading under way.
    void setShown(bool shown);
    bool shown() const { return shown_; }
    ToolpathView *view() const { return view_; }
    bool reading() const { return thread_ != nullptr; }

    // Reads the text again now (the view must be shown).
    void refresh();

signals:
    void toolpathReady(); // a reading ended and its result is on the view

private:
    void textChanged();
    void caretMoved(int line);
    void goToLine(int line);
    void readingEnded();
    void cancelReading();

    struct Reading {
        std::atomic<bool> cancel{false};
        std::atomic<int> progress{0};
        std::shared_ptr<const Toolpath> result;
    };

    Form1 *doc_;
    ToolpathView *view_;
    QTimer *pause_;
    QTimer *progressTick_;
    QThread *thread_ = nullptr;
    std::shared_ptr<Reading> reading_;
    bool shown_ = false;
    bool again_ = false; // the text changed while it was being read
};

} // namespace tarmel::toolpath
