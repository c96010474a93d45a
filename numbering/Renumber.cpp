// The renumbering pass (rules in Renumber.h). One template serves UTF-8 bytes and UTF-16 text: the
// line structure and every token it reads are ASCII, so the same code units work in both.

#include "numbering/Renumber.h"

#include "numbering/RenumberScan.h"

#include <QElapsedTimer>

#include <algorithm>
#include <cstring>
#include <string_view>
#include <vector>

namespace numbering {
namespace {

using namespace scan;

// Output buffer written through a raw pointer; grows by half when a line does not fit.
template <typename Str, typename Ch>
class Sink {
public:
    explicit Sink(qsizetype reserve) { grow(reserve); }

    void append(const Ch *p, qsizetype n)
    {
        if (n <= 0)
            return;
        ensure(n);
        std::memcpy(base_ + used_, p, size_t(n) * sizeof(Ch));
        used_ += n;
    }
    void put(Ch c)
    {
        ensure(1);
        base_[used_++] = c;
    }
    void number(qint64 v)
    {
        ensure(20);
        used_ += formatDecimal(v, base_ + used_);
    }
    Str take()
    {
        out_.resize(used_);
        return std::move(out_);
    }

private:
    void ensure(qsizetype n)
    {
        if (used_ + n > capacity_)
            grow(std::max(used_ + n, capacity_ + capacity_ / 2 + 64));
    }
    void grow(qsizetype capacity)
    {
        capacity_ = capacity;
        out_.resize(capacity_);
        if constexpr (std::is_same_v<Ch, char>)
            base_ = out_.data();
        else
            base_ = reinterpret_cast<Ch *>(out_.data());
    }

    Str out_;
    Ch *base_ = nullptr;
    qsizetype used_ = 0;
    qsizetype capacity_ = 0;
};

// Old block number -> new number, by value; the first block carrying a number wins.
template <typename Ch>
class TargetTable {
public:
    static constexpr qint64 KeepsItsNumber = -1;

    void add(const Ch *s, qsizetype begin, qsizetype end, qint64 newNumber)
    {
        if (begin == end)
            return; // "N" without digits is no target
        const auto digits = significantDigits(s, begin, end);
        if (digits.size() <= 18)
            shortKeys_.push_back({toKey(digits), newNumber});
        else
            longKeys_.push_back({digits, newNumber});
    }

    void freeze()
    {
        std::stable_sort(shortKeys_.begin(), shortKeys_.end(),
                         [](const ShortEntry &a, const ShortEntry &b) { return a.key < b.key; });
        std::stable_sort(longKeys_.begin(), longKeys_.end(),
                         [](const LongEntry &a, const LongEntry &b) { return longLess(a.digits, b.digits); });
    }

    // False when no block carries the number; otherwise *newNumber is the block's new number or
    // KeepsItsNumber.
    bool find(const Ch *s, qsizetype begin, qsizetype end, qint64 *newNumber) const
    {
        const auto digits = significantDigits(s, begin, end);
        if (digits.size() <= 18) {
            const quint64 key = toKey(digits);
            const auto it = std::lower_bound(shortKeys_.begin(), shortKeys_.end(), key,
                                             [](const ShortEntry &e, quint64 k) { return e.key < k; });
            if (it == shortKeys_.end() || it->key != key)
                return false;
            *newNumber = it->value;
            return true;
        }
        const auto it = std::lower_bound(longKeys_.begin(), longKeys_.end(), digits,
                                         [](const LongEntry &e, View k) { return longLess(e.digits, k); });
        if (it == longKeys_.end() || it->digits != digits)
            return false;
        *newNumber = it->value;
        return true;
    }

private:
    using View = std::basic_string_view<Ch>;
    struct ShortEntry {
        quint64 key;
        qint64 value;
    };
    struct LongEntry {
        View digits;
        qint64 value;
    };

