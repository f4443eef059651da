#include "premises/TfrmBaseinfo.h"

#include "controls/AppFont.h"
#include "controls/BitButton.h"
#include "controls/ControlRoutines.h"
#include "controls/DBCheckBox.h"
#include "controls/DBDateEdit.h"
#include "controls/DBEdit.h"
#include "controls/DBMemo.h"
#include "controls/DataGrid.h"
#include "controls/EnterMovesFocus.h"
#include "controls/Guarded.h"
#include "controls/TaggedGroupBox.h"
#include "controls/Tclass_ctr_Baseinfo.h"
#include "data/DataChecks.h"
#include "data/DataModule.h"
#include "data/DatabaseError.h"
#include "queries/TclassForm.h"
#include "support/SharedValues.h"
#include "support/TclassAllClass.h"

#include <QAction>
#include <QDateTime>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace {

Tclass_ctr_Baseinfo& controller()
{
    return TclassAllClass::get<Tclass_ctr_Baseinfo>();
}

QLabel* label(const QString& text, QWidget* buddy, QWidget* parent)
{
    auto* caption = new QLabel(text, parent);
    caption->setBuddy(buddy);
    caption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return caption;
}

template <class Control> Control* named(Control* control, const char* name)
{
    control->setObjectName(QString::fromLatin1(name));
    return control;
}

} // namespace

TfrmBaseinfo::TfrmBaseinfo(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmBaseinfo"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setFont(programFont());
    setFixedSize(681, 497);

    PageControl1 = named(new QStackedWidget(this), "PageControl1");
    buildMenu();
    buildEventsPage();
    buildContactsPage();
    buildButtons();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PageControl1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnRefresh);
    buttons->addWidget(btiExcel);
    buttons->addStretch();
    for (BitButton* button : {btnData, BitBtn3, BitBtn4, btnSave, btnCancel})
        buttons->addWidget(button);
    layout->addLayout(buttons);

    // FormKeyDown: Enter moves on to the next control, except inside a memo.
    installEnterMovesFocus(this, false);
    chooseKind();
}

TfrmBaseinfo::~TfrmBaseinfo()
{
    FormDestroy();
}

void TfrmBaseinfo::buildMenu()
{
    pmenu = named(new QMenu(this), "pmenu");
    menuAdd = named(pmenu->addAction(QStringLiteral("新增")), "menuAdd");
    menuAdd->setShortcut(QKeySequence(QStringLiteral("Ctrl+A")));
    menuEdit = named(pmenu->addAction(QStringLiteral("修改")), "menuEdit");
    menuEdit->setShortcut(QKeySequence(QStringLiteral("Ctrl+E")));
    menuEdit->setVisible(false); // shown when the window is
    menuDel = named(pmenu->addAction(QStringLiteral("删除")), "menuDel");
    menuDel->setShortcut(QKeySequence(QStringLiteral("Ctrl+D")));
    pmenu->addSeparator();
    Excel1 = named(pmenu->addAction(QStringLiteral("用Excel导出数据")), "Excel1");
    // The shortcuts work wherever the focus is in the window.
    addActions(pmenu->actions());

    connect(menuAdd, &QAction::triggered, this, guarded([this] { menuAddClick(); }));
    connect(menuEdit, &QAction::triggered, this, guarded([this] { menuEditClick(); }));
    connect(menuDel, &QAction::triggered, this, guarded([this] { menuDelClick(); }));
    connect(Excel1, &QAction::triggered, this, guarded([this] { Excel1Click(); }));
}

