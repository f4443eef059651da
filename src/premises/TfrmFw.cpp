#include "premises/TfrmFw.h"

#include "controls/BitButton.h"
#include "controls/ControlRoutines.h"
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
#include "data/SqlQuote.h"
#include "data/TclassDataType.h"
#include "premises/TfrmPlfh.h"
#include "queries/TclassForm.h"
#include "support/MessageService.h"
#include "support/TclassAllClass.h"

#include <QAction>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QShowEvent>

namespace {

const QString kNoun = QStringLiteral("铺位信息");
const QString kAllBeds = QStringLiteral("select * from baseinfo where flag=4");

TDM& module()
{
    if (!DM)
        throw DatabaseError(QStringLiteral("数据模块尚未创建"));
    return *DM;
}

Tclass_ctr_Baseinfo& controller()
{
    return TclassAllClass::get<Tclass_ctr_Baseinfo>();
}

constexpr int kPanelLabelWidth = 72;
constexpr int kPanelEditWidth = 124;
constexpr int kRowHeight = 22;

} // namespace

TfrmFw::TfrmFw(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmFw"));
    setWindowTitle(QStringLiteral("铺位信息"));
    setFixedSize(780, 525);

    buildQuickLocate();
    buildGrid();
    buildEntryPanel();
    buildButtons();
    buildMenu();

    setTabOrder(Edit1, BitBtn22);
    setTabOrder(BitBtn22, BitBtn2);
    setTabOrder(BitBtn2, BitBtn1);
    setTabOrder(BitBtn1, cxGrid2);
    setTabOrder(cxGrid2, code4);
    QWidget* previous = code4;
    for (QWidget* next :
         {static_cast<QWidget*>(RzDBEdit11), static_cast<QWidget*>(RzDBEdit10), static_cast<QWidget*>(RzDBEdit3),
          static_cast<QWidget*>(RzDBEdit7), static_cast<QWidget*>(RzDBEdit1), static_cast<QWidget*>(RzDBEdit2),
          static_cast<QWidget*>(RzDBMemo3), static_cast<QWidget*>(btnExcel), static_cast<QWidget*>(BitBtn6),
          static_cast<QWidget*>(btnData), static_cast<QWidget*>(BitBtn3), static_cast<QWidget*>(BitBtn4),
          static_cast<QWidget*>(btnSave), static_cast<QWidget*>(btnCancel)}) {
        setTabOrder(previous, next);
        previous = next;
    }

    // FormKeyDown: Enter moves to the next control; in the memo it starts a new line.
    installEnterMovesFocus(this, false);
}

TfrmFw::~TfrmFw()
{
    // The bed query outlives the window: a bed left half added or half edited is discarded,
    // not left pending for whoever uses the query next.
    if (DM && DM->cdsFw.isEditing()) {
        try {
            DM->cdsFw.cancel();
        } catch (const DatabaseError&) {
        }
    }
}

BitButton* TfrmFw::addButton(const QString& name, const QString& caption, int x, int width)
{
    auto* button = new BitButton(caption, this);
    button->setObjectName(name);
    button->setGeometry(x, 488, width, 28);
    button->setAutoDefault(false);
    button->setTag(kFunctionCode);
    return button;
}

void TfrmFw::buildQuickLocate()
{
    GroupBox11 = new TaggedGroupBox(QStringLiteral("快速定位"), this);
    GroupBox11->setObjectName(QStringLiteral("GroupBox11"));
    GroupBox11->setTag(kFunctionCode);
    GroupBox11->setGeometry(8, 4, 536, 54);

    auto* label = new QLabel(QStringLiteral("铺位编号："), GroupBox11);
    label->setObjectName(QStringLiteral("Label1"));
    label->setGeometry(12, 22, 64, kRowHeight);
    Edit1 = new QLineEdit(GroupBox11);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(78, 22, 150, kRowHeight);

    auto searchButton = [this](const QString& name, const QString& caption, int x) {
        auto* button = new BitButton(caption, GroupBox11);
        button->setObjectName(name);
        button->setGeometry(x, 20, 80, 26);
        button->setAutoDefault(false);
        return button;
    };
    BitBtn22 = searchButton(QStringLiteral("BitBtn22"), QStringLiteral("查询显示"), 240);
    BitBtn2 = searchButton(QStringLiteral("BitBtn2"), QStringLiteral("空铺查看"), 328);
    BitBtn1 = searchButton(QStringLiteral("BitBtn1"), QStringLiteral("全部数据"), 416);
    connect(BitBtn22, &QPushButton::clicked, this, guarded([this] { BitBtn22Click(); }));
    connect(BitBtn2, &QPushButton::clicked, this, guarded([this] { BitBtn2Click(); }));
    connect(BitBtn1, &QPushButton::clicked, this, guarded([this] { BitBtn1Click(); }));
}