    static View significantDigits(const Ch *s, qsizetype begin, qsizetype end)
    {
        while (end - begin > 1 && s[begin] == Ch('0'))
            ++begin;
        return View(s + begin, size_t(end - begin));
    }
    static quint64 toKey(View digits)
    {
        quint64 v = 0;
        for (Ch c : digits)
            v = v * 10 + quint64(c - Ch('0'));
        return v;
    }
    static bool longLess(View a, View b)
    {
        return a.size() != b.size() ? a.size() < b.size() : a < b;
    }

    std::vector<ShortEntry> shortKeys_;
    std::vector<LongEntry> longKeys_;
};

template <typename Str, typename Ch>
class RenumberPass {
public:
    RenumberPass(const Ch *s, qsizetype n, const RenumberOptions &options)
        : s_(s), n_(n), options_(options), first_(options.start.value_or(options.step))
    {
        end_ = n_;
        if (!options_.selectionOnly)
            trimLikeTheProgram();
    }

    RenumberStatus check() const
    {
        if (options_.step < 1)
            return RenumberStatus::InvalidStep;
        if (first_ < 0)
            return RenumberStatus::InvalidStart;
        qint64 span = 0;
        qint64 last = 0;
        if (__builtin_mul_overflow(options_.step, qint64(n_) + 1, &span)
            || __builtin_add_overflow(first_, span, &last))
            return RenumberStatus::NumberOverflow;
        return RenumberStatus::Done;
    }

    Str run(RenumberCounts *counts)
    {
        passes_ = options_.updateJumps ? 2 : 1;
        timer_.start();
        if (options_.updateJumps)
            collectTargets();
        Str text = writeText(counts);
        if (options_.progress)
            options_.progress(total(), total());
        return text;
    }

private:
    // Blanks at the end of the last line go; a text without any line end also loses its leading blanks.
    void trimLikeTheProgram()
    {
        qsizetype lastLineBegin = n_;
        while (lastLineBegin > 0 && s_[lastLineBegin - 1] != Ch('\n') && s_[lastLineBegin - 1] != Ch('\r'))
            --lastLineBegin;
        while (end_ > lastLineBegin && s_[end_ - 1] == Ch(' '))
            --end_;
        if (lastLineBegin == 0) {
            while (begin_ < end_ && s_[begin_] == Ch(' '))
                ++begin_;
        }
    }

    qint64 total() const { return qint64(n_) * passes_; }

    bool renumbers(const BlockNumber &b, qsizetype lineBegin, qsizetype next) const
    {
        if (!b.numbered)
            return false;
        if (!options_.selectionOnly)
            return true;
        const qint64 from = options_.selectionFrom;
        const qint64 to = options_.selectionTo;
        return from < to && lineBegin < to && from < next;
    }

    // f(lineBegin, contentEnd, nextLineBegin) for every line of [begin_, end_).
    template <typename F>
    qint64 forEachLine(int pass, F &&f)
    {
        qint64 lines = 0;
        qsizetype pos = begin_;
        for (;;) {
            const qsizetype contentEnd = findLineEnd(s_, pos, end_);
            const qsizetype next = contentEnd < end_ ? contentEnd + lineEndLength(s_, contentEnd, end_) : end_;
            f(pos, contentEnd, next);
            ++lines;
            if ((lines & 4095) == 0)
                reportProgress(qint64(n_) * pass + next);
            if (contentEnd >= end_)
                return lines;
            pos = next;
        }
    }

    void reportProgress(qint64 done)
    {
        if (!options_.progress || timer_.elapsed() - lastReport_ < 8)
            return;
        lastReport_ = timer_.elapsed();
        options_.progress(done, total());
    }

