#include "data/RowStore.h"

#include "data/DatabaseError.h"
#include "data/JetSql.h"
#include "data/ValueConversion.h"

#include <QHash>
#include <algorithm>
#include <deque>
#include <sqlite3.h>
#include <unordered_map>
#include <vector>

namespace {

class Statement {
public:
    Statement(sqlite3* db, const QString& sql, const QString& shown)
    {
        const QByteArray text = sql.toUtf8();
        if (sqlite3_prepare_v2(db, text.constData(), text.size(), &m_stmt, nullptr) != SQLITE_OK) {
            const QString reason = QString::fromUtf8(sqlite3_errmsg(db));
            sqlite3_finalize(m_stmt);
            m_stmt = nullptr;
            throw DatabaseError(QStringLiteral("%1\r\n%2").arg(shown, reason), shown);
        }
    }
    ~Statement() { sqlite3_finalize(m_stmt); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    sqlite3_stmt* get() const { return m_stmt; }

private:
    sqlite3_stmt* m_stmt = nullptr;
};

[[noreturn]] void stepFailed(sqlite3* db, const QString& shown)
{
    throw DatabaseError(QStringLiteral("%1\r\n%2").arg(shown, QString::fromUtf8(sqlite3_errmsg(db))), shown);
}

FieldType dynamicType(int sqliteType)
{
    switch (sqliteType) {
    case SQLITE_INTEGER:
        return FieldType::Integer;
    case SQLITE_FLOAT:
        return FieldType::Float;
    default:
        return FieldType::Text;
    }
}

// Rows of one table, fixed as a list of rowids when opened and read in pages on demand.
class RowidStore : public RowStore {
public:
    RowidStore(Connection& connection, const JetStatement& statement, const QString& shown)
        : m_db(connection.handle()), m_shown(shown)
    {
        m_table = statement.table;
        const QString from = QStringLiteral(" FROM \"%1\"").arg(QString(statement.table).replace('"', "\"\""));
        const QString list = statement.selectList.trimmed();
        // One statement reads a single row (both bounds the same) or a range of them.
        m_rowsStmt = std::make_unique<Statement>(
            m_db, QStringLiteral("SELECT rowid, %1%2 WHERE rowid BETWEEN ?1 AND ?2").arg(list, from), shown);

        // Column names and kinds from the row statement itself.
        const QList<ColumnInfo>& tableColumns = connection.columnsOf(statement.table);
        const int columnCount = sqlite3_column_count(m_rowsStmt->get());
        for (int i = 1; i < columnCount; ++i) {
            DatasetColumn column;
            column.name = QString::fromUtf8(sqlite3_column_name(m_rowsStmt->get(), i));
            const char* origin = sqlite3_column_origin_name(m_rowsStmt->get(), i);
            if (origin) {
                column.tableColumn = QString::fromUtf8(origin);
                for (const ColumnInfo& info : tableColumns)
                    if (info.name.compare(column.tableColumn, Qt::CaseInsensitive) == 0)
                        column.type = info.type;
            }
            m_declared << (origin != nullptr);
            m_columns << column;
        }

        QString idSql = QStringLiteral("SELECT rowid%1").arg(from);
        if (!statement.where.isEmpty())
            idSql += QStringLiteral(" WHERE ") + statement.where;
        if (!statement.orderBy.isEmpty())
            idSql += QStringLiteral(" ORDER BY ") + statement.orderBy;
        Statement ids(m_db, idSql, shown);
        int rc;
        while ((rc = sqlite3_step(ids.get())) == SQLITE_ROW)
            m_rowids.push_back(sqlite3_column_int64(ids.get(), 0));
        if (rc != SQLITE_DONE)
            stepFailed(m_db, shown);
        // Without an order of its own a select lists rows in the order they were added, whichever
        // index the engine used to find them (sorted here so the engine keeps its best plan).
        if (statement.orderBy.isEmpty() && !std::is_sorted(m_rowids.begin(), m_rowids.end()))
            std::sort(m_rowids.begin(), m_rowids.end());
    }

    int count() const override { return static_cast<int>(m_rowids.size()); }
    qint64 rowid(int row) const override { return m_rowids[row]; }

    QVariant value(int row, int column) override
    {
        if (row < 0 || row >= count() || column < 0 || column >= m_columns.size())
            return {};
        const std::vector<QVariantList>& rows = page(row / kPageSize);
        const QVariantList& values = rows[row % kPageSize];
        return column < values.size() ? values[column] : QVariant();
    }

