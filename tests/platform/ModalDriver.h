#pragma once
#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace testsupport {

// Acts once on the first modal window of type T that becomes active, from inside the
// event loop that window runs. The action must end by closing the window, and should
// only record what it sees: the test asserts once the modal call has returned.
template <class T>
class OnModal {
public:
    explicit OnModal(std::function<void(T *)> act) : act_(std::move(act))
    {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (T *w = qobject_cast<T *>(QApplication::activeModalWidget()); w && w->isVisible()) {
                timer_.stop();
                ran_ = true;
                act_(w);
            }
        });
        timer_.start(10);
    }
    bool ran() const { return ran_; }

private:
    std::function<void(T *)> act_;
    QTimer timer_;
    bool ran_ = false;
};

} // namespace testsupport
