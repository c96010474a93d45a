#pragma once
// The progress window of accent removal: a small non-modal window with one progress bar. It lives
// only while a removal runs.

#include <QWidget>

class QProgressBar;

namespace tarmel {

class Form4 : public QWidget {
    Q_OBJECT
public:
    explicit Form4(QWidget *parent);

    QProgressBar *ProgressBar1 = nullptr;

    // Moves the bar to done / total and paints it at once: no event is handled while the removal runs.
    void showProgress(qint64 done, qint64 total);
};

} // namespace tarmel
