#pragma once

#include <QString>
#include <QTemporaryDir>
#include <QVariant>

// A temporary application folder for one test: the installation's files, a new ss.mdb, and
// optional settings files written in GBK. Removed when the object goes.
class TestFolder {
public:
    // withDatabase: create ss.mdb with every table and the operator "system".
    explicit TestFolder(bool withDatabase = true);

    QString path() const; // ends with "/"
    QString file(const QString& name) const { return path() + name; }
    void writeGbk(const QString& name, const QString& text) const;
    void writeBytes(const QString& name, const QByteArray& bytes) const;
    QByteArray readBytes(const QString& name) const;

    // Runs one statement of the program's dialect against ss.mdb (through its own connection).
    void exec(const QString& jetSql) const;
    // Runs SQLite SQL directly (for fixtures the program's dialect has no words for).
    void execSqlite(const QString& sql) const;
    // The first column of the first row of a select, or an invalid value when there is none.
    QVariant scalar(const QString& jetSql) const;
    // Every row of a select, columns joined with "|".
    QStringList rows(const QString& jetSql) const;

private:
    QTemporaryDir m_dir;
};
