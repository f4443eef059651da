#include "data/JetSql.h"

#include "data/JetTokenizer.h"

#include <QDate>
#include <QDateTime>
#include <QRegularExpression>
#include <QTime>

#include <sqlite3.h>

namespace {

// A translated expression. Every composite is written in parentheses, so a piece can be
// placed anywhere without regard to SQLite's precedence.
struct Expr {
    QString sql;
    bool bareColumn = false; // a column reference and nothing else
    bool aggregate = false;  // contains max, min, count, sum or avg
};

// Words that end or structure an expression; unbracketed they are never column names.
bool isReserved(const JetToken& t) {
    static const QStringList words = {
        QStringLiteral("select"), QStringLiteral("distinct"), QStringLiteral("from"),   QStringLiteral("where"),
        QStringLiteral("group"),  QStringLiteral("having"),   QStringLiteral("order"),  QStringLiteral("by"),
        QStringLiteral("asc"),    QStringLiteral("desc"),     QStringLiteral("as"),     QStringLiteral("insert"),
        QStringLiteral("into"),   QStringLiteral("values"),   QStringLiteral("update"), QStringLiteral("set"),
        QStringLiteral("delete"), QStringLiteral("and"),      QStringLiteral("or"),     QStringLiteral("not"),
        QStringLiteral("like"),   QStringLiteral("is"),       QStringLiteral("in"),     QStringLiteral("between"),
        QStringLiteral("null"),   QStringLiteral("true"),     QStringLiteral("false"),
    };
    if (t.type != JetToken::Type::Name || t.bracketed)
        return false;
    for (const QString& w : words)
        if (t.isKeyword(w))
            return true;
    return false;
}

// A name SQLite reads as it stands, or the name in brackets (which SQLite never mistakes for
// a string, unlike double quotes).
QString sqliteName(const QString& name) {
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    const QByteArray utf8 = name.toUtf8();
    if (plain.match(name).hasMatch() && !sqlite3_keyword_check(utf8.constData(), int(utf8.size())))
        return name;
    return u'[' + name + u']';
}

QString sqliteText(const QString& value) {
    QString quoted = value;
    quoted.replace(u'\'', QStringLiteral("''"));
    return u'\'' + quoted + u'\'';
}

// #2026-03-05#, #2026/3/5#, #3/5/2026# (month first, as Jet reads it), each with an optional
// time "h:mm[:ss] [AM|PM]".
QString dateLiteral(const QString& text) {
    static const QRegularExpression form(QStringLiteral(
        R"(^\s*(?:(\d{4})[-/](\d{1,2})[-/](\d{1,2})|(\d{1,2})/(\d{1,2})/(\d{4}))(?:\s+(\d{1,2}):(\d{2})(?::(\d{2}))?\s*([AaPp][Mm])?)?\s*$)"));
    const QRegularExpressionMatch m = form.match(text);
    if (!m.hasMatch())
        return {};
    const bool yearFirst = !m.captured(1).isEmpty();
    const QDate date = yearFirst ? QDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt())
                                 : QDate(m.captured(6).toInt(), m.captured(4).toInt(), m.captured(5).toInt());
    int hour = m.captured(7).toInt();
    const QString half = m.captured(10).toLower();
    if (!half.isEmpty()) {
        if (hour < 1 || hour > 12)
            return {};
        hour = hour % 12 + (half == u"pm" ? 12 : 0);
    }
    const QTime time(hour, m.captured(8).toInt(), m.captured(9).toInt());
    if (!date.isValid() || !time.isValid())
        return {};
    return QDateTime(date, time).toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
}

class Parser {
public:
    explicit Parser(const QString& statement) : m_statement(statement), m_tokens(tokenizeJet(statement)) {}