void TfrmFw::buildGrid()
{
    cxGrid2 = new DataGrid(this);
    cxGrid2->setObjectName(QStringLiteral("cxGrid2"));
    cxGrid2->setTag(kFunctionCode);
    cxGrid2->setGeometry(8, 64, 536, 414);
    cxGrid2->addColumn(QStringLiteral("cxGridDBColumn3"), QStringLiteral("铺位编号"), QStringLiteral("code"))
        .setFooterCount(QStringLiteral("记录数：%1"))
        .setWidth(84);
    cxGrid2
        ->addColumn(QStringLiteral("cxGridDBTableView2DBColumn4"), QStringLiteral("押金"), QStringLiteral("expand12"))
        .setFooterCount()
        .setWidth(50);
    cxGrid2
        ->addColumn(QStringLiteral("cxGridDBColumn11"), QStringLiteral("标准月租"), QStringLiteral("expand13"),
                    GridColumn::Kind::Currency)
        .setWidth(68);
    for (int i = 1; i <= 4; ++i)
        cxGrid2->addColumn(QStringLiteral("cxfield%1").arg(i), QString(), QStringLiteral("field%1").arg(i))
            .setWidth(46);
    cxGrid2
        ->addColumn(QStringLiteral("cxGridDBTableView2DBColumn23"), QStringLiteral("开水器公摊电费"),
                    QStringLiteral("field5"))
        .setVisible(false);
    cxGrid2
        ->addColumn(QStringLiteral("cxGridDBTableView2DBColumn24"), QStringLiteral("外用冷水公摊水费"),
                    QStringLiteral("field6"))
        .setVisible(false);
    cxGrid2
        ->addColumn(QStringLiteral("cxGridDBTableView2DBColumn10"), QStringLiteral("详细说明"),
                    QStringLiteral("expand30"))
        .setWidth(70);
    cxGrid2
        ->addColumn(QStringLiteral("cxGridDBTableView2DBColumn1"), QStringLiteral("已入住"), QStringLiteral("expand10"),
                    GridColumn::Kind::CheckBox)
        .setWidth(46);
    cxGrid2->setRowStyle([this](int row) { return cxGridDBTableView2StylesGetContentStyle(row); });
    cxGrid2->setFooterVisible(true);
    if (DM)
        cxGrid2->setDataSource(&DM->dsFw);
}

