#include "data/Dataset.h"

#include "data/ColumnValues.h"
#include "data/DatabaseError.h"
#include "data/JetSql.h"
#include "data/SqliteStatement.h"

#include <sqlite3.h>

namespace {

QString quotedIdentifier(const QString& name)
{
    return '"' + QString(name).replace('"', QStringLiteral("\"\"")) + '"';
}

} // namespace

Dataset::Dataset(Connection& connection, const QString& name, int tag, QObject* parent)
    : QObject(parent), m_connection(connection), m_name(name), m_tag(tag)
{
    setObjectName(name);
}

Dataset::~Dataset() = default;

void Dataset::requireActive() const
{
    if (!active())
        throw DatabaseError(QStringLiteral("数据集 %1 没有打开").arg(m_name));
}

void Dataset::requireBrowse(const char* operation) const
{
    requireActive();
    if (isEditing())
        throw DatabaseError(QStringLiteral("数据集 %1 正在编辑，不能%2").arg(m_name, QString::fromUtf8(operation)));
}

void Dataset::setState(DatasetState state)
{
    if (m_state == state)
        return;
    m_state = state;
    emit stateChanged();
}

void Dataset::open()
{
    close();
    m_rows = RowStore::open(m_connection, m_sql); // throws, leaving the dataset closed
    m_state = DatasetState::Browse;
    m_current = m_rows->count() > 0 ? 0 : -1;
    m_bof = true;
    m_eof = m_rows->count() == 0;
    emit stateChanged();
    emit reset();
    emit currentChanged(m_current);
}

void Dataset::close()
{
    if (!active())
        return;
    m_rows.reset();
    m_buffer.clear();
    m_assigned.clear();
    m_current = -1;
    m_bof = m_eof = true;
    m_state = DatasetState::Inactive;
    emit stateChanged();
    emit reset();
    emit currentChanged(-1);
}

int Dataset::execute()
{
    const JetStatement statement = translateJet(m_sql);
    if (statement.kind == JetStatement::Kind::Select)
        throw DatabaseError(QStringLiteral("%1\r\n查询语句不能执行，请打开它").arg(m_sql), m_sql);
    return m_connection.execute(statement.sqlite, m_sql);
}

int Dataset::recordCount() const
{
    if (!m_rows)
        return 0;
    return m_rows->count() + (m_state == DatasetState::Insert ? 1 : 0);
}

void Dataset::setCurrent(int row, bool emitSignal)
{
    const int count = recordCount();
    if (count == 0)
        row = -1;
    else
        row = std::clamp(row, 0, count - 1);
    const bool moved = row != m_current;
    m_current = row;
    if (moved && emitSignal)
        emit currentChanged(m_current);
}

void Dataset::first()
{
    requireBrowse("移动记录");
    setCurrent(0);
    m_bof = true;
    m_eof = recordCount() == 0;
}

void Dataset::last()
{
    requireBrowse("移动记录");
    setCurrent(recordCount() - 1);
    m_eof = true;
    m_bof = recordCount() == 0;
}

void Dataset::next()
{
    requireBrowse("移动记录");
    if (m_current + 1 >= recordCount()) {
        m_eof = true;
        return;
    }
    setCurrent(m_current + 1);
    m_bof = false;
    m_eof = false;
}

void Dataset::prior()
{
    requireBrowse("移动记录");
    if (m_current <= 0) {
        m_bof = true;
        return;
    }
    setCurrent(m_current - 1);
    m_bof = false;
    m_eof = false;
}

void Dataset::moveTo(int row)
{
    requireActive();
    if (isEditing())
        return; // the record being edited stays current until it is posted or cancelled
    setCurrent(row);
    m_bof = m_current <= 0;
    m_eof = recordCount() == 0;
}

bool Dataset::locate(const QString& fieldName, const QVariant& value)
{
    requireBrowse("查找记录");
    const int column = fieldIndex(fieldName);
    if (column < 0)
        throw DatabaseError(QStringLiteral("数据集 %1 没有字段 %2").arg(m_name, fieldName));
    const QString text = value.toString();
    for (int row = 0; row < m_rows->count(); ++row) {
        const QVariant stored = m_rows->value(row, column);
        const bool equal = stored.typeId() == QMetaType::QString || value.typeId() == QMetaType::QString
                               ? stored.toString().compare(text, Qt::CaseInsensitive) == 0 && !stored.isNull()
                               : stored == value;
        if (equal) {
            moveTo(row);
            return true;
        }
    }
    return false;
}

int Dataset::fieldCount() const
{
    return m_rows ? m_rows->columns().size() : 0;
}