    JetStatement statement() {
        JetStatement result;
        if (accept(u"select"))
            select(result);
        else if (accept(u"insert"))
            insert(result);
        else if (accept(u"update"))
            update(result);
        else if (accept(u"delete"))
            remove(result);
        else
            fail(QStringLiteral("语句应以 SELECT、INSERT、UPDATE 或 DELETE 开始"));
        acceptOperator(u";");
        if (peek().type != JetToken::Type::End)
            fail(QStringLiteral("语句结束后还有多余的内容"));
        return result;
    }

private:
    // ---- token helpers

    const JetToken& peek(int ahead = 0) const { return m_tokens[qMin(m_pos + ahead, int(m_tokens.size()) - 1)]; }
    const JetToken& take() { return m_tokens[m_pos < m_tokens.size() - 1 ? m_pos++ : m_pos]; }

    bool accept(QStringView keyword) {
        if (!peek().isKeyword(keyword))
            return false;
        ++m_pos;
        return true;
    }
    bool acceptOperator(QStringView op) {
        if (!peek().isOperator(op))
            return false;
        ++m_pos;
        return true;
    }
    void expect(QStringView keyword) {
        if (!accept(keyword))
            fail(QStringLiteral("应为 %1").arg(keyword.toString().toUpper()));
    }
    void expectOperator(QStringView op) {
        if (!acceptOperator(op))
            fail(QStringLiteral("应为“%1”").arg(op.toString()));
    }

    [[noreturn]] void fail(const QString& what) const { failAt(peek(), what); }
    [[noreturn]] void failAt(const JetToken& t, const QString& what) const {
        const QString where = t.type == JetToken::Type::End ? QStringLiteral("，位于语句末尾")
                                                            : QStringLiteral("，位于第 %1 个字符").arg(t.position + 1);
        throwJetError(what + where, m_statement);
    }

    QString name(const QString& what) {
        if (peek().type != JetToken::Type::Name || isReserved(peek()))
            fail(QStringLiteral("应为%1").arg(what));
        return take().text;
    }

    // ---- statements

    void select(JetStatement& r) {
        r.kind = JetStatement::Kind::Select;
        const bool distinct = accept(u"distinct");
        bool aggregate = false;
        QStringList items;
        if (acceptOperator(u"*")) {
            items << QStringLiteral("*");
        } else {
            do {
                const Expr e = expression();
                aggregate |= e.aggregate;
                QString item = e.sql;
                if (accept(u"as"))
                    item += QStringLiteral(" AS ") + sqliteName(name(QStringLiteral("列的别名")));
                items << item;
            } while (acceptOperator(u","));
        }
        r.selectList = items.join(QStringLiteral(", "));
        expect(u"from");
        r.table = name(QStringLiteral("表名"));
        if (peek().isOperator(u","))
            fail(QStringLiteral("只能查询一个表"));
        QString sql = QStringLiteral("SELECT ") + (distinct ? QStringLiteral("DISTINCT ") : QString()) + r.selectList +
                      QStringLiteral(" FROM ") + sqliteName(r.table);
        if (accept(u"where")) {
            r.where = condition();
            sql += QStringLiteral(" WHERE ") + r.where;
        }
        bool grouped = false;
        if (accept(u"group")) {
            expect(u"by");
            grouped = true;
            QStringList terms;
            do
                terms << expression().sql;
            while (acceptOperator(u","));
            sql += QStringLiteral(" GROUP BY ") + terms.join(QStringLiteral(", "));
        }
        if (accept(u"having")) {
            grouped = true;
            sql += QStringLiteral(" HAVING ") + expression().sql;
        }
        if (accept(u"order")) {
            expect(u"by");
            QStringList terms;
            do {
                const Expr e = expression();
                aggregate |= e.aggregate;
                // Jet sorts texts without regard to case; text columns already do.
                QString term = e.bareColumn ? e.sql : e.sql + QStringLiteral(" COLLATE NOCASE");
                if (accept(u"desc"))
                    term += QStringLiteral(" DESC");
                else
                    accept(u"asc");
                terms << term;
            } while (acceptOperator(u","));
            r.orderBy = terms.join(QStringLiteral(", "));
            sql += QStringLiteral(" ORDER BY ") + r.orderBy;
        }
        r.sqlite = sql;
        r.rowAddressable = !distinct && !grouped && !aggregate;
    }

