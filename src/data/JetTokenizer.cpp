#include "data/JetTokenizer.h"

#include "data/DatabaseError.h"

void throwJetError(const QString& reason, const QString& statement) {
    throw DatabaseError(QStringLiteral("无法识别的 SQL 语句（%1）：%2").arg(reason, statement), statement);
}

namespace {

bool isNameStart(QChar c) {
    return c.isLetter() || c == u'_';
}
bool isNamePart(QChar c) {
    return c.isLetterOrNumber() || c == u'_';
}
bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

class Tokenizer {
public:
    explicit Tokenizer(const QString& statement) : m_s(statement) {}

    QList<JetToken> run() {
        QList<JetToken> tokens;
        while (true) {
            while (m_i < m_s.size() && m_s[m_i].isSpace())
                ++m_i;
            if (m_i >= m_s.size())
                break;
            tokens.append(next(tokens.isEmpty() ? nullptr : &tokens.last()));
        }
        tokens.append(JetToken{JetToken::Type::End, {}, int(m_s.size()), false});
        return tokens;
    }

private:
    [[noreturn]] void fail(const QString& what, qsizetype at) const {
        throwJetError(QStringLiteral("%1，位于第 %2 个字符").arg(what, QString::number(at + 1)), m_s);
    }

    JetToken next(const JetToken* previous) {
        const qsizetype start = m_i;
        const QChar c = m_s[m_i];
        const bool afterName = previous && previous->type == JetToken::Type::Name;
        if (isNameStart(c))
            return name(start);
        if (c == u'[')
            return bracketedName(start);
        if (isDigit(c) || (c == u'.' && !afterName && m_i + 1 < m_s.size() && isDigit(m_s[m_i + 1])))
            return number(start);
        if (c == u'\'' || c == u'"')
            return text(start, c);
        if (c == u'#')
            return date(start);
        return op(start);
    }

    JetToken name(qsizetype start) {
        while (m_i < m_s.size() && isNamePart(m_s[m_i]))
            ++m_i;
        return {JetToken::Type::Name, m_s.mid(start, m_i - start), int(start), false};
    }

    JetToken bracketedName(qsizetype start) {
        const qsizetype close = m_s.indexOf(u']', start + 1);
        if (close < 0)
            fail(QStringLiteral("[ 没有对应的 ]"), start);
        const QString inner = m_s.mid(start + 1, close - start - 1);
        if (inner.trimmed().isEmpty())
            fail(QStringLiteral("方括号中的名称为空"), start);
        m_i = close + 1;
        return {JetToken::Type::Name, inner, int(start), true};
    }

    void digits() {
        while (m_i < m_s.size() && isDigit(m_s[m_i]))
            ++m_i;
    }

    JetToken number(qsizetype start) {
        digits();
        if (m_i < m_s.size() && m_s[m_i] == u'.') {
            ++m_i;
            digits();
        }
        if (m_i < m_s.size() && (m_s[m_i] == u'e' || m_s[m_i] == u'E')) {
            qsizetype j = m_i + 1;
            if (j < m_s.size() && (m_s[j] == u'+' || m_s[j] == u'-'))
                ++j;
            if (j < m_s.size() && isDigit(m_s[j])) {
                m_i = j;
                digits();
            }
        }
        if (m_i < m_s.size() && (isNamePart(m_s[m_i]) || m_s[m_i] == u'.'))
            fail(QStringLiteral("数字写法不正确"), start);
        return {JetToken::Type::Number, m_s.mid(start, m_i - start), int(start), false};
    }

    // A quote inside the literal is written twice.
    JetToken text(qsizetype start, QChar quote) {
        QString value;
        ++m_i;
        while (true) {
            if (m_i >= m_s.size())
                fail(QStringLiteral("字符串没有结束"), start);
            if (m_s[m_i] == quote) {
                if (m_i + 1 < m_s.size() && m_s[m_i + 1] == quote) {
                    value += quote;
                    m_i += 2;
                    continue;
                }
                ++m_i;
                break;
            }
            value += m_s[m_i++];
        }
        return {JetToken::Type::Text, value, int(start), false};
    }

    JetToken date(qsizetype start) {
        const qsizetype close = m_s.indexOf(u'#', start + 1);
        if (close < 0)
            fail(QStringLiteral("日期没有结束"), start);
        m_i = close + 1;
        return {JetToken::Type::Date, m_s.mid(start + 1, close - start - 1), int(start), false};
    }

    JetToken op(qsizetype start) {
        static const QString twoChar[] = {QStringLiteral("<>"), QStringLiteral("<="), QStringLiteral(">=")};
        for (const QString& o : twoChar) {
            if (QStringView(m_s).mid(start, 2) == o) {
                m_i += 2;
                return {JetToken::Type::Operator, o, int(start), false};
            }
        }
        static const QString oneChar = QStringLiteral("=<>+-*/&(),;.");
        if (!oneChar.contains(m_s[start]))
            fail(QStringLiteral("无法识别的字符“%1”").arg(m_s[start]), start);
        ++m_i;
        return {JetToken::Type::Operator, QString(m_s[start]), int(start), false};
    }

    const QString& m_s;
    qsizetype m_i = 0;
};

} // namespace

QList<JetToken> tokenizeJet(const QString& statement) {
    return Tokenizer(statement).run();
}
