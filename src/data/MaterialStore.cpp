#include "data/MaterialStore.h"

#include "data/ColumnValues.h"
#include "data/SqliteStatement.h"

#include <algorithm>
#include <sqlite3.h>
#include <vector>

namespace {

class MaterialStore : public RowStore {
public:
    MaterialStore(Connection& connection, const QString& sqliteSql, const QString& shown)
    {
        sqlite3* db = connection.handle();
        SqliteStatement stmt(db, sqliteSql);
        if (!stmt.prepared())
            throwQueryError(db, shown);
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
            throwQueryError(db, shown);
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

} // namespace

std::unique_ptr<RowStore> openMaterialStore(Connection& connection, const QString& sqliteSql, const QString& shown)
{
    return std::make_unique<MaterialStore>(connection, sqliteSql, shown);
}
