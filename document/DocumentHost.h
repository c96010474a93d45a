#pragma once
// What a document window asks of the window that holds it.

#include <QDateTime>
#include <QString>

class QGroupBox;

namespace tarmel {

class Form1;

class DocumentHost {
public:
    virtual ~DocumentHost() = default;
    virtual bool documentCloseRequest(Form1 *doc) = 0; // false keeps the window open
    virtual void documentClosed(Form1 *doc) = 0;
    virtual void panelShown(Form1 *doc) = 0;
    virtual void panelClosed(Form1 *doc) = 0;
    virtual QDateTime now() const = 0;
    virtual QString shortDate(const QDateTime &moment) const = 0; // the status bar's date
};

} // namespace tarmel
