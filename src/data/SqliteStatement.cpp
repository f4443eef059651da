#include "data/SqliteStatement.h"

#include "data/DatabaseError.h"

#include <sqlite3.h>

SqliteStatement::SqliteStatement(sqlite3* db, const QString& sql) : m_db(db)
{
    const QByteArray text = sql.toUtf8();
    if (sqlite3_prepare_v2(db, text.constData(), int(text.size()), &m_stmt, nullptr) != SQLITE_OK) {
        sqlite3_finalize(m_stmt);
        m_stmt = nullptr;
    }
}

SqliteStatement::~SqliteStatement()
{
    sqlite3_finalize(m_stmt);
}

QString SqliteStatement::reason() const
{
    return QString::fromUtf8(sqlite3_errmsg(m_db));
}

void throwQueryError(sqlite3* db, const QString& shown)
{
    throw DatabaseError(QStringLiteral("%1\r\n%2").arg(shown, QString::fromUtf8(sqlite3_errmsg(db))), shown);
}