void TfrmBaseinfo::buildEventsPage()
{
    TDM* dm = DM;
    DataSource* source = dm ? &dm->dsKhsj : nullptr;
    auto* page = named(new QWidget(PageControl1), "TabSheet1");
    page->setWindowTitle(QStringLiteral("事件"));

    cxGrid6 = named(new DataGrid(page), "cxGrid6");
    cxGrid6->setTag(kEventsCode);
    cxGrid6->addColumn(QStringLiteral("cxGrid6DBTableView1code"), QStringLiteral("事件标题"), QStringLiteral("code"))
        .setWidth(450);
    cxGrid6
        ->addColumn(QStringLiteral("cxGrid6DBTableView1expand9"), QStringLiteral("发生日期"), QStringLiteral("expand9"),
                    GridColumn::Kind::DateOnly)
        .setWidth(110);
    cxGrid6
        ->addColumn(QStringLiteral("cxGrid6DBTableView1expand11"), QStringLiteral("已完成"), QStringLiteral("expand11"),
                    GridColumn::Kind::CheckBox)
        .setWidth(80);
    cxGrid6->setFooterVisible(false);
    cxGrid6->setContextMenu(pmenu);
    cxGrid6->setDataSource(source);

    GroupBox6 = named(new TaggedGroupBox(QStringLiteral("事件输入框"), page), "GroupBox6");
    GroupBox6->setTag(kEventsCode);
    GroupBox6->setEnabled(false);
    code10 = named(new DBEdit(source, QStringLiteral("code"), GroupBox6), "code10");
    RzDBDateTimeEdit3 = named(new DBDateEdit(source, QStringLiteral("expand9"), GroupBox6), "RzDBDateTimeEdit3");
    RzDBMemo5 = named(new DBMemo(source, QStringLiteral("expand20"), GroupBox6), "RzDBMemo5");
    RzDBMemo1 = named(new DBMemo(source, QStringLiteral("expand30"), GroupBox6), "RzDBMemo1");
    RzDBMemo5->setFixedHeight(96);
    RzDBMemo1->setFixedHeight(96);
    RzDBCheckBox5 =
        named(new DBCheckBox(QStringLiteral("已完成"), source, QStringLiteral("expand11"), GroupBox6), "RzDBCheckBox5");

    auto* fields = new QGridLayout(GroupBox6);
    fields->addWidget(label(QStringLiteral("事件标题："), code10, GroupBox6), 0, 0);
    fields->addWidget(code10, 0, 1, 1, 3);
    fields->addWidget(label(QStringLiteral("发生日期："), RzDBDateTimeEdit3, GroupBox6), 1, 0);
    fields->addWidget(RzDBDateTimeEdit3, 1, 1);
    fields->addWidget(label(QStringLiteral("事件内容："), RzDBMemo5, GroupBox6), 2, 0, Qt::AlignRight | Qt::AlignTop);
    fields->addWidget(RzDBMemo5, 2, 1);
    fields->addWidget(label(QStringLiteral("处理方法："), RzDBMemo1, GroupBox6), 2, 2, Qt::AlignRight | Qt::AlignTop);
    fields->addWidget(RzDBMemo1, 2, 3);
    fields->addWidget(RzDBCheckBox5, 3, 1);
    fields->setColumnStretch(1, 1);
    fields->setColumnStretch(3, 1);
    setTabOrder(code10, RzDBDateTimeEdit3->lineEdit());
    setTabOrder(RzDBDateTimeEdit3->lineEdit(), RzDBMemo5);
    setTabOrder(RzDBMemo5, RzDBMemo1);
    setTabOrder(RzDBMemo1, RzDBCheckBox5);

    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(cxGrid6, 1);
    layout->addWidget(GroupBox6);
    page->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(page, &QWidget::customContextMenuRequested, this,
            [this, page](const QPoint& at) { pmenu->popup(page->mapToGlobal(at)); });
    PageControl1->addWidget(page);

    m_events = Kind{kEventsCode, 10,     QStringLiteral("事件记录"), dm ? &dm->cdsKhsj : nullptr, page, cxGrid6,
                    GroupBox6,   code10, QStringLiteral("事件标题"), QStringLiteral("事件信息")};
}

