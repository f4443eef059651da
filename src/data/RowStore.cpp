#include "data/RowStore.h"

#include "data/DatabaseError.h"
#include "data/JetSql.h"
#include "data/MaterialStore.h"
#include "data/RowidStore.h"

std::unique_ptr<RowStore> RowStore::open(Connection& connection, const QString& jetSql)
{
    if (!connection.connected())
        throw DatabaseError(QStringLiteral("%1\r\n没有连接数据库").arg(jetSql), jetSql);
    const JetStatement statement = translateJet(jetSql);
    if (statement.kind != JetStatement::Kind::Select)
        throw DatabaseError(QStringLiteral("%1\r\n打开数据集需要查询语句").arg(jetSql), jetSql);
    if (statement.rowAddressable && !connection.columnsOf(statement.table).isEmpty())
        return openRowidStore(connection, statement, jetSql);
    return openMaterialStore(connection, statement.sqlite, jetSql);
}
