#pragma once

#include <QString>

class Dataset;

// The query helper (reached through TclassAllClass): runs SQL text on a query object.
class TclassDataType {
public:
    // Closes the object, replaces its SQL, opens it. On failure the SQL and CR LF are appended
    // to the daily error log and a DatabaseError with that text is thrown (if the log cannot be
    // written, the file error is thrown instead).
    void OpenQuery(const QString& sql, Dataset& query) const;
    // OpenQuery, then true when the query has rows.
    bool QueryHasRows(const QString& sql, Dataset& query) const;
    // Closes the object, replaces its SQL, executes it. False on any error, which shows
    // nothing but is appended to the daily error log.
    bool ExecQuery(const QString& sql, Dataset& query) const;

    // Where the daily error log goes; defaults to the shared root folder.
    void setLogFolder(const QString& folder) { m_logFolder = folder; }
    QString logFolder() const;

private:
    QString m_logFolder;
};
