#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <QChar>
#include <QString>
#include <QStringView>

#include "files/AtomicWriter.h"

namespace tarmel {

// The five preferences kept in Tarmel.cfg, one per line, in this order.
struct Config {
    int MaximizeDocuments = 0;   // 1: new document windows open maximised
    QString EditorFontName;      // font of every new editing area
    double EditorFontSize = 0;   // its size in points
    int ToolbarVisible = 0;      // non-zero: toolbar shown at start-up
    int HeaderOption = 0;        // print header: 0 folder + file, 1 file, 2 none
};

bool operator==(const Config &a, const Config &b);

// The values used when there is no configuration file: 0, "Courier New", 10, 1, 0.
Config defaultConfig();

// The file's content read line by line (line ends CR LF, LF or CR). Reading starts from
// the zero state (0, "", 0, 0, 0); line n always gives field n, and a line that is
// missing or cannot be read leaves its field as it was. Lines after the fifth are ignored.
// Bytes are Windows-1252, or UTF-8 when they are valid UTF-8 holding non-ASCII bytes.
//
// Each line is trimmed of blanks (spaces, tabs). Then:
// - font name: the whole line, so that a name holding commas or quotes reads back whole;
// - numbers: the longest leading part that reads as a number: optional sign, digits,
//   "." or "," as decimal separator, optional exponent ("1,5E1"). " 12pt" reads 12,
//   "x12" and an empty line do not read;
// - the integer fields take that number rounded to the nearest integer, halves to the
//   even neighbour (" 1.5 " and " 2.5 " both read 2), and must fit in 16 bits;
//   " 2x" reads 2.
Config parseConfig(QByteArrayView fileBytes);

// Reads the configuration file: the defaults when no file exists at path (a folder of that
// name does not count); parseConfig of its bytes otherwise, the zero state when it exists
// but cannot be read.
Config readConfig(const QString &path);

// The whole file as written: five lines, each ended by CR LF. Numbers are written with a
// blank before a non-negative value ("-" before a negative one) and one blank after;
// a fractional font size uses decimalSeparator. The font name is written verbatim in
// Windows-1252, or the whole file in UTF-8 when the name holds a character that code page
// lacks (the reader recognises it).
QByteArray formatConfig(const Config &config, QChar decimalSeparator);

// The configuration file of a program folder: the folder, one separator (none added when it
// ends with one), "Tarmel.cfg".
QString configFilePath(const QString &programFolder);

// The numeric value of a text typed or stored (the font size of the preferences, an
// association choice): the longest leading number of the text, blanks around ignored, with
// a period or a comma as decimal separator ("10,5" and "10.5" both give 10.5); 0 when the
// text does not begin with a number.
double numberFromText(QStringView text);

// Writes the file whole and atomically: it holds either its old content or the new one,
// never a part; on failure it is left as it was and the result says why.
WriteResult writeConfig(const QString &path, const Config &config, QChar decimalSeparator);

} // namespace tarmel
