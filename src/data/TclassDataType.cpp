#include "data/TclassDataType.h"

#include "data/DatabaseError.h"
#include "data/Dataset.h"
#include "support/SharedValues.h"
#include "support/TclassAllClass.h"
#include "support/TclassFileBase.h"

QString TclassDataType::logFolder() const
{
    return m_logFolder.isEmpty() ? Shared().rootFolder : m_logFolder;
}

void TclassDataType::OpenQuery(const QString& sql, Dataset& query) const
{
    query.close();
    query.setSql(sql);
    try {
        query.open();
    } catch (const DatabaseError&) {
        const QString text = sql + QStringLiteral("\r\n");
        QString fileError;
        if (!TclassAllClass::get<TclassFileBase>().AppendToDailyLog(logFolder(), text, &fileError))
            throw DatabaseError(fileError, sql);
        throw DatabaseError(text, sql);
    }
}

bool TclassDataType::QueryHasRows(const QString& sql, Dataset& query) const
{
    OpenQuery(sql, query);
    return query.recordCount() > 0;
}

bool TclassDataType::ExecQuery(const QString& sql, Dataset& query) const
{
    query.close();
    query.setSql(sql);
    try {
        query.execute();
        return true;
    } catch (const DatabaseError&) {
        // Nothing is shown, but no failure goes without a trace.
        TclassAllClass::get<TclassFileBase>().AppendToDailyLog(logFolder(), sql + QStringLiteral("\r\n"));
        return false;
    }
}
