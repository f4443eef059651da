#pragma once

#include "data/Connection.h"

#include <QList>
#include <QString>
#include <QVariant>
#include <memory>

// A column of an open row set: its name, its kind, and the table column it reads (empty for
// an expression, which cannot be written).
struct DatasetColumn {
    QString name;
    FieldType type = FieldType::Text;
    QString tableColumn;
};

// The rows of an open select. Two kinds: rows of one table addressed by rowid and read in
// pages when they are reached, and small results (aggregates, joins) read whole.
class RowStore {
public:
    virtual ~RowStore() = default;

    const QList<DatasetColumn>& columns() const { return m_columns; }
    const QString& table() const { return m_table; }
    bool modifiable() const { return !m_table.isEmpty(); }

    virtual int count() const = 0;
    virtual QVariant value(int row, int column) = 0;
    virtual qint64 rowid(int row) const = 0;
    // After the row was written: read it again.
    virtual void refresh(int row) = 0;
    // A row inserted into the table: it joins the set at the end.
    virtual void append(qint64 rowid) = 0;
    virtual void remove(int row) = 0;
    virtual void sortBy(int column, bool ascending) = 0;

    // Opens the translated select; throws DatabaseError with the statement on failure.
    static std::unique_ptr<RowStore> open(Connection& connection, const QString& jetSql);

protected:
    QList<DatasetColumn> m_columns;
    QString m_table; // set when rows can be written back by rowid
};