    void refresh(int row) override
    {
        auto found = m_pages.find(row / kPageSize);
        if (found != m_pages.end())
            found->second[row % kPageSize] = readOne(m_rowids[row]);
        m_lastPage = nullptr;
    }

    void append(qint64 rowid) override
    {
        m_rowids.push_back(rowid);
        const int last = static_cast<int>((m_rowids.size() - 1) / kPageSize);
        if (m_pages.erase(last))
            m_order.erase(std::find(m_order.begin(), m_order.end(), last));
        m_lastPage = nullptr;
    }

    void remove(int row) override
    {
        m_rowids.erase(m_rowids.begin() + row);
        clearCache();
    }

    void sortBy(int column, bool ascending) override
    {
        std::vector<std::pair<QVariant, qint64>> keyed;
        keyed.reserve(m_rowids.size());
        for (int row = 0; row < count(); ++row)
            keyed.emplace_back(value(row, column), m_rowids[row]);
        std::stable_sort(keyed.begin(), keyed.end(), [ascending](const auto& a, const auto& b) {
            const int order = compareValues(a.first, b.first);
            return ascending ? order < 0 : order > 0;
        });
        for (size_t i = 0; i < keyed.size(); ++i)
            m_rowids[i] = keyed[i].second;
        clearCache();
    }

    static int compareValues(const QVariant& a, const QVariant& b)
    {
        if (a.isNull() || b.isNull())
            return int(!a.isNull()) - int(!b.isNull());
        return QVariant::compare(a, b) == QPartialOrdering::Less      ? -1
               : QVariant::compare(a, b) == QPartialOrdering::Greater ? 1
                                                                      : 0;
    }

private:
    static constexpr int kPageSize = 32;
    static constexpr int kReadAhead = 8; // pages read at once while walking through the rows
    static constexpr size_t kMaxPages = 256;

    void clearCache()
    {
        m_pages.clear();
        m_order.clear();
        m_lastPage = nullptr;
        m_lastFetched = -2;
    }

    QVariantList readCurrent(sqlite3_stmt* stmt) const
    {
        QVariantList values;
        values.reserve(m_columns.size());
        for (int i = 0; i < m_columns.size(); ++i)
            values << readColumn(stmt, i + 1, m_columns[i].type, m_declared[i]);
        return values;
    }

    QVariantList readOne(qint64 rowid)
    {
        sqlite3_stmt* stmt = m_rowsStmt->get();
        sqlite3_reset(stmt);
        sqlite3_bind_int64(stmt, 1, rowid);
        sqlite3_bind_int64(stmt, 2, rowid);
        const int rc = sqlite3_step(stmt);
        QVariantList values = rc == SQLITE_ROW ? readCurrent(stmt) : QVariantList();
        sqlite3_reset(stmt);
        if (rc != SQLITE_ROW && rc != SQLITE_DONE)
            stepFailed(m_db, m_shown);
        return values; // a row deleted since the set was fixed reads as empty
    }

    const std::vector<QVariantList>& page(int number)
    {
        if (m_lastPage && m_lastPageNumber == number)
            return *m_lastPage;
        auto found = m_pages.find(number);
        if (found == m_pages.end()) {
            // Reading on from the last page read is a walk through the rows: the next pages are
            // read with it, in one statement. A jump reads just the page, so that the first
            // screen of a grid costs only the rows it shows.
            int count = 1;
            if (number == m_lastFetched + 1)
                while (count < kReadAhead && size_t(number + count) * kPageSize < m_rowids.size() &&
                       !m_pages.count(number + count))
                    ++count;
            fetchPages(number, count);
            m_lastFetched = number + count - 1;
            found = m_pages.find(number);
        }
        m_lastPage = &found->second;
        m_lastPageNumber = number;
        return found->second;
    }

    void fetchPages(int first, int count)
    {
        const size_t begin = size_t(first) * kPageSize;
        const size_t end = std::min(m_rowids.size(), begin + size_t(count) * kPageSize);
        std::vector<QVariantList> rows = readRows(begin, end);
        for (int number = first; number < first + count; ++number) {
            if (m_pages.size() >= kMaxPages) {
                m_pages.erase(m_order.front());
                m_order.pop_front();
            }
            const size_t from = size_t(number - first) * kPageSize;
            const size_t to = std::min(rows.size(), from + kPageSize);
            m_pages.emplace(number, std::vector<QVariantList>(std::make_move_iterator(rows.begin() + from),
                                                              std::make_move_iterator(rows.begin() + to)));
            m_order.push_back(number);
        }
    }

