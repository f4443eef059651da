#include "premises/TfrmDeptSet.h"

#include "controls/AppFont.h"
#include "controls/BitButton.h"
#include "controls/ControlRoutines.h"
#include "controls/DataTree.h"
#include "controls/Guarded.h"
#include "data/DataChecks.h"
#include "data/DataModule.h"
#include "data/DatabaseError.h"
#include "premises/TfrmDeptEdit.h"
#include "support/MessageService.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

namespace {

const QString kBaseinfo = QStringLiteral("baseinfo");

TDM& module()
{
    if (!DM)
        throw DatabaseError(QStringLiteral("数据模块尚未创建"));
    return *DM;
}

// The department pictures: a closed folder for every node, an open one for the selected node.
class DepartmentImages : public QStyledItemDelegate {
public:
    explicit DepartmentImages(QObject* parent) : QStyledItemDelegate(parent)
    {
        const QStyle* style = QApplication::style();
        m_closed = style->standardIcon(QStyle::SP_DirClosedIcon);
        m_open = style->standardIcon(QStyle::SP_DirOpenIcon);
    }

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        option->features |= QStyleOptionViewItem::HasDecoration;
        option->icon = option->state & QStyle::State_Selected ? m_open : m_closed;
    }

private:
    QIcon m_closed;
    QIcon m_open;
};

} // namespace

TfrmDeptSet::TfrmDeptSet(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmDeptSet"));
    setWindowTitle(QStringLiteral("部门设置"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    setSizeGripEnabled(true);
    setFont(programFont());
    resize(548, 429);

    treeDept = new DataTree(this);
    treeDept->setObjectName(QStringLiteral("treeDept"));
    treeDept->setItemDelegate(new DepartmentImages(treeDept));
    treeDept->setIconSize(QSize(16, 16));

    btnAddTjDept = new BitButton(QStringLiteral("增加同级"), this);
    btnAddTjDept->setObjectName(QStringLiteral("btnAddTjDept"));
    btnAddXjDept = new BitButton(QStringLiteral("增加下级"), this);
    btnAddXjDept->setObjectName(QStringLiteral("btnAddXjDept"));
    btnRefresh = new BitButton(QStringLiteral("刷新"), this);
    btnRefresh->setObjectName(QStringLiteral("btnRefresh"));
    btnEditDept = new BitButton(QStringLiteral("修改节点"), this);
    btnEditDept->setObjectName(QStringLiteral("btnEditDept"));
    btnDelDept = new BitButton(QStringLiteral("删除节点"), this);
    btnDelDept->setObjectName(QStringLiteral("btnDelDept"));
    for (BitButton* button : {btnAddTjDept, btnAddXjDept, btnRefresh, btnEditDept, btnDelDept})
        button->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnAddTjDept);
    buttons->addWidget(btnAddXjDept);
    buttons->addStretch();
    buttons->addWidget(btnRefresh);
    buttons->addWidget(btnEditDept);
    buttons->addWidget(btnDelDept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(treeDept, 1);
    layout->addLayout(buttons);

    connect(btnAddTjDept, &QPushButton::clicked, this, guarded([this] { btnAddTjDeptClick(); }));
    connect(btnAddXjDept, &QPushButton::clicked, this, guarded([this] { btnAddXjDeptClick(); }));
    connect(btnRefresh, &QPushButton::clicked, this, guarded([this] { btnRefreshClick(); }));
    connect(btnEditDept, &QPushButton::clicked, this, guarded([this] { btnEditDeptClick(); }));
    connect(btnDelDept, &QPushButton::clicked, this, guarded([this] { btnDelDeptClick(); }));

    if (DM)
        treeDept->setDataSource(&DM->dsDept);
    treeDept->expandAll();
}

bool TfrmDeptSet::hasSelection() const
{
    return !treeDept->selectedId().isEmpty();
}

int TfrmDeptSet::currentInteger(const char* field) const
{
    return static_cast<int>(module().cdsDept.fieldByName(QString::fromLatin1(field)).asInteger());
}

void TfrmDeptSet::openDialog(int parentId, const QString& parentName, int level)
{
    TfrmDeptEdit::Values values;
    values.id = module().AllocateId(kBaseinfo);
    values.parentId = parentId;
    values.parentName = parentName;
    values.level = level;
    values.mode = TfrmDeptEdit::Mode::Add;
    if (!TfrmDeptEdit::instance().run(values))
        return;
    btnRefreshClick();
    // The new department shows under its parent, even when the parent was a leaf until now.
    if (QTreeWidgetItem* parent = treeDept->itemForId(QString::number(parentId)))
        parent->setExpanded(true);
}

void TfrmDeptSet::btnAddTjDeptClick()
{
    if (hasSelection())
        openDialog(currentInteger("main_tree"), treeDept->selectedParentText(), currentInteger("expand1"));
    else
        openDialog(0, QString(), 1);
}

void TfrmDeptSet::btnAddXjDeptClick()
{
    if (!hasSelection())
        return;
    openDialog(currentInteger("id"), treeDept->currentItem()->text(0), currentInteger("expand1") + 1);
}

void TfrmDeptSet::btnEditDeptClick()
{
    if (!hasSelection())
        return;
    Dataset& departments = module().cdsDept;
    TfrmDeptEdit::Values values;
    values.id = currentInteger("id");
    values.code = departments.fieldByName(QStringLiteral("code")).asString();
    values.name = departments.fieldByName(QStringLiteral("name")).asString();
    values.parentName = treeDept->selectedParentText();
    values.mode = TfrmDeptEdit::Mode::Edit;
    if (TfrmDeptEdit::instance().run(values))
        btnRefreshClick();
}

void TfrmDeptSet::btnDelDeptClick()
{
    if (!hasSelection())
        return;
    Dataset& departments = module().cdsDept;
    const QString id = departments.fieldByName(QStringLiteral("id")).asString();
    const QString name = departments.fieldByName(QStringLiteral("name")).asString();
    if (!module().HasNoChildNodes(id, QStringLiteral("3"))) {
        showInfo(QStringLiteral("此节点有下级节点，请先删除下级节点信息！"));
        return;
    }
    ConfirmDelete(departments, name);
}

void TfrmDeptSet::btnRefreshClick()
{
    Dataset& departments = module().cdsDept;
    const QString id = departments.active() && !departments.isEmpty() && departments.recNo() >= 0
                           ? departments.fieldByName(QStringLiteral("id")).asString()
                           : QString();
    ReopenQuery(departments);
    if (!id.isEmpty())
        departments.locate(QStringLiteral("id"), id);
}
