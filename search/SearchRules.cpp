#include "search/SearchRules.h"

#include <algorithm>
#include <cstring>

namespace tarmel::search {

bool isLastHit(Span selection, const LastSearch &last)
{
    return last.hit && last.hit->length > 0 && selection == *last.hit;
}

SearchOrigin searchOrigin(Direction direction, Span selection, const LastSearch &last)
{
    if (direction == Direction::Down)
        return {selection.start, isLastHit(selection, last)};
    if (last.replacement && selection == Span{last.replacement->end(), 0})
        return {last.replacement->start, false, true};
    return {selection.start, false};
}

namespace {

// Builds the new text piece by piece, occurrences given in ascending order, straight into one
// buffer that grows only when the replacements make the text longer.
class Rebuilder {
public:
    Rebuilder(QByteArrayView text, QByteArrayView replacement, qint64 caret)
        : text_(text), replacement_(replacement), caret_(caret), newCaret_(caret)
    {
    }

    void replace(Span hit)
    {
        if (count_ == 0)
            out_.resize(text_.size() + std::max<qint64>(0, replacement_.size() - hit.length));
        write(text_.sliced(copied_, hit.start - copied_));
        write(replacement_);
        copied_ = hit.end();
        ++count_;
        const qint64 shift = written_ - copied_; // where the text after this occurrence moves
        if (hit.end() <= caret_)
            newCaret_ = caret_ + shift;
        else if (hit.start < caret_)
            newCaret_ = written_;
    }

    ReplaceAllResult finish()
    {
        if (count_ > 0) {
            write(text_.sliced(copied_));
            out_.resize(written_);
        }
        return {std::move(out_), count_, newCaret_};
    }

private:
    void write(QByteArrayView piece)
    {
        if (piece.isEmpty())
            return;
        if (written_ + piece.size() > out_.size())
            out_.resize(std::max(written_ + piece.size() + (text_.size() - copied_), out_.size() + out_.size() / 2));
        std::memcpy(out_.data() + written_, piece.data(), size_t(piece.size()));
        written_ += piece.size();
    }

    QByteArrayView text_;
    QByteArrayView replacement_;
    qint64 caret_;
    qint64 newCaret_;
    qint64 copied_ = 0;  // bytes of the text taken so far
    qint64 written_ = 0; // bytes of the new text written so far
    qint64 count_ = 0;
    QByteArray out_;
};

} // namespace

ReplaceAllResult replaceAllUtf8(QByteArrayView text, QByteArrayView needle, QByteArrayView replacement,
                                qint64 origin, qint64 caret, const SearchOptions &options, bool endsBeforeOrigin)
{
    const Matcher matcher(needle, options.matchCase, options.wholeWord);
    Rebuilder rebuilt(text, replacement, caret);
    if (options.direction == Direction::Down) {
        for (auto hit = matcher.next(text, origin); hit; hit = matcher.next(text, hit->end()))
            rebuilt.replace(*hit);
        return rebuilt.finish();
    }
    // Upwards each occurrence ends where the one after it begins, or before.
    std::vector<Span> hits;
    for (auto hit = matcher.previous(text, origin, endsBeforeOrigin ? origin : text.size()); hit;
         hit = matcher.previous(text, hit->start, hit->start))
        hits.push_back(*hit);
    std::for_each(hits.rbegin(), hits.rend(), [&rebuilt](Span hit) { rebuilt.replace(hit); });
    return rebuilt.finish();
}

} // namespace tarmel::search