QString Dataset::fieldName(int index) const
{
    return m_rows && index >= 0 && index < fieldCount() ? m_rows->columns()[index].name : QString();
}

FieldType Dataset::fieldType(int index) const
{
    return m_rows && index >= 0 && index < fieldCount() ? m_rows->columns()[index].type : FieldType::Text;
}

int Dataset::fieldIndex(const QString& name) const
{
    if (!m_rows)
        return -1;
    const QList<DatasetColumn>& columns = m_rows->columns();
    for (int i = 0; i < columns.size(); ++i)
        if (columns[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

Field Dataset::fieldByName(const QString& name)
{
    requireActive();
    const int index = fieldIndex(name);
    if (index < 0)
        throw DatabaseError(QStringLiteral("数据集 %1 没有字段 %2").arg(m_name, name));
    return Field(this, index);
}

QVariant Dataset::firstValue()
{
    requireActive();
    return fieldCount() > 0 ? currentValue(0) : QVariant();
}

QVariant Dataset::valueAt(int row, int column)
{
    if (!m_rows)
        return {};
    if (isEditing() && row == m_current)
        return column >= 0 && column < m_buffer.size() ? m_buffer[column] : QVariant();
    return m_rows->value(row, column);
}

QVariant Dataset::currentValue(int column)
{
    if (!m_rows || m_current < 0)
        return {};
    return valueAt(m_current, column);
}

void Dataset::setCurrentValue(int column, const QVariant& value)
{
    requireActive();
    if (!isEditing())
        throw DatabaseError(QStringLiteral("数据集 %1 不在编辑状态，不能修改字段").arg(m_name));
    if (column < 0 || column >= m_buffer.size())
        return;
    if (m_rows->columns()[column].tableColumn.isEmpty())
        throw DatabaseError(QStringLiteral("字段 %1 是计算结果，不能修改").arg(fieldName(column)));
    const bool same = m_buffer[column] == value && m_buffer[column].isNull() == value.isNull();
    m_assigned[column] = m_assigned[column] || !same || m_state == DatasetState::Insert;
    m_buffer[column] = value;
    if (!same)
        emit fieldChanged(column);
}

bool Dataset::canModify() const
{
    return m_rows && m_rows->modifiable();
}

void Dataset::startEditBuffer()
{
    const int columns = fieldCount();
    m_buffer.clear();
    m_assigned = QList<bool>(columns, false);
    m_buffer.reserve(columns);
    for (int i = 0; i < columns; ++i)
        m_buffer << (m_state == DatasetState::Insert ? QVariant() : m_rows->value(m_current, i));
}

void Dataset::insert()
{
    requireActive();
    if (!canModify())
        throw DatabaseError(QStringLiteral("数据集 %1 的结果不能修改").arg(m_name));
    if (isEditing())
        post();
    m_rowBeforeInsert = m_current;
    m_state = DatasetState::Insert;
    startEditBuffer();
    readDefaults();
    m_current = m_rows->count();
    emit rowInserted(m_current);
    emit stateChanged();
    emit currentChanged(m_current);
}

void Dataset::readDefaults()
{
    // A new record shows the column defaults the table will give it; they are not written
    // unless assigned, so the database applies its own.
    SqliteStatement info(m_connection.handle(), QStringLiteral("SELECT name, dflt_value FROM pragma_table_info(%1)")
                                                    .arg('\'' + QString(m_rows->table()).replace('\'', "''") + '\''));
    if (!info.prepared())
        return;
    while (sqlite3_step(info.get()) == SQLITE_ROW) {
        if (sqlite3_column_type(info.get(), 1) == SQLITE_NULL)
            continue;
        const QString column = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(info.get(), 0)));
        const QString value = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(info.get(), 1)));
        for (int i = 0; i < fieldCount(); ++i) {
            if (m_rows->columns()[i].tableColumn.compare(column, Qt::CaseInsensitive) != 0)
                continue;
            bool ok = false;
            const double number = value.toDouble(&ok);
            if (!ok)
                continue;
            switch (fieldType(i)) {
            case FieldType::Boolean: m_buffer[i] = number != 0; break;
            case FieldType::Integer: m_buffer[i] = static_cast<qlonglong>(number); break;
            case FieldType::Float: m_buffer[i] = number; break;
            default: break;
            }
        }
    }
}

void Dataset::edit()
{
    requireActive();
    if (isEditing())
        return;
    if (isEmpty()) {
        insert();
        return;
    }
    if (!canModify())
        throw DatabaseError(QStringLiteral("数据集 %1 的结果不能修改").arg(m_name));
    m_state = DatasetState::Edit;
    startEditBuffer();
    emit stateChanged();
}

