#include "app/TclassNameChange.h"

const QList<FunctionEntry>& TclassNameChange::entries()
{
    static const QList<FunctionEntry> table = {
        {"act_base_maintp", "主页...", "base", "", 68, "主页...", ":/icons/home.svg"},
        {"act_change_pwd", "更改密码", "system", "", 40, "更改密码", ":/icons/password.svg"},
        {"act_bm", "部门设置", "base", "", 10, "部门设置", ":/icons/departments.svg"},
        {"act_client_fw", "铺位信息", "client", "Ctrl+F", 14, "铺位信息", ":/icons/beds.svg"},
        {"act_client_into", "人员管理", "client", "Ctrl+R", 26, "人员管理", ":/icons/residents.svg"},
        {"act_other_khsj", "事件记录", "other", "", 18, "事件记录", ":/icons/events.svg"},
        {"act_wy_fwgs", "联系表", "", "", 100, "联系表", ":/icons/contacts.svg"},
        {"act_qry_rz", "入住查看", "qry", "", 51, "人员入住浏览", ":/icons/checkins.svg"},
        {"act_qry_tf1", "退房浏览", "qry", "", 103, "退房明细表", ":/icons/checkouts.svg"},
        {"act_databack", "数据备份", "system", "Ctrl+B", 42, "数据备份", ":/icons/backup.svg"},
        {"act_datarestore", "数据恢复", "system", "", 43, "数据恢复", ":/icons/restore.svg"},
        {"act_help_about", "供应商信息", "help", "", 22, "关于...", ":/icons/about.svg"},
        {"act_close", "退出", "system", "", 41, "退出", ":/icons/exit.svg"},
    };
    return table;
}

const FunctionEntry* TclassNameChange::find(const QString& actionName)
{
    for (const FunctionEntry& entry : entries())
        if (entry.actionName == actionName)
            return &entry;
    return nullptr;
}

int TclassNameChange::NameToCode(const QString& actionName) const
{
    const FunctionEntry* entry = find(actionName);
    return entry ? entry->code : -1;
}

QString TclassNameChange::NameToCaption(const QString& actionName) const
{
    const FunctionEntry* entry = find(actionName);
    return entry ? entry->caption : QString();
}
