#pragma once
// Where a search begins, and the replacement of every occurrence in one pass.

#include "search/Matcher.h"

namespace tarmel::search {

// What the last search or replacement left in a document whose text has not changed since,
// in positions of the text.
struct LastSearch {
    std::optional<Span> hit;         // the occurrence the last search selected
    std::optional<Span> replacement; // the text "Remp&lacer" put in place of that occurrence
};

struct SearchOrigin {
    qint64 position = 0;
    bool afterIt = false; // downward: an occurrence beginning at position is stepped over
    bool endsBefore = false; // upward after a replacement: an occurrence must end by position,
                             // never reaching into the text just put in
};

// True when the selection is exactly the occurrence the last search selected.
bool isLastHit(Span selection, const LastSearch &last);

// Downwards a search finds the first occurrence that begins at the selection's start, or after
// it when the selection is the last hit (a repeated search steps over it). Upwards it finds the
// nearest occurrence that begins before the selection's start, or before the replacement when
// the caret stands right after the text "Remp&lacer" put in (the search never goes back into it).
SearchOrigin searchOrigin(Direction direction, Span selection, const LastSearch &last);

struct ReplaceAllResult {
    QByteArray text; // the new text; empty when nothing was replaced
    qint64 count = 0;
    qint64 caret = 0; // where the caret stands in the new text
};

// Replaces, in one pass, every occurrence that begins at origin or after it (downwards) or
// before it (upwards); occurrences do not overlap and are taken in the search's order. The
// caret keeps its place in the text around it; inside a replaced occurrence it goes after
// the replacement.
ReplaceAllResult replaceAllUtf8(QByteArrayView text, QByteArrayView needle, QByteArrayView replacement,
                                qint64 origin, qint64 caret, const SearchOptions &options,
                                bool endsBeforeOrigin = false);

} // namespace tarmel::search
