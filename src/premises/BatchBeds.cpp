#include "premises/BatchBeds.h"

#include "data/Connection.h"
#include "data/DatabaseError.h"

#include <QSet>
#include <sqlite3.h>

namespace {

bool isSeparator(QChar c)
{
    return c == u',' || c == u'，' || c == u'\n' || c == u'\r' || c == QChar::LineSeparator ||
           c == QChar::ParagraphSeparator;
}

// Blanks, line breaks and other control characters count as space around a number.
bool isBlank(QChar c)
{
    return c.unicode() <= 0x20 || c.isSpace();
}

QString trimmedNumber(QStringView part)
{
    qsizetype begin = 0;
    qsizetype end = part.size();
    while (begin < end && isBlank(part[begin]))
        ++begin;
    while (end > begin && isBlank(part[end - 1]))
        --end;
    return part.mid(begin, end - begin).toString();
}

// The database compares codes with its NOCASE collation, which folds ASCII letters only.
QString foldedAsDatabase(const QString& number)
{
    QString folded = number;
    for (QChar& c : folded)
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + ('a' - 'A'));
    return folded;
}

// One prepared statement of the batch, reset after every use.
class Statement {
public:
    Statement(sqlite3* db, const char* sql) : m_db(db)
    {
        if (sqlite3_prepare_v2(db, sql, -1, &m_stmt, nullptr) != SQLITE_OK)
            throw DatabaseError(error(), QString::fromUtf8(sql));
    }
    ~Statement() { sqlite3_finalize(m_stmt); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    void bind(int index, const QString& text)
    {
        const QByteArray utf8 = text.toUtf8();
        sqlite3_bind_text(m_stmt, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
    }
    void bind(int index, double value) { sqlite3_bind_double(m_stmt, index, value); }
    void bind(int index, qint64 value) { sqlite3_bind_int64(m_stmt, index, value); }

    // Runs the statement; true when it gave a row. Throws on failure.
    bool step()
    {
        const int rc = sqlite3_step(m_stmt);
        if (rc == SQLITE_ROW)
            return true;
        const bool done = rc == SQLITE_DONE;
        const QString reason = done ? QString() : error();
        sqlite3_reset(m_stmt);
        if (!done)
            throw DatabaseError(reason, QString::fromUtf8(sqlite3_sql(m_stmt)));
        return false;
    }
    void reset() { sqlite3_reset(m_stmt); }
    sqlite3_stmt* handle() const { return m_stmt; }

private:
    QString error() const { return QString::fromUtf8(sqlite3_errmsg(m_db)); }

    sqlite3* m_db;
    sqlite3_stmt* m_stmt = nullptr;
};

void run(Statement& statement)
{
    statement.step();
    statement.reset();
}

} // namespace

QStringList ParseBedNumbers(const QString& list)
{
    QStringList numbers;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= list.size(); ++i) {
        if (i < list.size() && !isSeparator(list[i]))
            continue;
        const QString number = trimmedNumber(QStringView(list).mid(start, i - start));
        if (!number.isEmpty())
            numbers << number;
        start = i + 1;
    }
    return numbers;
}

BatchOutcome CreateBeds(Connection& connection, const QStringList& numbers, const BedCharges& charges)
{
    BatchOutcome outcome;
    if (numbers.isEmpty())
        return outcome;
    sqlite3* db = connection.handle();
    if (!db)
        throw DatabaseError(QStringLiteral("没有连接数据库"));

    Statement beginBatch(db, "SAVEPOINT batch_beds");
    Statement releaseBatch(db, "RELEASE batch_beds");
    Statement undoBatch(db, "ROLLBACK TO batch_beds");
    Statement beginBed(db, "SAVEPOINT one_bed");
    Statement releaseBed(db, "RELEASE one_bed");
    Statement undoBed(db, "ROLLBACK TO one_bed");
    Statement lastId(db, "SELECT max(id) FROM maxvalue WHERE tablename = 'baseinfo'");
    Statement isBed(db, "SELECT 1 FROM baseinfo WHERE flag = 4 AND code = ?1 LIMIT 1");
    Statement allocate(db, "INSERT INTO maxvalue(tablename, id) VALUES('baseinfo', ?1)");
    Statement insert(db, "INSERT INTO baseinfo(id, code, expand12, expand13, field1, field2, field3, field4,"
                         " expand30, flag) VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, 4)");
    // The charges are the same for every bed of the batch.
    insert.bind(3, charges.deposit);
    insert.bind(4, charges.rent);
    for (int i = 0; i < 4; ++i)
        insert.bind(5 + i, charges.custom[i]);
    insert.bind(9, charges.description);

    run(beginBatch);
    qsizetype index = 0;
    try {
        qint64 nextId = 1;
        if (lastId.step() && sqlite3_column_type(lastId.handle(), 0) != SQLITE_NULL)
            nextId = sqlite3_column_int64(lastId.handle(), 0) + 1;
        lastId.reset();

        QSet<QString> seen;
        for (; index < numbers.size(); ++index) {
            const QString& number = numbers[index];
            const QString key = foldedAsDatabase(number);
            if (seen.contains(key)) {
                outcome.repeated << number;
                continue;
            }
            seen.insert(key);
            isBed.bind(1, number);
            const bool exists = isBed.step();
            isBed.reset();
            if (exists) {
                outcome.existing << number;
                continue;
            }
            run(beginBed);
            try {
                allocate.bind(1, nextId);
                run(allocate);
                insert.bind(1, nextId);
                insert.bind(2, number);
                run(insert);
                run(releaseBed);
            } catch (const DatabaseError& error) {
                if (sqlite3_get_autocommit(db))
                    throw; // the database gave up the whole transaction
                run(undoBed);
                run(releaseBed);
                outcome.failed << BatchOutcome::Failure{number, error.message()};
                continue;
            }
            outcome.created << number;
            ++nextId;
        }
        run(releaseBatch);
    } catch (const DatabaseError& error) {
        // The run could not be kept as a whole: undo it and report every bed of it as not written.
        if (!sqlite3_get_autocommit(db)) {
            sqlite3_step(undoBatch.handle());
            undoBatch.reset();
            sqlite3_step(releaseBatch.handle());
            releaseBatch.reset();
        }
        QStringList lost = outcome.created;
        lost << numbers.mid(index);
        for (const QString& number : std::as_const(lost))
            outcome.failed << BatchOutcome::Failure{number, error.message()};
        outcome.created.clear();
    }
    return outcome;
}

QString BatchSummary(const BatchOutcome& outcome)
{
    QString text = QStringLiteral("铺位批量增加完毕！\n共增加铺位 %1 个。").arg(outcome.created.size());
    const QString separator = QStringLiteral("、");
    if (!outcome.existing.isEmpty())
        text += QStringLiteral("\n已经存在，未再增加：") + outcome.existing.join(separator);
    if (!outcome.repeated.isEmpty())
        text += QStringLiteral("\n在列表中重复，已略过：") + outcome.repeated.join(separator);
    for (const BatchOutcome::Failure& failure : outcome.failed)
        text += QStringLiteral("\n未能增加 %1：%2").arg(failure.number, failure.reason.trimmed());
    return text;
}
