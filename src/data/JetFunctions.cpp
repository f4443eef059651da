#include "data/JetFunctions.h"

#include <QDate>
#include <QList>
#include <QLocale>
#include <QRegularExpression>
#include <QString>

#include <sqlite3.h>

#include <cmath>
#include <limits>
#include <optional>

namespace {

// ---- values as Jet sees them

struct Number {
    bool isInteger = true;
    qint64 integer = 0;
    double real = 0;
    double toReal() const { return isInteger ? double(integer) : real; }
};

bool isNull(sqlite3_value* v) {
    return sqlite3_value_type(v) == SQLITE_NULL;
}
bool isText(sqlite3_value* v) {
    return sqlite3_value_type(v) == SQLITE_TEXT || sqlite3_value_type(v) == SQLITE_BLOB;
}

QString rawText(sqlite3_value* v) {
    const auto* data = reinterpret_cast<const char*>(sqlite3_value_text(v));
    return QString::fromUtf8(data, sqlite3_value_bytes(v));
}

// Whole numbers without a fraction ("3", not "3.0"), others in the shortest text that reads
// back as the same double.
QString realText(double d) {
    if (std::isfinite(d) && d == std::floor(d) && std::fabs(d) < 1e15)
        return QString::number(qint64(d));
    return QString::number(d, 'G', QLocale::FloatingPointShortest);
}

QString textOf(sqlite3_value* v) {
    switch (sqlite3_value_type(v)) {
    case SQLITE_INTEGER:
        return QString::number(sqlite3_value_int64(v));
    case SQLITE_FLOAT:
        return realText(sqlite3_value_double(v));
    case SQLITE_NULL:
        return {};
    default:
        return rawText(v);
    }
}

// A text that reads as a number counts as that number, as in Jet's arithmetic.
std::optional<Number> numberOf(sqlite3_value* v) {
    switch (sqlite3_value_type(v)) {
    case SQLITE_INTEGER:
        return Number{true, sqlite3_value_int64(v), 0};
    case SQLITE_FLOAT:
        return Number{false, 0, sqlite3_value_double(v)};
    case SQLITE_NULL:
        return std::nullopt;
    default:
        break;
    }
    const QString text = rawText(v).trimmed();
    bool ok = false;
    const qint64 integer = text.toLongLong(&ok);
    if (ok)
        return Number{true, integer, 0};
    const double real = text.toDouble(&ok);
    if (ok && std::isfinite(real))
        return Number{false, 0, real};
    return std::nullopt;
}

void resultText(sqlite3_context* ctx, const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    sqlite3_result_text(ctx, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
}

void resultNumber(sqlite3_context* ctx, const Number& n) {
    if (n.isInteger)
        sqlite3_result_int64(ctx, n.integer);
    else
        sqlite3_result_double(ctx, n.real);
}

// ---- operators and conversions

// a + b: joins two texts, adds two numbers (a number-like text counting as a number) and
// joins whatever does not add.
void jetAdd(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (isNull(argv[0]) || isNull(argv[1]))
        return sqlite3_result_null(ctx);
    if (!(isText(argv[0]) && isText(argv[1]))) {
        const std::optional<Number> a = numberOf(argv[0]);
        const std::optional<Number> b = numberOf(argv[1]);
        if (a && b) {
            qint64 sum = 0;
            if (a->isInteger && b->isInteger && !__builtin_add_overflow(a->integer, b->integer, &sum))
                return resultNumber(ctx, {true, sum, 0});
            return resultNumber(ctx, {false, 0, a->toReal() + b->toReal()});
        }
    }
    resultText(ctx, textOf(argv[0]) + textOf(argv[1]));
}

// a & b: always joins; a null side counts as empty, two nulls stay null.
void jetConcat(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (isNull(argv[0]) && isNull(argv[1]))
        return sqlite3_result_null(ctx);
    resultText(ctx, textOf(argv[0]) + textOf(argv[1]));
}

void jetCstr(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (isNull(argv[0]))
        return sqlite3_result_null(ctx);
    if (isText(argv[0]))
        return sqlite3_result_value(ctx, argv[0]);
    resultText(ctx, textOf(argv[0]));
}

// Rounds half to even, as Jet's CInt does: 2.5 gives 2, 3.5 gives 4.
void jetCint(sqlite3_context* ctx, int, sqlite3_value** argv) {
    const std::optional<Number> n = numberOf(argv[0]);
    if (!n)
        return sqlite3_result_null(ctx);
    if (n->isInteger)
        return sqlite3_result_int64(ctx, n->integer);
    const double floor = std::floor(n->real);
    const double fraction = n->real - floor;
    double rounded = fraction > 0.5 ? floor + 1 : floor;
    if (fraction == 0.5 && std::fmod(floor, 2.0) != 0)
        rounded = floor + 1;
    if (!(std::fabs(rounded) < 9.2e18))
        return sqlite3_result_null(ctx);
    sqlite3_result_int64(ctx, qint64(rounded));
}

// The date of a stored date-time text ("yyyy-MM-dd ..." or "yyyy/M/d ..."), or of a Jet date
// serial number (days since 1899-12-30).
std::optional<QDate> dateOf(sqlite3_value* v) {
    const int type = sqlite3_value_type(v);
    if (type == SQLITE_NULL)
        return std::nullopt;
    if (type == SQLITE_INTEGER || type == SQLITE_FLOAT) {
        const double serial = sqlite3_value_double(v);
        if (!(std::fabs(serial) < 3e6))
            return std::nullopt;
        return QDate(1899, 12, 30).addDays(qint64(std::floor(serial)));
    }
    static const QRegularExpression form(QStringLiteral(R"(^\s*(\d{4})([-/])(\d{1,2})\2(\d{1,2})(?!\d))"));
    const QRegularExpressionMatch m = form.match(rawText(v));
    if (!m.hasMatch())
        return std::nullopt;
    const QDate date(m.captured(1).toInt(), m.captured(3).toInt(), m.captured(4).toInt());
    if (!date.isValid())
        return std::nullopt;
    return date;
}

template <int (QDate::*Part)() const> void jetDatePart(sqlite3_context* ctx, int, sqlite3_value** argv) {
    const std::optional<QDate> date = dateOf(argv[0]);
    if (!date)
        return sqlite3_result_null(ctx);
    sqlite3_result_int(ctx, ((*date).*Part)());
}

// ---- like

// One compiled pattern item; each item but Many matches exactly one character.
struct LikeItem {
    enum class Kind { Char, One, Many, Class };
    Kind kind = Kind::Char;
    uint ch = 0;
    bool negated = false;
    QList<std::pair<uint, uint>> ranges; // for Class, bounds included

    static LikeItem of(Kind kind, uint ch = 0) {
        LikeItem item;
        item.kind = kind;
        item.ch = ch;
        return item;
    }

    bool matches(uint c) const {
        switch (kind) {
        case Kind::Char:
            return c == ch;
        case Kind::One:
            return true;
        case Kind::Class:
            for (const auto& [low, high] : ranges)
                if (c >= low && c <= high)
                    return !negated;
            return negated;
        case Kind::Many:
            break;
        }
        return false;
    }
};
using LikePattern = QList<LikeItem>;

QList<uint> folded(const QString& text) {
    return text.toCaseFolded().toUcs4();
}

// "%" any run, "_" one character, "[abc]" "[a-z]" "[!abc]" one character of (not of) a class;
// "[%]" is a literal "%". A "[" without its "]" stands for itself.
LikePattern compileLike(const QString& pattern) {
    const QList<uint> p = folded(pattern);
    LikePattern items;
    for (qsizetype i = 0; i < p.size(); ++i) {
        const uint c = p[i];
        if (c == U'%') {
            if (items.isEmpty() || items.last().kind != LikeItem::Kind::Many)
                items.append(LikeItem::of(LikeItem::Kind::Many));
            continue;
        }
        if (c == U'_') {
            items.append(LikeItem::of(LikeItem::Kind::One));
            continue;
        }
        const qsizetype close = c == U'[' ? p.indexOf(U']', i + 1) : -1;
        if (close < 0) {
            items.append(LikeItem::of(LikeItem::Kind::Char, c));
            continue;
        }
        QList<uint> inside = p.mid(i + 1, close - i - 1);
        i = close;
        if (inside.isEmpty()) // "[]" matches the empty text, that is nothing at all
            continue;
        LikeItem item = LikeItem::of(LikeItem::Kind::Class);
        if (inside.size() > 1 && inside.first() == U'!') {
            item.negated = true;
            inside.removeFirst();
        }
        for (qsizetype j = 0; j < inside.size(); ++j) {
            if (j + 2 < inside.size() && inside[j + 1] == U'-') {
                item.ranges.append({inside[j], inside[j + 2]});
                j += 2;
            } else {
                item.ranges.append({inside[j], inside[j]});
            }
        }
        items.append(item);
    }
    return items;
}

// Greedy match that backs up to the last "%" on a mismatch; linear in practice.
bool likeMatches(const LikePattern& items, const QList<uint>& text) {
    qsizetype t = 0, p = 0, starItem = -1, starText = 0;
    while (t < text.size()) {
        if (p < items.size() && items[p].kind == LikeItem::Kind::Many) {
            starItem = p++;
            starText = t;
        } else if (p < items.size() && items[p].matches(text[t])) {
            ++p;
            ++t;
        } else if (starItem >= 0) {
            p = starItem + 1;
            t = ++starText;
        } else {
            return false;
        }
    }
    while (p < items.size() && items[p].kind == LikeItem::Kind::Many)
        ++p;
    return p == items.size();
}

void jetLike(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (isNull(argv[0]) || isNull(argv[1]))
        return sqlite3_result_null(ctx);
    const QList<uint> text = folded(textOf(argv[0]));
    // A constant pattern is compiled once per statement and kept with it.
    if (const auto* cached = static_cast<const LikePattern*>(sqlite3_get_auxdata(ctx, 1)))
        return sqlite3_result_int(ctx, likeMatches(*cached, text) ? 1 : 0);
    auto* compiled = new LikePattern(compileLike(textOf(argv[1])));
    sqlite3_result_int(ctx, likeMatches(*compiled, text) ? 1 : 0);
    sqlite3_set_auxdata(ctx, 1, compiled, [](void* p) { delete static_cast<LikePattern*>(p); });
}

} // namespace

bool registerJetFunctions(sqlite3* db) {
    using Function = void (*)(sqlite3_context*, int, sqlite3_value**);
    struct Entry {
        const char* name;
        int arguments;
        Function function;
    };
    static const Entry entries[] = {
        {"jet_add", 2, jetAdd},
        {"jet_concat", 2, jetConcat},
        {"jet_cstr", 1, jetCstr},
        {"jet_cint", 1, jetCint},
        {"jet_year", 1, jetDatePart<&QDate::year>},
        {"jet_month", 1, jetDatePart<&QDate::month>},
        {"jet_day", 1, jetDatePart<&QDate::day>},
        {"jet_like", 2, jetLike},
    };
    int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
#ifdef SQLITE_INNOCUOUS
    flags |= SQLITE_INNOCUOUS;
#endif
    for (const Entry& e : entries) {
        if (sqlite3_create_function_v2(db, e.name, e.arguments, flags, nullptr, e.function, nullptr, nullptr,
                                       nullptr) != SQLITE_OK)
            return false;
    }
    return true;
}