void TfrmBaseinfo::buildContactsPage()
{
    TDM* dm = DM;
    DataSource* source = dm ? &dm->dsFwgs : nullptr;
    auto* page = named(new QWidget(PageControl1), "TabSheet2");
    page->setWindowTitle(QStringLiteral("联系表"));

    cxGrid5 = named(new DataGrid(page), "cxGrid5");
    cxGrid5->setTag(kContactsCode);
    cxGrid5->addColumn(QStringLiteral("cxGrid5DBTableView1name"), QStringLiteral("名称"), QStringLiteral("name"))
        .setWidth(170);
    cxGrid5
        ->addColumn(QStringLiteral("cxGrid5DBTableView1expand2"), QStringLiteral("联系人"), QStringLiteral("expand2"))
        .setWidth(80);
    cxGrid5
        ->addColumn(QStringLiteral("cxGrid5DBTableView1expand3"), QStringLiteral("联系电话"), QStringLiteral("expand3"))
        .setWidth(110);
    cxGrid5
        ->addColumn(QStringLiteral("cxGrid5DBTableView1expand4"), QStringLiteral("联系地址"), QStringLiteral("expand4"))
        .setWidth(190);
    cxGrid5
        ->addColumn(QStringLiteral("cxGrid5DBTableView1expand9"), QStringLiteral("登记时间"), QStringLiteral("expand9"),
                    GridColumn::Kind::DateOnly)
        .setWidth(90);
    cxGrid5->setFooterVisible(false);
    cxGrid5->setContextMenu(pmenu);
    cxGrid5->setDataSource(source);

    GroupBox1 = named(new TaggedGroupBox(QStringLiteral("联系表输入框"), page), "GroupBox1");
    GroupBox1->setTag(kContactsCode);
    GroupBox1->setEnabled(false);
    code33 = named(new DBEdit(source, QStringLiteral("name"), GroupBox1), "code33");
    RzDBEdit13 = named(new DBEdit(source, QStringLiteral("expand2"), GroupBox1), "RzDBEdit13");
    RzDBEdit20 = named(new DBEdit(source, QStringLiteral("expand3"), GroupBox1), "RzDBEdit20");
    RzDBEdit2 = named(new DBEdit(source, QStringLiteral("expand4"), GroupBox1), "RzDBEdit2");
    RzDBDateTimeEdit7 = named(new DBDateEdit(source, QStringLiteral("expand9"), GroupBox1), "RzDBDateTimeEdit7");
    RzDBMemo3 = named(new DBMemo(source, QStringLiteral("expand20"), GroupBox1), "RzDBMemo3");
    RzDBMemo3->setFixedHeight(80);

    auto* fields = new QGridLayout(GroupBox1);
    fields->addWidget(label(QStringLiteral("名称："), code33, GroupBox1), 0, 0);
    fields->addWidget(code33, 0, 1);
    fields->addWidget(label(QStringLiteral("联系人："), RzDBEdit13, GroupBox1), 0, 2);
    fields->addWidget(RzDBEdit13, 0, 3);
    fields->addWidget(label(QStringLiteral("联系电话："), RzDBEdit20, GroupBox1), 1, 0);
    fields->addWidget(RzDBEdit20, 1, 1);
    fields->addWidget(label(QStringLiteral("联系地址："), RzDBEdit2, GroupBox1), 1, 2);
    fields->addWidget(RzDBEdit2, 1, 3);
    fields->addWidget(label(QStringLiteral("登记时间："), RzDBDateTimeEdit7, GroupBox1), 2, 0);
    fields->addWidget(RzDBDateTimeEdit7, 2, 1);
    fields->addWidget(label(QStringLiteral("详细说明："), RzDBMemo3, GroupBox1), 3, 0, Qt::AlignRight | Qt::AlignTop);
    fields->addWidget(RzDBMemo3, 3, 1, 1, 3);
    fields->setColumnStretch(1, 1);
    fields->setColumnStretch(3, 1);
    setTabOrder(code33, RzDBEdit13);
    setTabOrder(RzDBEdit13, RzDBEdit20);
    setTabOrder(RzDBEdit20, RzDBEdit2);
    setTabOrder(RzDBEdit2, RzDBDateTimeEdit7->lineEdit());
    setTabOrder(RzDBDateTimeEdit7->lineEdit(), RzDBMemo3);

    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(cxGrid5, 1);
    layout->addWidget(GroupBox1);
    page->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(page, &QWidget::customContextMenuRequested, this,
            [this, page](const QPoint& at) { pmenu->popup(page->mapToGlobal(at)); });
    PageControl1->addWidget(page);

    m_contacts = Kind{kContactsCode, 33,     QStringLiteral("联系表"), dm ? &dm->cdsFwgs : nullptr, page, cxGrid5,
                      GroupBox1,     code33, QStringLiteral("名称"),   QStringLiteral("联系表")};
}

