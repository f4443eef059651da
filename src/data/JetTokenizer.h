#pragma once

#include <QList>
#include <QString>

// The lexical pieces of a Jet statement. Keywords are not told apart from names here: the
// parser compares a Name token with the keyword it expects, ignoring letter case.
struct JetToken {
    enum class Type {
        Name,     // plain or [bracketed] identifier, keyword or function name
        Number,   // 12, 1.5, .5, 2e3
        Text,     // 'text' or "text", with the doubled quotes already undone
        Date,     // #...#, text between the hashes
        Operator, // = <> < > <= >= + - * / & ( ) , ; .
        End,
    };
    Type type = Type::End;
    QString text;
    int position = 0;       // offset in the statement, for error messages
    bool bracketed = false; // a [name]: never a keyword

    bool isOperator(QStringView op) const { return type == Type::Operator && text == op; }
    bool isKeyword(QStringView word) const {
        return type == Type::Name && !bracketed && text.compare(word, Qt::CaseInsensitive) == 0;
    }
};

// Splits a statement into tokens, ending with one End token. Throws DatabaseError (carrying
// the statement) on a character or literal it does not know.
QList<JetToken> tokenizeJet(const QString& statement);

// The error every failure of the translation raises: a readable reason plus the statement.
[[noreturn]] void throwJetError(const QString& reason, const QString& statement);
