#include "premises/TfrmDeptEdit.h"

#include "controls/EnterMovesFocus.h"
#include "controls/Guarded.h"
#include "data/DataModule.h"
#include "data/DatabaseError.h"
#include "data/SqlQuote.h"
#include "data/TclassDataType.h"
#include "support/MessageService.h"
#include "support/TclassAllClass.h"
#include "support/TclassFormBase.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int kDepartmentFlag = 3;

QPointer<TfrmDeptEdit>& theInstance()
{
    static QPointer<TfrmDeptEdit> instance;
    return instance;
}

TDM& module()
{
    if (!DM)
        throw DatabaseError(QStringLiteral("数据模块尚未创建"));
    return *DM;
}

} // namespace

TfrmDeptEdit& TfrmDeptEdit::instance()
{
    QPointer<TfrmDeptEdit>& instance = theInstance();
    if (!instance) {
        instance = new TfrmDeptEdit;
        // A widget must go before the application does; a static object would outlive it.
        qAddPostRoutine([] { delete theInstance().data(); });
    }
    return *instance;
}

TfrmDeptEdit::TfrmDeptEdit() : QDialog(nullptr)
{
    setObjectName(QStringLiteral("frmDeptEdit"));
    setWindowTitle(QStringLiteral("部门编辑"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    resize(313, 146);

    Label1 = new QLabel(QStringLiteral("部门编号："), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    edtDeptCode = new QLineEdit(this);
    edtDeptCode->setObjectName(QStringLiteral("edtDeptCode"));
    // The code is always the identifier: kept for the statement, never shown.
    Label1->hide();
    edtDeptCode->hide();

    Label2 = new QLabel(QStringLiteral("部门名称："), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    edtDeptName = new QLineEdit(this);
    edtDeptName->setObjectName(QStringLiteral("edtDeptName"));
    Label2->setBuddy(edtDeptName);

    Label3 = new QLabel(QStringLiteral("上级名称："), this);
    Label3->setObjectName(QStringLiteral("Label3"));
    edtUpDeptName = new QLineEdit(this);
    edtUpDeptName->setObjectName(QStringLiteral("edtUpDeptName"));
    edtUpDeptName->setEnabled(false);

    btnSave = new QPushButton(QStringLiteral("确定"), this);
    btnSave->setObjectName(QStringLiteral("btnSave"));
    btnClose = new QPushButton(QStringLiteral("退出"), this);
    btnClose->setObjectName(QStringLiteral("btnClose"));

    auto* fields = new QGridLayout;
    fields->addWidget(Label1, 0, 0);
    fields->addWidget(edtDeptCode, 0, 1);
    fields->addWidget(Label2, 1, 0);
    fields->addWidget(edtDeptName, 1, 1);
    fields->addWidget(Label3, 2, 0);
    fields->addWidget(edtUpDeptName, 2, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnSave);
    buttons->addWidget(btnClose);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addStretch();
    layout->addLayout(buttons);
    setTabOrder(edtDeptName, btnSave);
    setTabOrder(btnSave, btnClose);

    connect(btnSave, &QPushButton::clicked, this, guarded([this] { btnSaveClick(); }));
    connect(btnClose, &QPushButton::clicked, this, guarded([this] { btnCloseClick(); }));
    // FormKeyDown: Enter moves on to the next control, and presses a button.
    installEnterMovesFocus(this);
}

bool TfrmDeptEdit::run(const Values& values)
{
    m_values = values;
    m_saved = false;
    TclassAllClass::get<TclassFormBase>().centre(this);
    exec();
    return m_saved;
}

void TfrmDeptEdit::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormShow();
}

void TfrmDeptEdit::FormShow()
{
    edtUpDeptName->setText(m_values.parentName);
    if (m_values.mode == Mode::Edit) {
        edtDeptCode->setText(m_values.code);
        edtDeptName->setText(m_values.name);
    } else {
        edtDeptCode->clear();
        edtDeptName->clear();
    }
    edtDeptName->setFocus(Qt::OtherFocusReason);
}

void TfrmDeptEdit::btnSaveClick()
{
    TDM& dm = module();
    edtDeptCode->setText(QString::number(m_values.id));
    const QString code = edtDeptCode->text().trimmed();
    const QString name = edtDeptName->text().trimmed();
    const bool editing = m_values.mode == Mode::Edit;
    dm.SaveTreeNode(m_values.id, code, name, QString::number(m_values.level), m_values.parentId, kDepartmentFlag,
                    editing ? 1 : 0, 0);
    // The statement reports nothing when it fails: read the row back rather than call a lost
    // department saved. The dialog stays open with what was typed.
    if (!isStored(name)) {
        showInfo(QStringLiteral("部门信息保存失败！"));
        return;
    }
    m_saved = true;
    accept();
}

void TfrmDeptEdit::btnCloseClick()
{
    m_saved = false;
    reject();
}

bool TfrmDeptEdit::isStored(const QString& name) const
{
    QString sql = QStringLiteral("select * from baseinfo where flag = ") + QString::number(kDepartmentFlag) +
                  QStringLiteral(" and id = ") + QString::number(m_values.id) + QStringLiteral(" and name = ") +
                  quoted(name);
    if (m_values.mode == Mode::Add)
        sql += QStringLiteral(" and main_tree = ") + QString::number(m_values.parentId);
    return TclassAllClass::get<TclassDataType>().QueryHasRows(sql, module().cdsPublic);
}
