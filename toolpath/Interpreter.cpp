#include "toolpath/Interpreter.h"

#include "toolpath/Geometry.h"
#include "toolpath/Words.h"
#include "checks/NcLines.h"

#include <QHash>

#include <cmath>

namespace tarmel::toolpath {

namespace {

constexpr double kInch = 25.4;
constexpr int kCheckEvery = 4096; // lines between looks at the cancel flag

enum class Motion { None, Rapid, Linear, ArcCW, ArcCCW, Cycle };

struct Modal {
    Motion motion = Motion::Rapid;
    Plane plane = Plane::XY;
    bool absolute = true;
    double unit = 1;       // mm per program unit
    double feed = 0;       // mm/min; 0: none programmed yet
    bool cycleReturnToR = false; // G99
    double cycleR = 0;
};

// The words of one block that the motion needs.
struct Block {
    std::optional<double> x, y, z, i, j, k, r;
};

class Interpreter {
public:
    explicit Interpreter(const InterpretOptions &options) : options_(options) {}

    void line(std::string_view text, int index);
    Toolpath take() { return std::move(path_); }
    Toolpath path_;

private:
    void report(const QString &word, int line);
    void gCode(double value, int line, bool &motionWord);
    void moveTo(const Point3 &end, MoveKind kind, int line, std::uint8_t flags);
    void arc(const Block &b, const Point3 &end, int line, std::uint8_t flags);
    Point3 target(const Block &b) const;