    void collectTargets()
    {
        qint64 counter = first_;
        forEachLine(0, [&](qsizetype lineBegin, qsizetype contentEnd, qsizetype next) {
            const BlockNumber b = readBlockNumber(s_, lineBegin, contentEnd, options_.form);
            if (!b.numbered)
                return;
            if (renumbers(b, lineBegin, next)) {
                targets_.add(s_, b.digitsBegin, b.digitsEnd, counter);
                counter += options_.step;
            } else {
                targets_.add(s_, b.digitsBegin, b.digitsEnd, TargetTable<Ch>::KeepsItsNumber);
            }
        });
        targets_.freeze();
    }

    Str writeText(RenumberCounts *counts)
    {
        Sink<Str, Ch> out(qsizetype(end_ - begin_) + (end_ - begin_) / 16 + 64);
        qsizetype copyFrom = begin_;
        qint64 counter = first_;
        TargetSpans spans;
        counts->lines = forEachLine(passes_ - 1, [&](qsizetype lineBegin, qsizetype contentEnd, qsizetype next) {
            const BlockNumber b = readBlockNumber(s_, lineBegin, contentEnd, options_.form);
            qsizetype scanFrom = lineBegin;
            if (renumbers(b, lineBegin, next)) {
                out.append(s_ + copyFrom, lineBegin - copyFrom);
                if (b.slash)
                    out.put(Ch('/'));
                if (options_.form == NumberForm::WithN)
                    out.put(Ch('N')); // the prefix is always written in upper case
                out.number(counter);
                if (!b.slash && (b.digitsEnd == contentEnd || s_[b.digitsEnd] != Ch(' ')))
                    out.put(Ch(' '));
                copyFrom = b.digitsEnd;
                counter += options_.step;
                ++counts->linesRenumbered;
            }
            if (b.numbered)
                scanFrom = b.digitsEnd;
            if (options_.updateJumps)
                updateTargets(lineBegin, scanFrom, contentEnd, spans, out, copyFrom, counts);
        });
        out.append(s_ + copyFrom, end_ - copyFrom);
        return out.take();
    }

    void updateTargets(qsizetype lineBegin, qsizetype scanFrom, qsizetype contentEnd, TargetSpans &spans,
                       Sink<Str, Ch> &out, qsizetype &copyFrom, RenumberCounts *counts)
    {
        findJumpTargets(s_, lineBegin, scanFrom, contentEnd, spans);
        for (const TargetSpan &span : spans) {
            qint64 newNumber = 0;
            if (!targets_.find(s_, span.begin, span.end, &newNumber)) {
                ++counts->targetsNotFound;
                continue;
            }
            ++counts->jumpsUpdated;
            if (newNumber == TargetTable<Ch>::KeepsItsNumber)
                continue;
            out.append(s_ + copyFrom, span.begin - copyFrom);
            out.number(newNumber);
            copyFrom = span.end;
        }
    }

    const Ch *s_;
    qsizetype n_;
    const RenumberOptions &options_;
    qint64 first_;
    qsizetype begin_ = 0;
    qsizetype end_ = 0;
    int passes_ = 1;
    QElapsedTimer timer_;
    qint64 lastReport_ = 0;
    TargetTable<Ch> targets_;
};

template <typename Result, typename Str, typename Ch>
Result renumberUnits(const Ch *s, qsizetype n, const RenumberOptions &options)
{
    Result result;
    RenumberPass<Str, Ch> pass(s, n, options);
    result.status = pass.check();
    if (result.status != RenumberStatus::Done) {
        if constexpr (std::is_same_v<Ch, char>)
            result.text = Str(s, n);
        else
            result.text = Str(reinterpret_cast<const QChar *>(s), n);
        return result;
    }
    result.text = pass.run(&result.counts);
    return result;
}

} // namespace

RenumberBytesResult renumberUtf8(QByteArrayView text, const RenumberOptions &options)
{
    return renumberUnits<RenumberBytesResult, QByteArray>(text.data(), text.size(), options);
}

RenumberStringResult renumberString(QStringView text, const RenumberOptions &options)
{
    return renumberUnits<RenumberStringResult, QString>(text.utf16(), text.size(), options);
}

} // namespace numbering
