#include "premises/TfrmPlfh.h"

#include "controls/BitButton.h"
#include "controls/EnterMovesFocus.h"
#include "controls/Guarded.h"
#include "data/DataChecks.h"
#include "data/DataModule.h"
#include "data/DatabaseError.h"
#include "premises/BatchBeds.h"
#include "support/MessageService.h"
#include "support/SharedValues.h"

#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QShowEvent>

namespace {

QPointer<TfrmPlfh>& theInstance()
{
    static QPointer<TfrmPlfh> form;
    return form;
}

// Runs while the application object is being destroyed, when widgets may still be freed.
void freeInstance()
{
    delete theInstance().data();
}

constexpr int kLabelWidth = 76;
constexpr int kBoxWidth = 150;
constexpr int kRowHeight = 22;

QLabel* rightLabel(const QString& text, int x, int y, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setGeometry(x, y, kLabelWidth, kRowHeight);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

} // namespace

TfrmPlfh& TfrmPlfh::instance()
{
    QPointer<TfrmPlfh>& form = theInstance();
    if (!form) {
        form = new TfrmPlfh;
        static bool registered = false;
        if (!registered) {
            qAddPostRoutine(freeInstance);
            registered = true;
        }
    }
    return *form;
}

TfrmPlfh::TfrmPlfh(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmPlfh"));
    setWindowTitle(QStringLiteral("批量增加铺位信息"));
    setFixedSize(512, 293);

    const int left = 12;
    const int boxLeft = left + kLabelWidth + 4;
    const int secondLeft = boxLeft + kBoxWidth + 10;
    const int secondBox = secondLeft + kLabelWidth + 4;

    Label1 = rightLabel(QStringLiteral("铺位编号："), left, 10, this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setGeometry(boxLeft, 10, secondBox + kBoxWidth - boxLeft, 70);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setTabChangesFocus(true);

    int y = 90;
    rightLabel(QStringLiteral("押金："), left, y, this)->setObjectName(QStringLiteral("Label2"));
    Edit1 = addChargeBox(QStringLiteral("Edit1"), boxLeft, y);
    rightLabel(QStringLiteral("标准月租："), secondLeft, y, this)->setObjectName(QStringLiteral("Label3"));
    Edit2 = addChargeBox(QStringLiteral("Edit2"), secondBox, y);

    y += 30;
    lab_field1 = rightLabel(QString(), left, y, this);
    lab_field1->setObjectName(QStringLiteral("lab_field1"));
    Edit3 = addChargeBox(QStringLiteral("Edit3"), boxLeft, y);
    lab_field2 = rightLabel(QString(), secondLeft, y, this);
    lab_field2->setObjectName(QStringLiteral("lab_field2"));
    Edit6 = addChargeBox(QStringLiteral("Edit6"), secondBox, y);

    y += 30;
    lab_field3 = rightLabel(QString(), left, y, this);
    lab_field3->setObjectName(QStringLiteral("lab_field3"));
    Edit7 = addChargeBox(QStringLiteral("Edit7"), boxLeft, y);
    lab_field4 = rightLabel(QString(), secondLeft, y, this);
    lab_field4->setObjectName(QStringLiteral("lab_field4"));
    Edit4 = addChargeBox(QStringLiteral("Edit4"), secondBox, y);

    y += 30;
    rightLabel(QStringLiteral("详细说明："), left, y, this)->setObjectName(QStringLiteral("Label8"));
    Edit5 = new QLineEdit(this);
    Edit5->setObjectName(QStringLiteral("Edit5"));
    Edit5->setGeometry(boxLeft, y, secondBox + kBoxWidth - boxLeft, kRowHeight);

    y += 32;
    BitBtn4 = new BitButton(QStringLiteral("确定"), this);
    BitBtn4->setObjectName(QStringLiteral("BitBtn4"));
    BitBtn4->setGeometry(secondBox + kBoxWidth - 80, y, 80, 26);

    Label9 = new QLabel(
        QStringLiteral("说明：铺位编号用逗号分开，比如增加101、102、103，则在铺位编号的地方输入101,102,103,"), this);
    Label9->setObjectName(QStringLiteral("Label9"));
    Label9->setWordWrap(true);
    Label9->setStyleSheet(QStringLiteral("color: #0000c0;"));
    Label9->setGeometry(left + 8, y + 34, secondBox + kBoxWidth - left - 8, 36);

    setTabOrder(Memo1, Edit1);
    setTabOrder(Edit1, Edit2);
    setTabOrder(Edit2, Edit3);
    setTabOrder(Edit3, Edit6);
    setTabOrder(Edit6, Edit7);
    setTabOrder(Edit7, Edit4);
    setTabOrder(Edit4, Edit5);
    setTabOrder(Edit5, BitBtn4);

    // FormKeyDown: Enter moves on to the next box, from the list of numbers too.
    installEnterMovesFocus(this, true);
    connect(BitBtn4, &QPushButton::clicked, this, guarded([this] { BitBtn4Click(); }));
}

QLineEdit* TfrmPlfh::addChargeBox(const QString& name, int x, int y)
{
    auto* box = new QLineEdit(QStringLiteral("0"), this);
    box->setObjectName(name);
    box->setGeometry(x, y, kBoxWidth, kRowHeight);
    box->setAlignment(Qt::AlignRight);
    return box;
}

void TfrmPlfh::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        runGuarded([this] { FormShow(); });
}

void TfrmPlfh::FormShow()
{
    const SharedValues& shared = Shared();
    lab_field1->setText(shared.FieldCaption1 + QStringLiteral("："));
    lab_field2->setText(shared.FieldCaption2 + QStringLiteral("："));
    lab_field3->setText(shared.FieldCaption3 + QStringLiteral("："));
    lab_field4->setText(shared.FieldCaption4 + QStringLiteral("："));
    Memo1->setFocus(Qt::OtherFocusReason);
}

void TfrmPlfh::BitBtn4Click()
{
    const QString list = Memo1->toPlainText();
    if (list.isEmpty()) {
        showInfo(QStringLiteral("铺位编号不能为空！"));
        Memo1->setFocus(Qt::OtherFocusReason);
        return;
    }
    // Every charge must be a number before any bed is created.
    const QList<QLineEdit*> boxes = {Edit1, Edit2, Edit3, Edit6, Edit7, Edit4};
    for (QLineEdit* box : boxes) {
        if (!CheckNumeric(box->text())) {
            box->setFocus(Qt::OtherFocusReason);
            box->selectAll();
            return;
        }
    }
    if (!DM)
        throw DatabaseError(QStringLiteral("数据模块尚未创建"));

    BedCharges charges;
    charges.deposit = NumericValue(Edit1->text());
    charges.rent = NumericValue(Edit2->text());
    charges.custom[0] = NumericValue(Edit3->text());
    charges.custom[1] = NumericValue(Edit6->text());
    charges.custom[2] = NumericValue(Edit7->text());
    charges.custom[3] = NumericValue(Edit4->text());
    charges.description = Edit5->text();

    const BatchOutcome outcome = CreateBeds(DM->ADO, ParseBedNumbers(list), charges);
    showInfo(BatchSummary(outcome));
    accept();
}
