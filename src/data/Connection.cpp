#include "data/Connection.h"

#include "data/DatabaseError.h"
#include "data/JetFunctions.h"
#include "data/Schema.h"

#include <QFile>
#include <QFileInfo>
#include <sqlite3.h>

Connection::~Connection()
{
    disconnect();
}

QString Connection::dataSourceOf(const QString& connectionString)
{
    for (const QString& part : connectionString.split(';')) {
        const int equals = part.indexOf('=');
        if (equals > 0 && part.left(equals).trimmed().compare(QLatin1String("Data Source"), Qt::CaseInsensitive) == 0)
            return part.mid(equals + 1).trimmed();
    }
    return {};
}

void Connection::connect()
{
    disconnect();
    const QString path = dataSourceOf(m_connectionString);
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isFile())
        throw DatabaseError(QStringLiteral("数据库文件不存在：%1").arg(path));
    if (info.size() == 0)
        throw DatabaseError(QStringLiteral("数据库文件是空的：%1").arg(path));

    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        const QString reason = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QStringLiteral("无法打开");
        sqlite3_close(db);
        throw DatabaseError(QStringLiteral("无法打开数据库 %1：%2").arg(path, reason));
    }
    sqlite3_busy_timeout(db, 2000);
    // Reading the schema proves the file is a database and that its first pages are sound.
    // A full check would read the whole file at every login, which grows for years.
    sqlite3_stmt* check = nullptr;
    QString problem;
    if (sqlite3_prepare_v2(db, "SELECT count(*) FROM sqlite_master", -1, &check, nullptr) != SQLITE_OK ||
        sqlite3_step(check) != SQLITE_ROW)
        problem = QString::fromUtf8(sqlite3_errmsg(db));
    sqlite3_finalize(check);
    // A write-ahead log synced at every commit: each statement is as durable as before, at the
    // cost of one sync instead of the several a rollback journal needs.
    if (problem.isEmpty() && (sqlite3_exec(db, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr) != SQLITE_OK ||
                              sqlite3_exec(db, "PRAGMA synchronous=FULL", nullptr, nullptr, nullptr) != SQLITE_OK))
        problem = QString::fromUtf8(sqlite3_errmsg(db));
    if (problem.isEmpty() && !registerJetFunctions(db))
        problem = QString::fromUtf8(sqlite3_errmsg(db));
    if (!problem.isEmpty()) {
        sqlite3_close(db);
        throw DatabaseError(QStringLiteral("%1 不是可用的数据库文件：%2").arg(path, problem));
    }
    m_db = db;
}

void Connection::disconnect()
{
    if (m_db) {
        sqlite3_close_v2(m_db);
        m_db = nullptr;
    }
    m_columns.clear();
}

QString Connection::lastError() const
{
    return m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QStringLiteral("没有连接数据库");
}

int Connection::execute(const QString& sqliteSql, const QString& shownStatement)
{
    const QString shown = shownStatement.isEmpty() ? sqliteSql : shownStatement;
    if (!m_db)
        throw DatabaseError(QStringLiteral("没有连接数据库"), shown);
    char* message = nullptr;
    if (sqlite3_exec(m_db, sqliteSql.toUtf8().constData(), nullptr, nullptr, &message) != SQLITE_OK) {
        const QString reason = QString::fromUtf8(message ? message : sqlite3_errmsg(m_db));
        sqlite3_free(message);
        throw DatabaseError(QStringLiteral("%1\r\n%2").arg(shown, reason), shown);
    }
    return sqlite3_changes(m_db);
}

void Connection::begin()
{
    execute(QStringLiteral("BEGIN"));
}

void Connection::commit()
{
    execute(QStringLiteral("COMMIT"));
}

void Connection::rollback()
{
    if (m_db && !sqlite3_get_autocommit(m_db))
        execute(QStringLiteral("ROLLBACK"));
}

FieldType Connection::fieldTypeOfDeclared(const QString& declaredType)
{
    const QString type = declaredType.toUpper();
    if (type.startsWith(QLatin1String("INT")))
        return FieldType::Integer;
    if (type.startsWith(QLatin1String("DOUBLE")) || type.startsWith(QLatin1String("REAL")) ||
        type.startsWith(QLatin1String("FLOAT")) || type.startsWith(QLatin1String("NUMERIC")) ||
        type.startsWith(QLatin1String("CURRENCY")))
        return FieldType::Float;
    if (type.startsWith(QLatin1String("BOOL")) || type.startsWith(QLatin1String("BIT")))
        return FieldType::Boolean;
    if (type.startsWith(QLatin1String("DATE")))
        return FieldType::DateTime;
    if (type.startsWith(QLatin1String("LONGTEXT")) || type.startsWith(QLatin1String("MEMO")))
        return FieldType::Memo;
    return FieldType::Text;
}

const QList<ColumnInfo>& Connection::columnsOf(const QString& table)
{
    const QString key = table.toLower();
    auto found = m_columns.find(key);
    if (found != m_columns.end())
        return *found;
    QList<ColumnInfo> columns;
    if (m_db) {
        sqlite3_stmt* stmt = nullptr;
        const QByteArray sql = "SELECT name, type FROM pragma_table_info(?1)";
        if (sqlite3_prepare_v2(m_db, sql.constData(), -1, &stmt, nullptr) == SQLITE_OK) {
            const QByteArray name = table.toUtf8();
            sqlite3_bind_text(stmt, 1, name.constData(), name.size(), SQLITE_TRANSIENT);
            while (sqlite3_step(stmt) == SQLITE_ROW) {
                ColumnInfo column;
                column.name = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
                column.type = fieldTypeOfDeclared(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 1))));
                columns << column;
            }
        }
        sqlite3_finalize(stmt);
    }
    return *m_columns.insert(key, columns);
}

void createDatabaseFile(const QString& path)
{
    if (QFileInfo::exists(path))
        throw DatabaseError(QStringLiteral("数据库文件已经存在，不会覆盖：%1").arg(path));
    const QString temporary = path + QStringLiteral(".new");
    QFile::remove(temporary);
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(temporary.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
        const QString reason = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString();
        sqlite3_close(db);
        throw DatabaseError(QStringLiteral("无法创建数据库 %1：%2").arg(path, reason));
    }
    QStringList statements = Schema::createStatements();
    statements.prepend(QStringLiteral("BEGIN"));
    statements << Schema::initialRowStatements() << QStringLiteral("COMMIT");
    for (const QString& statement : statements) {
        char* message = nullptr;
        if (sqlite3_exec(db, statement.toUtf8().constData(), nullptr, nullptr, &message) != SQLITE_OK) {
            const QString reason = QString::fromUtf8(message);
            sqlite3_free(message);
            sqlite3_close(db);
            QFile::remove(temporary);
            throw DatabaseError(QStringLiteral("无法创建数据库 %1：%2").arg(path, reason), statement);
        }
    }
    sqlite3_close(db);
    // Appear under the real name only when complete.
    if (!QFile::rename(temporary, path)) {
        QFile::remove(temporary);
        throw DatabaseError(QStringLiteral("无法创建数据库 %1").arg(path));
    }
}
