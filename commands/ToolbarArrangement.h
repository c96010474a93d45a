#pragma once
// The toolbar's arrangement: which of the table's buttons are shown, in which order on
// screen. A button is always named by its 1-based index in the table (separators
// counted), so the rules that enable a button by index reach the same button whatever
// the user moved or removed.

#include <QList>
#include <QString>
#include <QStringView>

#include <optional>

namespace tarmel::toolbar {

using Arrangement = QList<int>; // table indices, in on-screen order

// Every button of a table of `count` entries, in table order.
Arrangement defaultArrangement(int count);

// The buttons of the table not shown, in table order.
Arrangement available(const Arrangement &shown, int count);

// The text kept in the settings store: the indices joined by commas ("1,2,3").
QString formatArrangement(const Arrangement &shown);

// Reads a stored text back. Entries that are no index of the table, and repeated ones,
// are dropped; none at all (an empty or unreadable text) gives no arrangement.
std::optional<Arrangement> parseArrangement(QStringView text, int count);

// The customise dialog's edits. Each answers the row that is current afterwards, or -1
// when there is none: the edit did nothing (a row out of range, a button already shown,
// a move past either end) or the last button was removed.
int addButton(Arrangement &shown, int index, int beforeRow); // beforeRow < 0 or past the end: appended
int removeButton(Arrangement &shown, int row);
int moveButton(Arrangement &shown, int row, int delta); // -1 up, +1 down

} // namespace tarmel::toolbar
