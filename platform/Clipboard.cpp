#include "platform/Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace platform {

void QtClipboard::clear()
{
    if (QClipboard *cb = QGuiApplication::clipboard())
        cb->clear();
}

void QtClipboard::setText(const QString &text)
{
    if (QClipboard *cb = QGuiApplication::clipboard())
        cb->setText(text);
}

QString QtClipboard::text() const
{
    // A clipboard that cannot be read, or holds no text, reads as empty.
    const QClipboard *cb = QGuiApplication::clipboard();
    if (!cb)
        return QString();
    const QMimeData *data = cb->mimeData();
    if (!data || !data->hasText())
        return QString();
    return data->text();
}

} // namespace platform
