#include "controls/Tclass_ctr_Baseinfo.h"

#include "controls/ControlRoutines.h"
#include "data/DataChecks.h"
#include "data/DataModule.h"
#include "data/DatabaseError.h"
#include "data/Dataset.h"
#include "support/MessageService.h"
#include "support/SharedValues.h"

#include <QWidget>

namespace {

TDM& module()
{
    if (!DM)
        throw DatabaseError(QStringLiteral("数据模块尚未创建"));
    return *DM;
}

void focus(QWidget* edit)
{
    if (edit)
        edit->setFocus(Qt::OtherFocusReason);
}

} // namespace

QString Tclass_ctr_Baseinfo::BeginAdd(Dataset& query, QWidget* editToFocus, int flag, QWidget* window, bool toggle)
{
    const int id = module().AllocateId(QStringLiteral("baseinfo"));
    query.insert();
    query.fieldByName(QStringLiteral("id")).setAsInteger(id);
    query.fieldByName(QStringLiteral("flag")).setAsInteger(flag);
    ToggleControls(window, toggle);
    focus(editToFocus);
    return QString::number(id);
}

void Tclass_ctr_Baseinfo::BeginEdit(Dataset& query, QWidget* editToFocus, QWidget* window, bool toggle)
{
    query.edit();
    Shared().EditOldCode = query.fieldByName(QStringLiteral("code")).asString();
    ToggleControls(window, toggle);
    focus(editToFocus);
}

bool Tclass_ctr_Baseinfo::SaveRecord(int flag, Dataset& query, const QString& newCode, const QString& oldCode,
                                     const QString& noun, QWidget* window, bool toggle)
{
    const QString taken =
        QStringLiteral("此") + noun + QStringLiteral("已经存在，请输入其他") + noun + QStringLiteral("！");
    if (query.state() == DatasetState::Insert) {
        if (!CheckCode(flag, newCode, true)) {
            showInfo(taken);
            return false;
        }
        PostAndReopen(query);
    } else if (query.state() == DatasetState::Edit) {
        if (!CheckCode(flag, newCode, false, oldCode)) {
            showInfo(taken);
            return false;
        }
        PostQuery(query);
    }
    ToggleControls(window, toggle);
    return true;
}

void Tclass_ctr_Baseinfo::CancelRecord(Dataset& query, QWidget* window, bool toggle)
{
    query.cancel();
    ToggleControls(window, toggle);
}

void Tclass_ctr_Baseinfo::DeleteRecord(Dataset& query, const QString& noun)
{
    if (query.isEmpty())
        return;
    ConfirmDelete(query, noun);
}

bool Tclass_ctr_Baseinfo::CheckCode(int flag, const QString& code, bool isNew, const QString& oldCode)
{
    return isNew ? module().IsCodeFree(flag, code) : module().IsCodeFreeExcept(flag, code, oldCode);
}
