#pragma once

#include "data/Connection.h"
#include "data/Field.h"
#include "data/RowStore.h"

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QVariant>
#include <memory>

enum class DatasetState { Inactive, Browse, Edit, Insert };

// A query object: an SQL text in the Jet dialect, a row set fixed when it is opened (a static
// cursor), a current record, typed fields by name, and the insert / edit / post / cancel /
// delete cycle written back to the table by rowid. Rows are read from the database as they are
// reached, so opening a large table costs little more than reading its row identifiers.
class Dataset : public QObject {
    Q_OBJECT
public:
    Dataset(Connection& connection, const QString& name, int tag = 1, QObject* parent = nullptr);
    ~Dataset() override;

    const QString& name() const { return m_name; }
    int tag() const { return m_tag; }
    void setTag(int tag) { m_tag = tag; }
    Connection& connection() const { return m_connection; }

    void setSql(const QString& sql) { m_sql = sql; }
    const QString& sql() const { return m_sql; }

    // Runs the select; throws DatabaseError carrying the statement on failure (and stays closed).
    void open();
    void close();
    // Runs a statement that returns no rows; returns the number of changed rows.
    int execute();
    bool active() const { return m_state != DatasetState::Inactive; }
    DatasetState state() const { return m_state; }
    bool isEditing() const { return m_state == DatasetState::Edit || m_state == DatasetState::Insert; }

    // Rows, counting a record being inserted.
    int recordCount() const;
    bool isEmpty() const { return recordCount() == 0; }
    int recNo() const { return m_current; } // index of the current record, -1 when there is none
    void first();
    void next();
    void prior();
    void last();
    void moveTo(int row);
    bool eof() const { return m_eof; }
    bool bof() const { return m_bof; }
    // Finds the first record whose field equals the value (texts without regard to case).
    bool locate(const QString& fieldName, const QVariant& value);

    int fieldCount() const;
    QString fieldName(int index) const;
    FieldType fieldType(int index) const;
    int fieldIndex(const QString& name) const; // -1 when missing
    bool hasField(const QString& name) const { return fieldIndex(name) >= 0; }
    // Throws DatabaseError when the dataset has no such field.
    Field fieldByName(const QString& name);
    Field field(int index) { return Field(this, index); }
    // The first column of the current record (aggregate results such as max(id)).
    QVariant firstValue();

    // A value of any row, for grids; the record being edited shows its pending values.
    QVariant valueAt(int row, int column);

    // True when the rows can be written back (a select over one table).
    bool canModify() const;
    void insert();
    void append() { insert(); }
    void edit();
    void post();
    void cancel();
    void deleteRecord();

    // Orders the open row set by a column without running the statement again.
    void sortBy(int column, Qt::SortOrder order);

    // A control that could not hand over its value during beforePost reports it here; post()
    // then throws this message instead of writing the record.
    void reportPendingValueError(const QString& message) { if (m_pendingError.isEmpty()) m_pendingError = message; }

    // Values of the current record (used by Field).
    QVariant currentValue(int column);
    void setCurrentValue(int column, const QVariant& value);

signals:
    void reset();                   // opened, closed or reordered: every row may have changed
    void currentChanged(int row);   // the record pointer moved
    void stateChanged();            // browse, edit, insert, inactive
    void fieldChanged(int column);  // a field of the current record was set
    void rowInserted(int row);      // a record being inserted appeared at this index
    void rowAboutToBeRemoved(int row); // the row is still there (views announce the removal)
    void rowRemoved(int row);
    void rowChanged(int row);       // a row's values changed (after post)
    void beforePost();              // controls hand over what they hold before the record is written

private:
    void requireActive() const;
    void requireBrowse(const char* operation) const;
    void setCurrent(int row, bool emitSignal = true);
    void setState(DatasetState state);
    void startEditBuffer();
    void readDefaults();

    Connection& m_connection;
    QString m_name;
    int m_tag;
    QString m_sql;
    DatasetState m_state = DatasetState::Inactive;
    std::unique_ptr<RowStore> m_rows;
    int m_current = -1;
    bool m_eof = true;
    bool m_bof = true;
    // The record being edited or inserted: values and which columns were assigned.
    QVariantList m_buffer;
    QList<bool> m_assigned;
    int m_rowBeforeInsert = -1;
    QString m_pendingError;
};
