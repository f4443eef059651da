#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

struct sqlite3;

enum class FieldType { Text, Memo, Integer, Float, Boolean, DateTime };

struct ColumnInfo {
    QString name;
    FieldType type = FieldType::Text;
};

// The one connection to the database file. The connection string is the one the program
// composes ("Provider=...;Data Source=<file>;...;Jet OLEDB:Database Password=..."); only the
// Data Source counts here: the file is a SQLite database, which has no file password.
class Connection {
public:
    Connection() = default;
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    void setConnectionString(const QString& text) { m_connectionString = text; }
    const QString& connectionString() const { return m_connectionString; }
    static QString dataSourceOf(const QString& connectionString);

    // Opens the file named by the Data Source. A missing, empty, foreign or damaged file is
    // refused (DatabaseError) and left as it is: nothing is created in its place.
    void connect();
    void disconnect();
    bool connected() const { return m_db != nullptr; }
    sqlite3* handle() const { return m_db; }

    // Runs SQLite SQL that returns no rows; returns the number of changed rows.
    int execute(const QString& sqliteSql, const QString& shownStatement = {});
    void begin();
    void commit();
    void rollback();

    // The columns of a table with their kinds (cached per connection); empty when the table
    // does not exist.
    const QList<ColumnInfo>& columnsOf(const QString& table);
    static FieldType fieldTypeOfDeclared(const QString& declaredType);

    QString lastError() const;

private:
    QString m_connectionString;
    sqlite3* m_db = nullptr;
    QHash<QString, QList<ColumnInfo>> m_columns;
};

// Creates a new database file with every table and the initial operator. Refuses to
// overwrite an existing file.
void createDatabaseFile(const QString& path);
