#include "data/SqlQuote.h"

QString quoted(const QString& value)
{
    QString text = value;
    text.replace('\'', QStringLiteral("''"));
    return '\'' + text + '\'';
}

QString quotedContains(const QString& value)
{
    QString literal;
    literal.reserve(value.size() + 8);
    for (const QChar c : value) {
        if (c == '%' || c == '_' || c == '[')
            literal += '[' + QString(c) + ']';
        else
            literal += c;
    }
    return quoted('%' + literal + '%');
}