    // The rows at positions [begin, end) of the set.
    std::vector<QVariantList> readRows(size_t begin, size_t end)
    {
        std::vector<QVariantList> rows(end - begin);
        const auto [low, high] = std::minmax_element(m_rowids.begin() + begin, m_rowids.begin() + end);
        const bool ascending = std::is_sorted(m_rowids.begin() + begin, m_rowids.begin() + end);
        // Rows of a plain scan lie close together: one range read is cheaper than a seek each.
        if (ascending && *high - *low < qint64(4 * (end - begin))) {
            sqlite3_stmt* stmt = m_rowsStmt->get();
            sqlite3_reset(stmt);
            sqlite3_bind_int64(stmt, 1, *low);
            sqlite3_bind_int64(stmt, 2, *high);
            size_t next = begin;
            int rc = SQLITE_DONE;
            while (next < end && (rc = sqlite3_step(stmt)) == SQLITE_ROW) {
                const qint64 rowid = sqlite3_column_int64(stmt, 0);
                while (next < end && m_rowids[next] < rowid)
                    ++next; // deleted since the set was fixed
                if (next < end && m_rowids[next] == rowid)
                    rows[next++ - begin] = readCurrent(stmt);
            }
            sqlite3_reset(stmt);
            if (rc != SQLITE_ROW && rc != SQLITE_DONE)
                stepFailed(m_db, m_shown);
            return rows;
        }
        for (size_t i = begin; i < end; ++i)
            rows[i - begin] = readOne(m_rowids[i]);
        return rows;
    }

    sqlite3* m_db;
    QString m_shown;
    std::unique_ptr<Statement> m_rowsStmt;
    QList<bool> m_declared;
    std::vector<qint64> m_rowids;
    std::unordered_map<int, std::vector<QVariantList>> m_pages;
    std::deque<int> m_order;
    const std::vector<QVariantList>* m_lastPage = nullptr;
    int m_lastPageNumber = -1;
    int m_lastFetched = -2; // the last page of the last read; -2: none yet
};

// A result read whole when opened: aggregates, grouped or distinct selects. Read-only.
class MaterialStore : public RowStore {
public:
    MaterialStore(Connection& connection, const QString& sqliteSql, const QString& shown)
    {
        sqlite3* db = connection.handle();
        Statement stmt(db, sqliteSql, shown);
        const int columnCount = sqlite3_column_count(stmt.get());
        QList<bool> declared;
        for (int i = 0; i < columnCount; ++i) {
            DatasetColumn column;
            column.name = QString::fromUtf8(sqlite3_column_name(stmt.get(), i));
            const char* type = sqlite3_column_decltype(stmt.get(), i);
            declared << (type != nullptr);
            if (type)
                column.type = Connection::fieldTypeOfDeclared(QString::fromUtf8(type));
            m_columns << column;
        }
        int rc;
        bool typed = false;
        while ((rc = sqlite3_step(stmt.get())) == SQLITE_ROW) {
            if (!typed) {
                for (int i = 0; i < columnCount; ++i)
                    if (!declared[i])
                        m_columns[i].type = dynamicType(sqlite3_column_type(stmt.get(), i));
                typed = true;
            }
            QVariantList values;
            values.reserve(columnCount);
            for (int i = 0; i < columnCount; ++i)
                values << readColumn(stmt.get(), i, m_columns[i].type, declared[i]);
            m_rows.push_back(std::move(values));
        }
        if (rc != SQLITE_DONE)
            stepFailed(db, shown);
    }

