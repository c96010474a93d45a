#pragma once
// File names are bytes on this system, and not every name is valid UTF-8 (a Latin-1 name from an
// older machine-tool share, a name with a stray 0xFF byte). The program keeps a path as a QString in
// which each byte that is not part of valid UTF-8 is held as the lone surrogate U+DC00 + byte, so that
// the name goes back to the system calls with its own bytes. Every call that hands a path to the
// system goes through pathToBytes; every name read from the system comes in through pathFromBytes;
// what the user sees goes through displayPath.
#include <QByteArray>
#include <QString>

namespace tarmel {

QString pathFromBytes(const QByteArray &bytes);
QByteArray pathToBytes(const QString &path);
// The path for the eye: each byte that is not UTF-8 shown as U+FFFD.
QString displayPath(const QString &path);

} // namespace tarmel
