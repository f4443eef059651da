#include "common/TestFolder.h"

#include "data/Connection.h"
#include "data/Dataset.h"
#include "data/ValueConversion.h"
#include "support/IniFile.h"

#include <QFile>
#include <QStringList>

TestFolder::TestFolder(bool withDatabase)
{
    if (withDatabase)
        createDatabaseFile(file(QStringLiteral("ss.mdb")));
}

QString TestFolder::path() const
{
    return m_dir.path() + '/';
}

void TestFolder::writeBytes(const QString& name, const QByteArray& bytes) const
{
    QFile out(file(name));
    if (out.open(QIODevice::WriteOnly))
        out.write(bytes);
}

void TestFolder::writeGbk(const QString& name, const QString& text) const
{
    writeBytes(name, encodeGbk(text));
}

QByteArray TestFolder::readBytes(const QString& name) const
{
    QFile in(file(name));
    return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
}

namespace {

struct Opened {
    explicit Opened(const QString& path)
    {
        connection.setConnectionString(QStringLiteral("Data Source=") + path);
        connection.connect();
    }
    Connection connection;
};

} // namespace

void TestFolder::exec(const QString& jetSql) const
{
    Opened db(file(QStringLiteral("ss.mdb")));
    Dataset query(db.connection, QStringLiteral("test"));
    query.setSql(jetSql);
    query.execute();
}

void TestFolder::execSqlite(const QString& sql) const
{
    Opened db(file(QStringLiteral("ss.mdb")));
    db.connection.execute(sql);
}

QVariant TestFolder::scalar(const QString& jetSql) const
{
    Opened db(file(QStringLiteral("ss.mdb")));
    Dataset query(db.connection, QStringLiteral("test"));
    query.setSql(jetSql);
    query.open();
    return query.isEmpty() ? QVariant() : query.firstValue();
}

QStringList TestFolder::rows(const QString& jetSql) const
{
    Opened db(file(QStringLiteral("ss.mdb")));
    Dataset query(db.connection, QStringLiteral("test"));
    query.setSql(jetSql);
    query.open();
    QStringList result;
    for (int row = 0; row < query.recordCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < query.fieldCount(); ++column)
            cells << ValueConversion::toText(query.valueAt(row, column));
        result << cells.join('|');
    }
    return result;
}