    int count() const override { return static_cast<int>(m_rows.size()); }
    QVariant value(int row, int column) override
    {
        if (row < 0 || row >= count() || column < 0 || column >= m_columns.size())
            return {};
        return m_rows[row][column];
    }
    qint64 rowid(int) const override { return -1; }
    void refresh(int) override {}
    void append(qint64) override {}
    void remove(int row) override { m_rows.erase(m_rows.begin() + row); }
    void sortBy(int column, bool ascending) override
    {
        std::stable_sort(m_rows.begin(), m_rows.end(), [=](const QVariantList& a, const QVariantList& b) {
            const QPartialOrdering order = QVariant::compare(a[column], b[column]);
            return ascending ? order == QPartialOrdering::Less : order == QPartialOrdering::Greater;
        });
    }

private:
    std::vector<QVariantList> m_rows;
};

QDateTime parseStoredDateTime(const char* text, int size)
{
    // The storage form "yyyy-MM-dd hh:mm:ss" is read without the general parser.
    auto digits = [text](int from, int count) {
        int value = 0;
        for (int i = from; i < from + count; ++i) {
            if (text[i] < '0' || text[i] > '9')
                return -1;
            value = value * 10 + (text[i] - '0');
        }
        return value;
    };
    if (size == 19 && text[4] == '-' && text[7] == '-' && text[10] == ' ') {
        const QDate date(digits(0, 4), digits(5, 2), digits(8, 2));
        const QTime time(digits(11, 2), digits(14, 2), digits(17, 2));
        if (date.isValid() && time.isValid())
            return ValueConversion::naive(date, time);
    }
    return ValueConversion::parseDateTime(QString::fromUtf8(text, size));
}

} // namespace

QVariant readColumn(sqlite3_stmt* stmt, int index, FieldType type, bool declared)
{
    const int stored = sqlite3_column_type(stmt, index);
    if (stored == SQLITE_NULL)
        return {};
    if (!declared)
        type = dynamicType(stored);
    switch (type) {
    case FieldType::Integer:
        if (stored == SQLITE_INTEGER)
            return static_cast<qlonglong>(sqlite3_column_int64(stmt, index));
        if (stored == SQLITE_FLOAT)
            return sqlite3_column_double(stmt, index);
        break;
    case FieldType::Float:
        if (stored == SQLITE_INTEGER || stored == SQLITE_FLOAT)
            return sqlite3_column_double(stmt, index);
        break;
    case FieldType::Boolean:
        if (stored == SQLITE_INTEGER || stored == SQLITE_FLOAT)
            return sqlite3_column_double(stmt, index) != 0;
        break;
    case FieldType::DateTime:
        if (stored == SQLITE_TEXT) {
            const char* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, index));
            const QDateTime value = parseStoredDateTime(text, sqlite3_column_bytes(stmt, index));
            if (value.isValid())
                return value;
        }
        break;
    case FieldType::Text:
    case FieldType::Memo:
        break;
    }
    if (stored == SQLITE_INTEGER && !declared)
        return static_cast<qlonglong>(sqlite3_column_int64(stmt, index));
    if (stored == SQLITE_FLOAT && !declared)
        return sqlite3_column_double(stmt, index);
    // Text, or a stored value that does not fit its column's kind: shown as it is.
    const char* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, index));
    return QString::fromUtf8(text, sqlite3_column_bytes(stmt, index));
}

void bindValue(sqlite3_stmt* stmt, int index, const QVariant& value)
{
    if (!value.isValid() || value.isNull()) {
        sqlite3_bind_null(stmt, index);
        return;
    }
    switch (value.typeId()) {
    case QMetaType::Bool:
        sqlite3_bind_int(stmt, index, value.toBool() ? 1 : 0);
        return;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        sqlite3_bind_int64(stmt, index, value.toLongLong());
        return;
    case QMetaType::Double:
        sqlite3_bind_double(stmt, index, value.toDouble());
        return;
    case QMetaType::QDateTime: {
        const QByteArray text = ValueConversion::dateTimeToStorage(value.toDateTime()).toUtf8();
        sqlite3_bind_text(stmt, index, text.constData(), text.size(), SQLITE_TRANSIENT);
        return;
    }
    default: {
        const QByteArray text = value.toString().toUtf8();
        sqlite3_bind_text(stmt, index, text.constData(), text.size(), SQLITE_TRANSIENT);
    }
    }
}

std::unique_ptr<RowStore> RowStore::open(Connection& connection, const QString& jetSql)
{
    if (!connection.connected())
        throw DatabaseError(QStringLiteral("%1\r\n没有连接数据库").arg(jetSql), jetSql);
    const JetStatement statement = translateJet(jetSql);
    if (statement.kind != JetStatement::Kind::Select)
        throw DatabaseError(QStringLiteral("%1\r\n打开数据集需要查询语句").arg(jetSql), jetSql);
    if (statement.rowAddressable && !connection.columnsOf(statement.table).isEmpty())
        return std::make_unique<RowidStore>(connection, statement, jetSql);
    return std::make_unique<MaterialStore>(connection, statement.sqlite, jetSql);
}