    const InterpretOptions &options_;
    Modal modal_;
    Point3 pos_;
    LineWords words_;
    std::vector<NcToken> tokens_;
    QHash<QString, int> reportIndex_;
};

void Interpreter::report(const QString &word, int line)
{
    const auto it = reportIndex_.constFind(word);
    if (it != reportIndex_.constEnd()) {
        ++path_.reports[*it].count;
        return;
    }
    reportIndex_.insert(word, int(path_.reports.size()));
    path_.reports.push_back({word, line, 1});
}

void Interpreter::gCode(double value, int line, bool &motionWord)
{
    const int code = int(std::lround(value * 10));
    switch (code) {
    case 0: modal_.motion = Motion::Rapid; motionWord = true; return;
    case 10: modal_.motion = Motion::Linear; motionWord = true; return;
    case 20: modal_.motion = Motion::ArcCW; motionWord = true; return;
    case 30: modal_.motion = Motion::ArcCCW; motionWord = true; return;
    case 170: modal_.plane = Plane::XY; return;
    case 180: modal_.plane = Plane::ZX; return;
    case 190: modal_.plane = Plane::YZ; return;
    case 200: modal_.unit = kInch; return;
    case 210: modal_.unit = 1; return;
    case 900: modal_.absolute = true; return;
    case 910: modal_.absolute = false; return;
    case 800: modal_.motion = Motion::None; return;
    case 980: modal_.cycleReturnToR = false; return;
    case 990: modal_.cycleReturnToR = true; return;
    // Codes that do not move the tool in the program's frame: dwell, exact stop, cutter
    // compensation off, tool length, work offsets, feed per minute, path control.
    case 40: case 90: case 400: case 430: case 490: case 540: case 550: case 560: case 570: case 580:
    case 590: case 610: case 640: case 940: case 150: case 160:
        return;
    default:
        break;
    }
    if (code >= 810 && code <= 890 && code % 10 == 0) {
        modal_.motion = Motion::Cycle;
        motionWord = true;
    }
    const QString name = QLatin1Char('G') + (code % 10 ? QString::number(value) : QString::number(code / 10));
    report(name, line);
}

Point3 Interpreter::target(const Block &b) const
{
    const auto axis = [this](const std::optional<double> &v, double current) {
        if (!v)
            return current;
        return modal_.absolute ? *v * modal_.unit : current + *v * modal_.unit;
    };
    return {axis(b.x, pos_.x), axis(b.y, pos_.y), axis(b.z, pos_.z)};
}

void Interpreter::moveTo(const Point3 &end, MoveKind kind, int line, std::uint8_t flags)
{
    const Point3 start = pos_;
    const double dx = end.x - start.x, dy = end.y - start.y, dz = end.z - start.z;
    const double length = std::sqrt(dx * dx + dy * dy + dz * dz);
    Figures &f = path_.figures;
    if (kind == MoveKind::Rapid || kind == MoveKind::Hole) {
        f.rapidLength += length;
    } else {
        f.feedLength += length;
        if (modal_.feed > 0)
            f.feedMinutes += length / modal_.feed;
        else
            ++f.feedMovesWithoutFeed;
    }
    f.bounds.add(start);
    f.bounds.add(end);
    path_.moves.push_back({end, line, kind, flags, 0});
    pos_ = end;
}

void Interpreter::arc(const Block &b, const Point3 &end, int line, std::uint8_t flags)
{
    const bool ccw = modal_.motion == Motion::ArcCCW;
    std::optional<ArcGeometry> geometry;
    if (b.r) {
        geometry = arcFromRadius(modal_.plane, pos_, end, *b.r * modal_.unit, ccw, options_.arcTolerance);
    } else if (b.i || b.j || b.k) {
        const double u = modal_.unit;
        geometry = arcFromOffsets(modal_.plane, pos_, end, b.i.value_or(0) * u, b.j.value_or(0) * u,
                                  b.k.value_or(0) * u, ccw, options_.arcTolerance);
    }
    if (!geometry) {
        report(QStringLiteral("arc"), line);
        moveTo(end, MoveKind::Feed, line, flags | moveflag::BadArc);
        return;
    }
    const Point3 start = pos_;
    Figures &f = path_.figures;
    const double length = arcLength(*geometry, start, end);
    f.feedLength += length;
    if (modal_.feed > 0)
        f.feedMinutes += length / modal_.feed;
    else
        ++f.feedMovesWithoutFeed;
    addArcBounds(f.bounds, *geometry, start, end);
    path_.moves.push_back({end, line, MoveKind::Arc, flags, std::uint32_t(path_.arcs.size())});
    path_.arcs.push_back(*geometry);
    pos_ = end;
}

void Interpreter::line(std::string_view text, int index)
{
    readLineWords(text, words_, tokens_);
    if (words_.variable) {
        report(QStringLiteral("#"), index);
        return;
    }
    if (!words_.keyword.empty()) {
        // Program flow (IF, GOTO, WHILE, a label…): the line's words cannot be trusted alone.
        report(QString::fromLatin1(words_.keyword.data(), qsizetype(words_.keyword.size())).toUpper(), index);
        return;
    }
    if (words_.words.empty())
        return;
    Block b;
    bool motionWord = false;
    bool axisWord = false;
    for (const Word &w : words_.words) {
        if (!w.value) {
            report(QString(QLatin1Char(w.letter)), index);
            continue;
        }
        const double v = *w.value;
        switch (w.letter) {
        case 'G': gCode(v, index, motionWord); break;
        case 'X': b.x = v; axisWord = true; break;
        case 'Y': b.y = v; axisWord = true; break;
        case 'Z': b.z = v; axisWord = true; break;
        case 'I': b.i = v; break;
        case 'J': b.j = v; break;
        case 'K': b.k = v; break;
        case 'R': b.r = v; break;
        case 'F': break; // read below, once the block's units are known
        case 'M': {
            const int m = int(std::lround(v));
            if (m == 98 || m == 99)
                report(QStringLiteral("M%1").arg(m), index);
            break;
        }
        case 'A': case 'B': case 'C': case 'U': case 'V': case 'W':
            report(QString(QLatin1Char(w.letter)), index);
            break;
        default:
            break; // S, T, D, H, P, Q, L, E: no motion
        }
    }
    for (const Word &w : words_.words)
        if (w.letter == 'F' && w.value)
            modal_.feed = *w.value * modal_.unit;

    const std::uint8_t flags = words_.blockDelete ? moveflag::BlockDelete : 0;
    switch (modal_.motion) {
    case Motion::None:
        return;
    case Motion::Rapid:
    case Motion::Linear:
        if (axisWord)
            moveTo(target(b), modal_.motion == Motion::Rapid ? MoveKind::Rapid : MoveKind::Feed, index, flags);
        return;
    case Motion::ArcCW:
    case Motion::ArcCCW:
        if (axisWord || b.i || b.j || b.k)
            arc(b, target(b), index, flags);
        return;
    case Motion::Cycle: {
        // A hole at X Y; Z is its bottom and R its clearance plane, not the tool's next place.
        if (b.r)
            modal_.cycleR = *b.r * modal_.unit;
        if (!b.x && !b.y && !motionWord)
            return;
        Block at = b;
        at.z.reset();
        Point3 hole = target(at);
        moveTo(hole, MoveKind::Hole, index, flags);
        if (b.z) {
            Bounds &bounds = path_.figures.bounds;
            bounds.add({hole.x, hole.y, modal_.absolute ? *b.z * modal_.unit : hole.z + *b.z * modal_.unit});
        }
        if (modal_.cycleReturnToR && b.r)
            pos_.z = modal_.cycleR;
        return;
    }
    }
}

} // namespace

Toolpath interpretProgram(std::string_view text, const InterpretOptions &options)
{
    Interpreter in(options);
    in.path_.moves.reserve(text.size() / 24); // about one move per line of a CAM program
    const char *const base = text.data();
    const std::size_t size = text.size();
    bool stopped = false;
    int count = 0;
    forEachNcLine(text, [&](int index, std::string_view line) {
        if (stopped)
            return;
        count = index + 1;
        in.line(line, index);
        if (count % kCheckEvery != 0)
            return;
        if (options.cancel && options.cancel->load(std::memory_order_relaxed)) {
            stopped = true;
            in.path_.complete = false;
            return;
        }
        if (options.progress)
            options.progress(int((line.data() + line.size() - base) * 1000 / qint64(size)));
    });
    in.path_.lineCount = count;
    if (in.path_.complete && options.progress)
        options.progress(1000);
    return in.take();
}

} // namespace tarmel::toolpath
