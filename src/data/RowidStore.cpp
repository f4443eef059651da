#include "data/RowidStore.h"

#include "data/ColumnValues.h"
#include "data/JetSql.h"
#include "data/SqliteStatement.h"

#include <algorithm>
#include <deque>
#include <sqlite3.h>
#include <unordered_map>
#include <vector>

namespace {

class RowidStore : public RowStore {
public:
    RowidStore(Connection& connection, const JetStatement& statement, const QString& shown)
        : m_db(connection.handle()), m_shown(shown)
    {
        m_table = statement.table;
        const QString from = QStringLiteral(" FROM \"%1\"").arg(QString(statement.table).replace('"', "\"\""));
        const QString list = statement.selectList.trimmed();
        // One statement reads a single row (both bounds the same) or a range of them.
        m_rowsStmt = std::make_unique<SqliteStatement>(
            m_db, QStringLiteral("SELECT rowid, %1%2 WHERE rowid BETWEEN ?1 AND ?2").arg(list, from));
        if (!m_rowsStmt->prepared())
            throwQueryError(m_db, shown);

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
        SqliteStatement ids(m_db, idSql);
        if (!ids.prepared())
            throwQueryError(m_db, shown);
        int rc;
        while ((rc = sqlite3_step(ids.get())) == SQLITE_ROW)
            m_rowids.push_back(sqlite3_column_int64(ids.get(), 0));
        if (rc != SQLITE_DONE)
            throwQueryError(m_db, shown);
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
            throwQueryError(m_db, m_shown);
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
                throwQueryError(m_db, m_shown);
            return rows;
        }
        for (size_t i = begin; i < end; ++i)
            rows[i - begin] = readOne(m_rowids[i]);
        return rows;
    }

    sqlite3* m_db;
    QString m_shown;
    std::unique_ptr<SqliteStatement> m_rowsStmt;
    QList<bool> m_declared;
    std::vector<qint64> m_rowids;
    std::unordered_map<int, std::vector<QVariantList>> m_pages;
    std::deque<int> m_order;
    const std::vector<QVariantList>* m_lastPage = nullptr;
    int m_lastPageNumber = -1;
    int m_lastFetched = -2; // the last page of the last read; -2: none yet
};

} // namespace

std::unique_ptr<RowStore> openRowidStore(Connection& connection, const JetStatement& statement, const QString& shown)
{
    return std::make_unique<RowidStore>(connection, statement, shown);
}