void Dataset::post()
{
    requireActive();
    if (!isEditing())
        return;
    m_pendingError.clear();
    emit beforePost();
    if (!m_pendingError.isEmpty()) {
        const QString message = m_pendingError;
        m_pendingError.clear();
        throw DatabaseError(message);
    }
    const QList<DatasetColumn>& columns = m_rows->columns();
    QStringList names;
    QVariantList values;
    for (int i = 0; i < columns.size(); ++i) {
        if (m_assigned[i] && !columns[i].tableColumn.isEmpty()) {
            names << quotedIdentifier(columns[i].tableColumn);
            values << m_buffer[i];
        }
    }
    const QString table = quotedIdentifier(m_rows->table());
    QString sql;
    if (m_state == DatasetState::Insert) {
        if (names.isEmpty())
            sql = QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(table);
        else
            sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                      .arg(table, names.join(','), QStringList(names.size(), QStringLiteral("?")).join(','));
    } else if (!names.isEmpty()) {
        QStringList sets;
        for (const QString& name : names)
            sets << name + QStringLiteral(" = ?");
        sql = QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?").arg(table, sets.join(','));
    }

    if (!sql.isEmpty()) {
        sqlite3* db = m_connection.handle();
        SqliteStatement statement(db, sql);
        if (!statement.prepared())
            throw DatabaseError(QStringLiteral("保存记录失败：%1").arg(QString::fromUtf8(sqlite3_errmsg(db))), sql);
        for (int i = 0; i < values.size(); ++i)
            bindValue(statement.get(), i + 1, values[i]);
        if (m_state == DatasetState::Edit)
            sqlite3_bind_int64(statement.get(), values.size() + 1, m_rows->rowid(m_current));
        if (sqlite3_step(statement.get()) != SQLITE_DONE)
            throw DatabaseError(QStringLiteral("保存记录失败：%1").arg(QString::fromUtf8(sqlite3_errmsg(db))), sql);
        if (m_state == DatasetState::Insert)
            m_rows->append(sqlite3_last_insert_rowid(db));
        else
            m_rows->refresh(m_current);
    }
    m_buffer.clear();
    m_assigned.clear();
    m_state = DatasetState::Browse;
    emit stateChanged();
    emit rowChanged(m_current);
}

void Dataset::cancel()
{
    if (!isEditing())
        return;
    const bool wasInsert = m_state == DatasetState::Insert;
    const int row = m_current;
    if (wasInsert)
        emit rowAboutToBeRemoved(row);
    m_buffer.clear();
    m_assigned.clear();
    m_state = DatasetState::Browse;
    if (wasInsert) {
        emit rowRemoved(row);
        m_current = -2; // force the signal below
        setCurrent(m_rowBeforeInsert);
    } else {
        emit rowChanged(row);
    }
    emit stateChanged();
}

void Dataset::deleteRecord()
{
    requireActive();
    if (m_state == DatasetState::Insert) {
        cancel();
        return;
    }
    if (isEditing())
        cancel();
    if (m_current < 0 || isEmpty())
        return;
    if (!canModify())
        throw DatabaseError(QStringLiteral("数据集 %1 的结果不能修改").arg(m_name));
    sqlite3* db = m_connection.handle();
    SqliteStatement statement(db, QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(quotedIdentifier(m_rows->table())));
    if (!statement.prepared())
        throw DatabaseError(QStringLiteral("删除记录失败：%1").arg(QString::fromUtf8(sqlite3_errmsg(db))));
    sqlite3_bind_int64(statement.get(), 1, m_rows->rowid(m_current));
    if (sqlite3_step(statement.get()) != SQLITE_DONE)
        throw DatabaseError(QStringLiteral("删除记录失败：%1").arg(QString::fromUtf8(sqlite3_errmsg(db))));
    const int row = m_current;
    emit rowAboutToBeRemoved(row);
    m_rows->remove(row);
    emit rowRemoved(row);
    m_current = -2;
    setCurrent(row);
}

void Dataset::sortBy(int column, Qt::SortOrder order)
{
    requireBrowse("排序");
    if (column < 0 || column >= fieldCount())
        return;
    const qint64 currentRowid = m_current >= 0 ? m_rows->rowid(m_current) : -1;
    m_rows->sortBy(column, order == Qt::AscendingOrder);
    int row = 0;
    if (currentRowid >= 0)
        for (int i = 0; i < m_rows->count(); ++i)
            if (m_rows->rowid(i) == currentRowid) {
                row = i;
                break;
            }
    m_current = -2;
    emit reset();
    setCurrent(row);
}
