// qitang-admin: maintenance from the command line.
//   qitang-admin newdb FOLDER            creates FOLDER/ss.mdb (never overwrites)
//   qitang-admin sql FOLDER "STATEMENT"  runs one statement of the program's SQL dialect
#include "data/Connection.h"
#include "data/DatabaseError.h"
#include "data/Dataset.h"
#include "data/JetSql.h"
#include "data/ValueConversion.h"
#include "support/AppPaths.h"

#include <QCoreApplication>
#include <QStringList>
#include <cstdio>

namespace {

void print(FILE* stream, const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, bytes.size(), stream);
}

int usage()
{
    print(stderr, QStringLiteral("用法：\n  qitang-admin newdb 文件夹\n  qitang-admin sql 文件夹 \"语句\"\n"));
    return 2;
}

QString cellText(const QVariant& value)
{
    QString text = ValueConversion::toText(value);
    text.replace('\t', ' ').replace('\n', ' ').replace('\r', ' ');
    return text;
}

int runStatement(const QString& folder, const QString& statement)
{
    Connection connection;
    connection.setConnectionString(QStringLiteral("Data Source=") + AppPaths::withTrailingSeparator(folder) +
                                   QStringLiteral("ss.mdb"));
    connection.connect();
    Dataset query(connection, QStringLiteral("query"));
    query.setSql(statement);
    if (translateJet(statement).kind != JetStatement::Kind::Select) {
        print(stdout, QStringLiteral("%1\n").arg(query.execute()));
        return 0;
    }
    query.open();
    QStringList header;
    for (int i = 0; i < query.fieldCount(); ++i)
        header << query.fieldName(i);
    print(stdout, header.join('\t') + '\n');
    for (int row = 0; row < query.recordCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < query.fieldCount(); ++column)
            cells << cellText(query.valueAt(row, column));
        print(stdout, cells.join('\t') + '\n');
    }
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    try {
        if (args.size() == 2 && args[0] == QLatin1String("newdb")) {
            const QString path = AppPaths::withTrailingSeparator(args[1]) + QStringLiteral("ss.mdb");
            createDatabaseFile(path);
            print(stdout, QStringLiteral("已创建 %1\n").arg(path));
            return 0;
        }
        if (args.size() == 3 && args[0] == QLatin1String("sql"))
            return runStatement(args[1], args[2]);
    } catch (const DatabaseError& error) {
        print(stderr, error.message() + '\n');
        return 1;
    }
    return usage();
}
