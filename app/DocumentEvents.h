#pragma once
// What happens to document windows, for the features that watch them.

#include <QObject>
#include <QString>

namespace tarmel {

class Form1;

class DocumentEvents : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

signals:
    void created(tarmel::Form1 *doc);   // a new window, before its text goes in
    void loaded(tarmel::Form1 *doc);    // a file's text is in, not modified
    void activated(tarmel::Form1 *doc);
    void changed(tarmel::Form1 *doc);   // the first change after creation, a load or a save
    // Before the document is written to path; a feature that must ask first clears proceed
    // when the user declines (direct connections only).
    void aboutToSave(tarmel::Form1 *doc, const QString &path, bool &proceed);
    void saved(tarmel::Form1 *doc);
    void closed(tarmel::Form1 *doc);    // its close request was accepted; the window goes
};

} // namespace tarmel