    void insert(JetStatement& r) {
        r.kind = JetStatement::Kind::Insert;
        expect(u"into");
        r.table = name(QStringLiteral("表名"));
        QStringList columns;
        if (acceptOperator(u"(")) {
            do
                columns << sqliteName(name(QStringLiteral("列名")));
            while (acceptOperator(u","));
            expectOperator(u")");
        }
        expect(u"values");
        expectOperator(u"(");
        QStringList values;
        do
            values << expression().sql;
        while (acceptOperator(u","));
        expectOperator(u")");
        if (!columns.isEmpty() && columns.size() != values.size())
            fail(QStringLiteral("列的个数（%1）与值的个数（%2）不同").arg(columns.size()).arg(values.size()));
        r.sqlite = QStringLiteral("INSERT INTO ") + sqliteName(r.table) +
                   (columns.isEmpty() ? QString() : QStringLiteral(" (") + columns.join(QStringLiteral(", ")) + u')') +
                   QStringLiteral(" VALUES (") + values.join(QStringLiteral(", ")) + u')';
    }

    void update(JetStatement& r) {
        r.kind = JetStatement::Kind::Update;
        r.table = name(QStringLiteral("表名"));
        expect(u"set");
        QStringList assignments;
        do {
            const QString column = sqliteName(name(QStringLiteral("列名")));
            expectOperator(u"=");
            assignments << column + QStringLiteral(" = ") + expression().sql;
        } while (acceptOperator(u","));
        r.sqlite = QStringLiteral("UPDATE ") + sqliteName(r.table) + QStringLiteral(" SET ") +
                   assignments.join(QStringLiteral(", "));
        if (accept(u"where")) {
            r.where = condition();
            r.sqlite += QStringLiteral(" WHERE ") + r.where;
        }
    }

    void remove(JetStatement& r) {
        r.kind = JetStatement::Kind::Delete;
        acceptOperator(u"*");
        expect(u"from");
        r.table = name(QStringLiteral("表名"));
        r.sqlite = QStringLiteral("DELETE FROM ") + sqliteName(r.table);
        if (accept(u"where")) {
            r.where = condition();
            r.sqlite += QStringLiteral(" WHERE ") + r.where;
        }
    }

    QString condition() {
        const Expr e = expression();
        if (e.aggregate)
            fail(QStringLiteral("条件中不能使用聚合函数"));
        return e.sql;
    }

    // ---- expressions, loosest binding first: OR, AND, NOT, comparison, &, + -, * /, unary

    Expr expression() { return disjunction(); }

    static Expr combine(const Expr& a, const QString& op, const Expr& b) {
        return {u'(' + a.sql + u' ' + op + u' ' + b.sql + u')', false, a.aggregate || b.aggregate};
    }
    static Expr call(const QString& function, const QList<Expr>& args) {
        Expr r{function + u'(', false, false};
        for (qsizetype i = 0; i < args.size(); ++i) {
            r.sql += (i ? QStringLiteral(", ") : QString()) + args[i].sql;
            r.aggregate |= args[i].aggregate;
        }
        r.sql += u')';
        return r;
    }
    // Jet compares texts without regard to case. A text column brings its own NOCASE; for two
    // computed operands the collation is stated. With a column on either side nothing is
    // added, so that an index on the column stays usable.
    static QString caseless(const Expr& e) { return e.sql + QStringLiteral(" COLLATE NOCASE"); }

    Expr disjunction() {
        Expr e = conjunction();
        while (accept(u"or"))
            e = combine(e, QStringLiteral("OR"), conjunction());
        return e;
    }

    Expr conjunction() {
        Expr e = negation();
        while (accept(u"and"))
            e = combine(e, QStringLiteral("AND"), negation());
        return e;
    }

