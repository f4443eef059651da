#pragma once

#include <QByteArray>
#include <QString>
#include <exception>

// An error of the data layer: a statement that cannot be translated or run, a value that
// does not convert, a file that is not a database. The message is what the user sees.
class DatabaseError : public std::exception {
public:
    explicit DatabaseError(QString message, QString statement = {})
        : m_message(std::move(message)), m_statement(std::move(statement)), m_utf8(m_message.toUtf8())
    {
    }

    const QString& message() const { return m_message; }
    // The statement text the error belongs to; empty when it is not about a statement.
    const QString& statement() const { return m_statement; }
    const char* what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QString m_statement;
    QByteArray m_utf8;
};
