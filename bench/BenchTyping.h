#pragma once
// Keys typed into an editing engine, each followed by its drawing, timed one by one: the drawing
// the engine asks for itself (the changed line), or the whole screen drawn again after each key.
#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QWidget>

#include <Qsci/qsciscintilla.h>

#include <algorithm>
#include <vector>

namespace bench {

struct KeyTimes {
    double meanMs = 0, maxMs = 0, medianMs = 0;
};

inline KeyTimes typeKeys(QsciScintilla *engine, int count, bool wholeScreen = true)
{
    std::vector<double> ms;
    QElapsedTimer timer;
    for (int i = 0; i < count; ++i) {
        const QString text(QChar('a' + i % 26));
        const auto key = Qt::Key(Qt::Key_A + i % 26);
        timer.start();
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
        QApplication::sendEvent(engine, &press);
        QApplication::sendEvent(engine, &release);
        if (wholeScreen)
            engine->viewport()->repaint();
        QApplication::processEvents();
        ms.push_back(timer.nsecsElapsed() / 1e6);
    }
    KeyTimes t;
    for (double v : ms)
        t.meanMs += v / count;
    t.maxMs = *std::max_element(ms.begin(), ms.end());
    std::sort(ms.begin(), ms.end());
    t.medianMs = ms[ms.size() / 2];
    return t;
}

} // namespace bench