    Expr negation() {
        if (!accept(u"not"))
            return comparison();
        const Expr e = negation();
        return {QStringLiteral("(NOT ") + e.sql + u')', false, e.aggregate};
    }

    Expr comparison() {
        Expr e = concatenation();
        while (true) {
            static const QString ops[] = {QStringLiteral("="), QStringLiteral("<>"), QStringLiteral("<"),
                                          QStringLiteral(">"), QStringLiteral("<="), QStringLiteral(">=")};
            bool compared = false;
            for (const QString& op : ops) {
                if (acceptOperator(op)) {
                    Expr right = concatenation();
                    if (!e.bareColumn && !right.bareColumn)
                        right.sql = caseless(right);
                    e = combine(e, op, right);
                    compared = true;
                    break;
                }
            }
            if (compared)
                continue;
            if (accept(u"is")) {
                const bool negated = accept(u"not");
                expect(u"null");
                e = {u'(' + e.sql + (negated ? QStringLiteral(" IS NOT NULL)") : QStringLiteral(" IS NULL)")), false,
                     e.aggregate};
                continue;
            }
            const bool negated = peek().isKeyword(u"not") && (peek(1).isKeyword(u"like") || peek(1).isKeyword(u"in") ||
                                                              peek(1).isKeyword(u"between"));
            if (negated)
                accept(u"not");
            const QString no = negated ? QStringLiteral("NOT ") : QString();
            if (accept(u"like")) {
                const Expr like = call(QStringLiteral("jet_like"), {e, concatenation()});
                e = {u'(' + no + like.sql + u')', false, like.aggregate};
            } else if (accept(u"in")) {
                const QString left = e.bareColumn ? e.sql : caseless(e);
                expectOperator(u"(");
                QStringList list;
                bool aggregate = e.aggregate;
                do {
                    const Expr item = expression();
                    aggregate |= item.aggregate;
                    list << item.sql;
                } while (acceptOperator(u","));
                expectOperator(u")");
                e = {u'(' + left + u' ' + no + QStringLiteral("IN (") + list.join(QStringLiteral(", ")) +
                         QStringLiteral("))"),
                     false, aggregate};
            } else if (accept(u"between")) {
                const QString left = e.bareColumn ? e.sql : caseless(e);
                const Expr low = concatenation();
                expect(u"and");
                const Expr high = concatenation();
                e = {u'(' + left + u' ' + no + QStringLiteral("BETWEEN ") + low.sql + QStringLiteral(" AND ") +
                         high.sql + u')',
                     false, e.aggregate || low.aggregate || high.aggregate};
            } else {
                return e;
            }
        }
    }

    Expr concatenation() {
        Expr e = additive();
        while (acceptOperator(u"&"))
            e = call(QStringLiteral("jet_concat"), {e, additive()});
        return e;
    }

    Expr additive() {
        Expr e = multiplicative();
        while (true) {
            if (acceptOperator(u"+"))
                e = call(QStringLiteral("jet_add"), {e, multiplicative()}); // joins texts, adds numbers
            else if (acceptOperator(u"-"))
                e = combine(e, QStringLiteral("-"), multiplicative());
            else
                return e;
        }
    }

    Expr multiplicative() {
        Expr e = unary();
        while (true) {
            if (acceptOperator(u"*")) {
                e = combine(e, QStringLiteral("*"), unary());
            } else if (acceptOperator(u"/")) {
                // Jet divides as floating point: 7 / 2 is 3.5.
                const Expr divisor = unary();
                e = {QStringLiteral("(CAST(") + e.sql + QStringLiteral(" AS REAL) / ") + divisor.sql + u')', false,
                     e.aggregate || divisor.aggregate};
            } else {
                return e;
            }
        }
    }

    Expr unary() {
        if (acceptOperator(u"-")) {
            const Expr e = unary();
            return {QStringLiteral("(- ") + e.sql + u')', false, e.aggregate};
        }
        if (acceptOperator(u"+"))
            return unary();
        return primary();
    }

