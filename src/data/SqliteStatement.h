#pragma once

#include <QString>

struct sqlite3;
struct sqlite3_stmt;

// One prepared SQLite statement, finalized with the object.
class SqliteStatement {
public:
    SqliteStatement(sqlite3* db, const QString& sql);
    ~SqliteStatement();
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    bool prepared() const { return m_stmt != nullptr; }
    sqlite3_stmt* get() const { return m_stmt; }
    // SQLite's words for the last failure on the connection.
    QString reason() const;

private:
    sqlite3* m_db;
    sqlite3_stmt* m_stmt = nullptr;
};

// The error of a select that could not be prepared or read: the statement as its caller wrote
// it, then SQLite's reason, as the query helpers show it.
[[noreturn]] void throwQueryError(sqlite3* db, const QString& shown);
