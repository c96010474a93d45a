#pragma once
// Files changed behind the editor's back, and read-only files. Each document remembers its
// file as it last read or wrote it; "&Enregistrer" asks before overwriting a file another
// program changed since, and activating the window offers to reload an unmodified document
// whose file changed. A file deleted on disk keeps its document; the next save creates it.
// A read-only file shows "Lecture seule" in the status bar's notice panel.

#include "recovery/FileStamp.h"

#include <QHash>
#include <QObject>
#include <QString>

namespace tarmel {

class AppContext;
class Form1;

class ExternalChangeCommands : public QObject {
    Q_OBJECT
public:
    explicit ExternalChangeCommands(AppContext &app);

    // The document's file as it last read or wrote it (a recovered document: as its journal says).
    FileStamp baseOf(Form1 *doc) const;
    void setBase(Form1 *doc, const QString &path, const FileStamp &stamp);

    // The window was activated: offers to reload the active document when it is unmodified
    // and its file changed on disk (asked once per change of the file).
    void checkActiveDocument();

private:
    struct Known {
        QString path;
        FileStamp stamp;     // as read or written
        FileStamp declined;  // a change the user chose not to reload
        QString savingTo;    // the path of the save under way
    };
    void remember(Form1 *doc, const QString &path);
    void showReadOnly(Form1 *doc, const QString &path);
    void aboutToSave(Form1 *doc, const QString &path, bool &proceed);
    void saved(Form1 *doc);
    void reload(Form1 *doc, const QString &path);

    AppContext &app_;
    QHash<Form1 *, Known> known_;
    bool asking_ = false;
};

} // namespace tarmel