    Expr primary() {
        const JetToken& t = peek();
        switch (t.type) {
        case JetToken::Type::Number:
            return {take().text, false, false};
        case JetToken::Type::Text:
            return {sqliteText(take().text), false, false};
        case JetToken::Type::Date: {
            const QString value = dateLiteral(t.text);
            if (value.isEmpty())
                fail(QStringLiteral("日期“#%1#”无效").arg(t.text));
            take();
            return {sqliteText(value), false, false};
        }
        case JetToken::Type::Operator:
            if (acceptOperator(u"(")) {
                Expr e = expression();
                expectOperator(u")");
                e.bareColumn = false;
                return e;
            }
            fail(QStringLiteral("应为表达式"));
        case JetToken::Type::End:
            fail(QStringLiteral("应为表达式"));
        case JetToken::Type::Name:
            break;
        }
        if (accept(u"true"))
            return {QStringLiteral("1"), false, false};
        if (accept(u"false"))
            return {QStringLiteral("0"), false, false};
        if (accept(u"null"))
            return {QStringLiteral("NULL"), false, false};
        if (!t.bracketed && peek(1).isOperator(u"("))
            return function();
        const QString first = name(QStringLiteral("表达式"));
        if (!acceptOperator(u"."))
            return {sqliteName(first), true, false};
        const QString column = name(QStringLiteral("列名"));
        return {sqliteName(first) + u'.' + sqliteName(column), true, false};
    }

    QList<Expr> arguments(const JetToken& function, int count) {
        QList<Expr> args;
        if (!peek().isOperator(u")")) {
            do
                args << expression();
            while (acceptOperator(u","));
        }
        expectOperator(u")");
        if (args.size() != count)
            failAt(function, QStringLiteral("函数 %1 需要 %2 个参数").arg(function.text).arg(count));
        return args;
    }

    Expr function() {
        const JetToken& nameToken = take();
        const QString fn = nameToken.text.toLower();
        take(); // "("
        if (fn == u"iif") {
            const QList<Expr> a = arguments(nameToken, 3);
            return {QStringLiteral("CASE WHEN ") + a[0].sql + QStringLiteral(" THEN ") + a[1].sql +
                        QStringLiteral(" ELSE ") + a[2].sql + QStringLiteral(" END"),
                    false, a[0].aggregate || a[1].aggregate || a[2].aggregate};
        }
        if (fn == u"isnull") {
            const Expr a = arguments(nameToken, 1).first();
            return {u'(' + a.sql + QStringLiteral(" IS NULL)"), false, a.aggregate};
        }
        static const QStringList scalars = {QStringLiteral("cstr"), QStringLiteral("cint"), QStringLiteral("year"),
                                            QStringLiteral("month"), QStringLiteral("day")};
        if (scalars.contains(fn))
            return call(QStringLiteral("jet_") + fn, arguments(nameToken, 1));
        static const QStringList aggregates = {QStringLiteral("max"), QStringLiteral("min"), QStringLiteral("count"),
                                               QStringLiteral("sum"), QStringLiteral("avg")};
        if (aggregates.contains(fn)) {
            if (fn == u"count" && peek().isOperator(u"*") && peek(1).isOperator(u")")) {
                m_pos += 2;
                return {QStringLiteral("count(*)"), false, true};
            }
            const Expr a = arguments(nameToken, 1).first();
            if (a.aggregate)
                failAt(nameToken, QStringLiteral("聚合函数不能嵌套"));
            return {fn + u'(' + a.sql + u')', false, true};
        }
        failAt(nameToken, QStringLiteral("未知的函数 %1").arg(nameToken.text));
    }

    const QString& m_statement;
    QList<JetToken> m_tokens;
    int m_pos = 0;
};

} // namespace

JetStatement translateJet(const QString& jetSql) {
    return Parser(jetSql).statement();
}