void TfrmFw::buildEntryPanel()
{
    GroupBox1 = new TaggedGroupBox(QStringLiteral("铺位信息录入"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(552, 4, 220, 474);
    DataSource* source = DM ? &DM->dsFw : nullptr;

    int y = 26;
    auto addRow = [&](const QString& labelName, const QString& caption, const QString& editName,
                      const QString& field) -> std::pair<QLabel*, DBEdit*> {
        auto* label = new QLabel(caption, GroupBox1);
        label->setObjectName(labelName);
        label->setGeometry(8, y, kPanelLabelWidth, kRowHeight);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        auto* edit = new DBEdit(source, field, GroupBox1);
        edit->setObjectName(editName);
        edit->setGeometry(8 + kPanelLabelWidth + 4, y, kPanelEditWidth, kRowHeight);
        y += 34;
        return {label, edit};
    };
    code4 =
        addRow(QStringLiteral("Label2"), QStringLiteral("铺位编号："), QStringLiteral("code4"), QStringLiteral("code"))
            .second;
    code4->setTextColor(Qt::red);
    RzDBEdit11 = addRow(QStringLiteral("Label3"), QStringLiteral("押金："), QStringLiteral("RzDBEdit11"),
                        QStringLiteral("expand12"))
                     .second;
    RzDBEdit10 = addRow(QStringLiteral("Label4"), QStringLiteral("标准月租："), QStringLiteral("RzDBEdit10"),
                        QStringLiteral("expand13"))
                     .second;
    std::tie(lab_field1, RzDBEdit3) =
        addRow(QStringLiteral("lab_field1"), QString(), QStringLiteral("RzDBEdit3"), QStringLiteral("field1"));
    std::tie(lab_field2, RzDBEdit7) =
        addRow(QStringLiteral("lab_field2"), QString(), QStringLiteral("RzDBEdit7"), QStringLiteral("field2"));
    std::tie(lab_field3, RzDBEdit1) =
        addRow(QStringLiteral("lab_field3"), QString(), QStringLiteral("RzDBEdit1"), QStringLiteral("field3"));
    std::tie(lab_field4, RzDBEdit2) =
        addRow(QStringLiteral("lab_field4"), QString(), QStringLiteral("RzDBEdit2"), QStringLiteral("field4"));

    m_numberEdits = {RzDBEdit11, RzDBEdit10, RzDBEdit3, RzDBEdit7, RzDBEdit1, RzDBEdit2};
    for (DBEdit* edit : std::as_const(m_numberEdits)) {
        edit->setAlignment(Qt::AlignRight);
        connect(edit, &DBEdit::exited, this, guarded([this, edit] { RzDBEdit11Exit(edit); }));
    }

    auto* memoLabel = new QLabel(QStringLiteral("详细说明："), GroupBox1);
    memoLabel->setObjectName(QStringLiteral("Label9"));
    memoLabel->setGeometry(12, y, 120, kRowHeight);
    RzDBMemo3 = new DBMemo(source, QStringLiteral("expand30"), GroupBox1);
    RzDBMemo3->setObjectName(QStringLiteral("RzDBMemo3"));
    RzDBMemo3->setGeometry(12, y + 26, 196, 474 - (y + 26) - 12);
}

void TfrmFw::buildButtons()
{
    btnExcel = addButton(QStringLiteral("btnExcel"), QStringLiteral("导出"), 8, 76);
    BitBtn6 = addButton(QStringLiteral("BitBtn6"), QStringLiteral("批量新增铺位"), 90, 110);
    const int width = 70;
    int x = 772 - 5 * width - 4 * 6;
    btnData = addButton(QStringLiteral("btnData"), QStringLiteral("新增"), x, width);
    BitBtn3 = addButton(QStringLiteral("BitBtn3"), QStringLiteral("编辑"), x += width + 6, width);
    BitBtn4 = addButton(QStringLiteral("BitBtn4"), QStringLiteral("删除"), x += width + 6, width);
    btnSave = addButton(QStringLiteral("btnSave"), QStringLiteral("保存"), x += width + 6, width);
    btnCancel = addButton(QStringLiteral("btnCancel"), QStringLiteral("取消"), x += width + 6, width);
    btnSave->setEnabled(false);
    btnCancel->setEnabled(false);

    connect(btnExcel, &QPushButton::clicked, this, guarded([this] { Excel1Click(); }));
    connect(BitBtn6, &QPushButton::clicked, this, guarded([this] { BitBtn6Click(); }));
    connect(btnData, &QPushButton::clicked, this, guarded([this] { menuAddClick(); }));
    connect(BitBtn3, &QPushButton::clicked, this, guarded([this] { menuEditClick(); }));
    connect(BitBtn4, &QPushButton::clicked, this, guarded([this] { menuDelClick(); }));
    connect(btnSave, &QPushButton::clicked, this, guarded([this] { btnSaveClick(); }));
    connect(btnCancel, &QPushButton::clicked, this, guarded([this] { btnCancelClick(); }));
}

void TfrmFw::buildMenu()
{
    pmenu = new QMenu(this);
    pmenu->setObjectName(QStringLiteral("pmenu"));
    auto item = [this](const QString& name, const QString& caption, const QKeySequence& shortcut) {
        QAction* action = pmenu->addAction(caption);
        action->setObjectName(name);
        action->setShortcut(shortcut);
        return action;
    };
    menuAdd = item(QStringLiteral("menuAdd"), QStringLiteral("新增"), QKeySequence(QStringLiteral("Ctrl+A")));
    menuEdit = item(QStringLiteral("menuEdit"), QStringLiteral("修改"), QKeySequence(QStringLiteral("Ctrl+E")));
    menuDel = item(QStringLiteral("menuDel"), QStringLiteral("删除"), QKeySequence(QStringLiteral("Ctrl+D")));
    pmenu->addSeparator();
    Excel1 = item(QStringLiteral("Excel1"), QStringLiteral("用Excel导出数据"), QKeySequence());
    connect(menuAdd, &QAction::triggered, this, guarded([this] { menuAddClick(); }));
    connect(menuEdit, &QAction::triggered, this, guarded([this] { menuEditClick(); }));
    connect(menuDel, &QAction::triggered, this, guarded([this] { menuDelClick(); }));
    connect(Excel1, &QAction::triggered, this, guarded([this] { Excel1Click(); }));
    cxGrid2->setContextMenu(pmenu);
}

void TfrmFw::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        runGuarded([this] { FormShow(); });
}

void TfrmFw::keyPressEvent(QKeyEvent* event)
{
    // Esc does not close the register: an entry in progress is left by "保存" or "取消".
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TfrmFw::FormShow()
{
    const SharedValues& shared = Shared();
    const QList<QLabel*> labels = {lab_field1, lab_field2, lab_field3, lab_field4};
    for (int i = 1; i <= 4; ++i) {
        labels[i - 1]->setText(shared.fieldCaption(i) + QStringLiteral("："));
        cxGrid2->column(QStringLiteral("cxfield%1").arg(i))->setCaption(shared.fieldCaption(i));
    }
    BitBtn1Click();
}

void TfrmFw::showBeds(const QString& sql)
{
    TclassAllClass::get<TclassDataType>().OpenQuery(sql, module().cdsFw);
}

void TfrmFw::BitBtn1Click()
{
    showBeds(kAllBeds);
}

void TfrmFw::BitBtn22Click()
{
    showBeds(kAllBeds + QStringLiteral(" and iif(isnull(code),'',code) like ") +
             quotedContains(Edit1->text().trimmed()));
}

void TfrmFw::BitBtn2Click()
{
    showBeds(kAllBeds + QStringLiteral(" and expand10=false"));
}

void TfrmFw::menuAddClick()
{
    Dataset& beds = module().cdsFw;
    controller().BeginAdd(beds, code4, 4, this, true);
    for (const char* field : {"expand12", "expand13", "field1", "field2", "field3", "field4"})
        beds.fieldByName(QString::fromLatin1(field)).setAsFloat(0);
    beds.fieldByName(QStringLiteral("expand10")).setAsBoolean(false);
}

void TfrmFw::menuEditClick()
{
    Dataset& beds = module().cdsFw;
    const bool empty = !beds.active() || beds.isEmpty();
    Shared().EditOldCode = empty ? QString() : beds.fieldByName(QStringLiteral("code")).asString();
    if (empty) {
        showInfo(QStringLiteral("没有需要编辑的铺位信息！"));
        return;
    }
    controller().BeginEdit(beds, code4, this, true);
}

void TfrmFw::menuDelClick()
{
    Dataset& beds = module().cdsFw;
    if (!beds.active())
        return;
    controller().DeleteRecord(beds, kNoun);
}

void TfrmFw::btnSaveClick()
{
    if (!CheckAllNotEmpty({code4->text()}, {QStringLiteral("铺位编号")})) {
        code4->setFocus(Qt::OtherFocusReason);
        return;
    }
    // A charge that is not a number could not be stored: say so in the words of the check.
    for (DBEdit* edit : std::as_const(m_numberEdits)) {
        if (!CheckNumeric(edit->text())) {
            edit->setFocus(Qt::OtherFocusReason);
            edit->selectAll();
            return;
        }
    }
    // The bed number is stored as it is checked, without surrounding blanks: a check-in looks
    // beds up by the number without blanks.
    const QString number = code4->text().trimmed();
    if (code4->text() != number)
        code4->setText(number);
    if (!code4->writeValue())
        return;
    controller().SaveRecord(4, module().cdsFw, number, Shared().EditOldCode, kNoun, this, true);
}

void TfrmFw::btnCancelClick()
{
    controller().CancelRecord(module().cdsFw, this, true);
}

void TfrmFw::RzDBEdit11Exit(DBEdit* edit)
{
    // A warning only: the focus moves on and the text stays.
    CheckNumeric(edit->text());
}

void TfrmFw::Excel1Click()
{
    TclassAllClass::get<TclassForm>().ExportGrid(*cxGrid2);
}

void TfrmFw::BitBtn6Click()
{
    TfrmPlfh& batch = TfrmPlfh::instance();
    batch.move(frameGeometry().center() - QPoint(batch.width() / 2, batch.height() / 2));
    batch.exec();
    BitBtn1Click();
}

std::optional<GridRowStyle> TfrmFw::cxGridDBTableView2StylesGetContentStyle(int row) const
{
    Dataset* beds = cxGrid2->dataset();
    const int occupied = beds ? beds->fieldIndex(QStringLiteral("expand10")) : -1;
    if (occupied < 0)
        return std::nullopt;
    const QVariant value = beds->valueAt(row, occupied);
    if (!value.isNull() && value.toBool())
        return Shared().HighlightStyle;
    return std::nullopt;
}
