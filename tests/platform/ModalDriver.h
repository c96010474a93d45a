#pragma once
#include <QApplication>
#include <QTimer>
#include <functional>

namespace testsupport {

// Acts once on the first modal window of type T that becomes active, from inside the
// event loop that window runs. The action must end by closing the window, and should
// only record what it sees: the test asserts once the modal call has returned.
template <class T>
struct OnModal {
    explicit OnModal(std::function<void(T *)> act)
    {
        QObject::connect(&timer, &QTimer::timeout, [this, act] {
            if (T *w = qobject_cast<T *>(QApplication::activeModalWidget()); w && w->isVisible()) {
                timer.stop();
                ran = true;
                act(w);
            }
        });
        timer.start(10);
    }
    QTimer timer;
    bool ran = false;
};

} // namespace testsupport