void TfrmBaseinfo::buildButtons()
{
    auto button = [this](const QString& caption, const char* name) {
        auto* made = named(new BitButton(caption, this), name);
        made->setAutoDefault(false);
        return made;
    };
    btnRefresh = button(QStringLiteral("刷新"), "btnRefresh");
    btiExcel = button(QStringLiteral("导出"), "btiExcel");
    btnData = button(QStringLiteral("新增"), "btnData");
    BitBtn3 = button(QStringLiteral("编辑"), "BitBtn3");
    BitBtn4 = button(QStringLiteral("删除"), "BitBtn4");
    btnSave = button(QStringLiteral("保存"), "btnSave");
    btnCancel = button(QStringLiteral("取消"), "btnCancel");
    btnSave->setEnabled(false);
    btnCancel->setEnabled(false);

    connect(btnRefresh, &QPushButton::clicked, this, guarded([this] { btnRefreshClick(); }));
    connect(btiExcel, &QPushButton::clicked, this, guarded([this] { Excel1Click(); }));
    connect(btnData, &QPushButton::clicked, this, guarded([this] { menuAddClick(); }));
    connect(BitBtn3, &QPushButton::clicked, this, guarded([this] { menuEditClick(); }));
    connect(BitBtn4, &QPushButton::clicked, this, guarded([this] { menuDelClick(); }));
    connect(btnSave, &QPushButton::clicked, this, guarded([this] { btnSaveClick(); }));
    connect(btnCancel, &QPushButton::clicked, this, guarded([this] { btnCancelClick(); }));
}

void TfrmBaseinfo::chooseKind()
{
    m_kind = Shared().CurrentFunctionCode == kContactsCode ? &m_contacts : &m_events;
    PageControl1->setCurrentWidget(m_kind->page);
    if (windowTitle().isEmpty())
        setWindowTitle(m_kind->title);
}

Dataset& TfrmBaseinfo::query() const
{
    if (!m_kind->query)
        throw DatabaseError(QStringLiteral("数据模块尚未创建"));
    return *m_kind->query;
}

void TfrmBaseinfo::menuFollowsButtons()
{
    SetPopupMenuEnabled(pmenu, btnData->isEnabled());
}

void TfrmBaseinfo::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    runGuarded([this] { FormShow(); });
}

void TfrmBaseinfo::FormShow()
{
    const int code = Shared().CurrentFunctionCode;
    for (BitButton* button : {btiExcel, BitBtn3, BitBtn4, btnData, btnSave, btnCancel, btnRefresh})
        button->setTag(code);
    menuEdit->setVisible(true);
    chooseKind();
    btnRefreshClick();
}

void TfrmBaseinfo::FormDestroy()
{
    if (m_destroyed)
        return;
    m_destroyed = true;
    // A record left pending in the shared query object must not outlive its window.
    if (m_kind->query && m_kind->query->isEditing())
        runGuarded([this] { m_kind->query->cancel(); });
    Shared().CurrentFunctionCode = Shared().PreviousFunctionCode;
}

void TfrmBaseinfo::btnRefreshClick()
{
    ReopenQuery(query());
}

void TfrmBaseinfo::menuAddClick()
{
    Dataset& rows = query();
    controller().BeginAdd(rows, m_kind->firstControl, m_kind->flag, this, true);
    rows.fieldByName(QStringLiteral("expand9")).setAsDateTime(QDateTime::currentDateTime());
    menuFollowsButtons();
}

void TfrmBaseinfo::menuEditClick()
{
    Dataset& rows = query();
    // Nothing to edit: an edit of no record would start a blank one without identifier or flag.
    if (rows.isEmpty())
        return;
    if (isContacts()) {
        controller().BeginEdit(rows, code33, this, true);
    } else {
        rows.edit();
        ToggleControls(this, true);
        code10->setFocus(Qt::OtherFocusReason);
    }
    menuFollowsButtons();
}

void TfrmBaseinfo::btnSaveClick()
{
    Dataset& rows = query();
    if (!CheckAllNotEmpty({m_kind->firstControl->text()}, {m_kind->requiredLabel}))
        return;
    if (isContacts()) {
        controller().SaveRecord(m_kind->flag, rows, code33->text().trimmed(), Shared().EditOldCode,
                                QStringLiteral("联系表"), this, true);
    } else {
        PostAndReopen(rows);
        ToggleControls(this, true);
    }
    menuFollowsButtons();
}

void TfrmBaseinfo::btnCancelClick()
{
    controller().CancelRecord(query(), this, true);
    menuFollowsButtons();
}

void TfrmBaseinfo::menuDelClick()
{
    controller().DeleteRecord(query(), m_kind->deleteLabel);
}

void TfrmBaseinfo::Excel1Click()
{
    TclassAllClass::get<TclassForm>().ExportGrid(*m_kind->grid);
}
