// The data-access routines of the data module that the windows share.
#include "data/DataModule.h"

#include "data/DatabaseError.h"
#include "data/SqlQuote.h"
#include "data/TclassDataType.h"
#include "data/ValueConversion.h"
#include "support/TclassAllClass.h"

#include <QDate>
#include <QDateTime>

namespace {

TclassDataType& helper()
{
    return TclassAllClass::get<TclassDataType>();
}

// A number the program passes as text goes in as a number; anything else as a quoted text,
// so that it can never change the statement.
QString numberOrQuoted(const QString& text)
{
    bool ok = false;
    const qlonglong value = text.trimmed().toLongLong(&ok);
    return ok ? QString::number(value) : quoted(text);
}

} // namespace

int TDM::AllocateId(const QString& tableName)
{
    // The name is trimmed for the lookup as for the insert: a name with blanks must not start
    // a second series of identifiers that repeats the first.
    const QString table = tableName.trimmed();
    helper().OpenQuery(QStringLiteral("select max(id) from maxvalue where tablename = ") + quoted(table), cdsPublic);
    const QVariant last = cdsPublic.isEmpty() ? QVariant() : cdsPublic.firstValue();
    const int id = last.isNull() ? 1 : last.toInt() + 1;
    helper().ExecQuery(QStringLiteral("insert into maxvalue(tablename, id) values(") + quoted(table) +
                           QStringLiteral(",") + QString::number(id) + QStringLiteral(")"),
                       cdsPublic);
    return id;
}

void TDM::WriteOperationLog(const QString& operatorName, const QString& event)
{
    if (!ADO.connected())
        return;
    if (cdsOprlog.active() && cdsOprlog.state() == DatasetState::Browse) {
        // Appending to the open log object reads none of its rows.
        cdsOprlog.insert();
        cdsOprlog.fieldByName(QStringLiteral("code")).setAsString(operatorName);
        cdsOprlog.fieldByName(QStringLiteral("gn")).setAsString(event);
        cdsOprlog.fieldByName(QStringLiteral("oprdate")).setAsDateTime(QDateTime::currentDateTime());
        try {
            cdsOprlog.post();
        } catch (const DatabaseError&) {
            cdsOprlog.cancel();
            throw;
        }
        return;
    }
    Dataset statement(ADO, QStringLiteral("log"));
    statement.setSql(QStringLiteral("insert into log(code, gn, oprdate) values(") + quoted(operatorName) + ',' +
                     quoted(event) + ',' +
                     quoted(ValueConversion::dateTimeToStorage(QDateTime::currentDateTime())) + ')');
    statement.execute();
}

bool TDM::IsCodeFree(int flag, const QString& code)
{
    return !helper().QueryHasRows(QStringLiteral("select * from baseinfo where flag = ") + QString::number(flag) +
                                      QStringLiteral(" and code = ") + quoted(code),
                                  cdsPublic);
}

bool TDM::IsCodeFreeExcept(int flag, const QString& newCode, const QString& oldCode)
{
    return !helper().QueryHasRows(QStringLiteral("select * from baseinfo where flag = ") + QString::number(flag) +
                                      QStringLiteral(" and code = ") + quoted(newCode) +
                                      QStringLiteral(" and code <> ") + quoted(oldCode),
                                  cdsPublic);
}

bool TDM::HasNoChildNodes(const QString& nodeId, const QString& flag)
{
    return !helper().QueryHasRows(QStringLiteral("select * from baseinfo where flag = ") + numberOrQuoted(flag) +
                                      QStringLiteral(" and main_tree = ") + numberOrQuoted(nodeId),
                                  cdsPublic);
}

void TDM::SaveTreeNode(int id, const QString& code, const QString& name, const QString& level, int parentId,
                       int flag, int mode, int bmId)
{
    if (mode == 1) {
        helper().ExecQuery(QStringLiteral("update baseinfo set code = ") + quoted(code.trimmed()) +
                               QStringLiteral(",name = ") + quoted(name.trimmed()) + QStringLiteral(" where flag = ") +
                               QString::number(flag) + QStringLiteral(" and id = ") + QString::number(id),
                           cdsPublic);
    } else if (mode == 0) {
        helper().ExecQuery(QStringLiteral("insert into baseinfo(id,code,name,expand1,flag,main_tree,bm_id) values(") +
                               QString::number(id) + ',' + quoted(code.trimmed()) + ',' + quoted(name.trimmed()) +
                               ',' + quoted(level) + ',' + QString::number(flag) + ',' + QString::number(parentId) +
                               ',' + QString::number(bmId) + ')',
                           cdsPublic);
    }
}

QString TDM::OperatorStatement(const QString& code, const QString& password)
{
    return QStringLiteral("select * from baseinfo where flag = 9 and code = ") + quoted(code) +
           QStringLiteral(" and iif(isnull(expand1),'',expand1) =") + quoted(password);
}

void TDM::FindOperator(const QString& code, const QString& password, QString& foundDate, QString& name, int& id)
{
    if (helper().QueryHasRows(OperatorStatement(code, password), cdsPublic)) {
        foundDate = QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"));
        cdsPublic.first();
        id = static_cast<int>(cdsPublic.fieldByName(QStringLiteral("id")).asInteger());
        name = cdsPublic.fieldByName(QStringLiteral("name")).asString();
    } else {
        foundDate.clear();
    }
}

bool TDM::ChangeOperatorPassword(const QString& code, const QString& newPassword, const QString& oldPassword)
{
    if (!helper().QueryHasRows(OperatorStatement(code, oldPassword), cdsPublic))
        return true;
    helper().ExecQuery(QStringLiteral("update baseinfo set expand1 = ") + quoted(newPassword) +
                           QStringLiteral(" where flag = 9 and code = ") + quoted(code),
                       cdsTemp);
    return false;
}

void TDM::CancelSharedEdits()
{
    for (Dataset* dataset : m_datasets) {
        if (dataset->tag() != 0 || !dataset->isEditing())
            continue;
        try {
            dataset->cancel();
        } catch (...) {
        }
    }
}
