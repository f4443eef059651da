#pragma once

// A small window for the controls tests: every data-aware control on the bed register's data
// source over a fixture of beds and departments, with the grid, tagged buttons and a box.

#include "common/ConnectedModule.h"
#include "common/UserInput.h"
#include "controls/AppFont.h"
#include "controls/BitButton.h"
#include "controls/DBCheckBox.h"
#include "controls/DBComboBox.h"
#include "controls/DBDateEdit.h"
#include "controls/DBEdit.h"
#include "controls/DBLookupCombo.h"
#include "controls/DBMemo.h"
#include "controls/DataGrid.h"
#include "controls/TaggedGroupBox.h"
#include "data/DataChecks.h"
#include "data/DataModule.h"
#include "support/SharedValues.h"

#include <QApplication>
#include <QDir>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QInputMethodEvent>
#include <QLabel>
#include <QVBoxLayout>
#include <QWidget>
#include <QtTest>
#include <memory>

// A connected data module over a new database with four beds (two occupied) and three
// departments, beds and departments opened.
struct ControlsFixture : ConnectedModule {
    ControlsFixture()
    {
        dm->ADO.execute(QStringLiteral(
            "INSERT INTO baseinfo(id, flag, code, name, expand1, main_tree) VALUES"
            " (10, 3, '10', '后勤部', '1', 0), (11, 3, '11', '生产部', '1', 0), (12, 3, '12', '一车间', '2', 11)"));
        dm->ADO.execute(QStringLiteral(
            "INSERT INTO baseinfo(id, flag, code, expand1, expand9, expand10, expand12, expand13, field1, expand30,"
            " bm_id) VALUES"
            " (20, 4, 'A101', '上铺', '2024-03-05 08:30:00', 1, 200, 350.5, 10, '朝南', 10),"
            " (21, 4, 'A102', '下铺', '2024-04-01 00:00:00', 0, 150, 300, 0, NULL, 11),"
            " (22, 4, 'B201', NULL, NULL, 1, 100, 280, 5, NULL, 12),"
            " (23, 4, 'B202', '上铺', NULL, 0, 0, 0, 0, NULL, NULL)"));
        ReopenQuery(dm->cdsFw);
        ReopenQuery(dm->cdsDept);
    }

    // One column of the database, rows ordered by id.
    QStringList column(const QString& name, int flag = 4) const
    {
        return folder.rows(QStringLiteral("select %1 from baseinfo where flag=%2 order by id").arg(name).arg(flag));
    }
};

class ControlsWindow : public QWidget {
public:
    explicit ControlsWindow(TDM& dm)
    {
        setObjectName(QStringLiteral("ControlsWindow"));
        setWindowTitle(QStringLiteral("控件测试窗口"));
        setFont(programFont());
        resize(1000, 560);

        grid = new DataGrid(this);
        grid->setObjectName(QStringLiteral("cxGrid2"));
        grid->setTag(14);
        grid->addColumn(QStringLiteral("cxGridDBColumn3"), QStringLiteral("铺位编号"), QStringLiteral("code"))
            .setFooterCount(QStringLiteral("记录数："));
        grid->addColumn(QStringLiteral("cxGridDBTableView2DBColumn4"), QStringLiteral("押金"),
                        QStringLiteral("expand12"))
            .setFooterCount();
        grid->addColumn(QStringLiteral("cxGridDBColumn11"), QStringLiteral("标准月租"), QStringLiteral("expand13"),
                        GridColumn::Kind::Currency);
        grid->addColumn(QStringLiteral("cxfield1"), QStringLiteral("自定义"), QStringLiteral("field1"));
        grid->addColumn(QStringLiteral("hiddenField5"), QStringLiteral("开水器公摊电费"), QStringLiteral("field5"))
            .setVisible(false);
        grid->addColumn(QStringLiteral("colDate"), QStringLiteral("登记日期"), QStringLiteral("expand9"),
                        GridColumn::Kind::DateOnly);
        grid->addLookupColumn(QStringLiteral("colDept"), QStringLiteral("部门"), QStringLiteral("bm_id"), &dm.dsDept,
                              QStringLiteral("id"), QStringLiteral("name"));
        grid->addColumn(QStringLiteral("cxGridDBTableView2DBColumn1"), QStringLiteral("已入住"),
                        QStringLiteral("expand10"), GridColumn::Kind::CheckBox);
        grid->highlightRowsWhere(QStringLiteral("expand10"));
        grid->setDataSource(&dm.dsFw);

        box = new TaggedGroupBox(QStringLiteral("铺位信息录入"), this);
        box->setObjectName(QStringLiteral("GroupBox1"));
        auto* form = new QFormLayout(box);
        code = new DBEdit(&dm.dsFw, QStringLiteral("code"), box);
        code->setObjectName(QStringLiteral("code4"));
        code->setTextColor(Qt::red);
        deposit = new DBEdit(&dm.dsFw, QStringLiteral("expand12"), box);
        deposit->setObjectName(QStringLiteral("RzDBEdit11"));
        deposit->setAlignment(Qt::AlignRight);
        berth =
            new DBComboBox(&dm.dsFw, QStringLiteral("expand1"), {QStringLiteral("上铺"), QStringLiteral("下铺")}, box);
        berth->setObjectName(QStringLiteral("cbBerth"));
        date = new DBDateEdit(&dm.dsFw, QStringLiteral("expand9"), box);
        date->setObjectName(QStringLiteral("RzDBDateTimeEdit3"));
        dept = new DBLookupCombo(box);
        dept->setObjectName(QStringLiteral("cbDept"));
        dept->bind(&dm.dsFw, QStringLiteral("bm_id"));
        dept->setListSource(&dm.dsDept, QStringLiteral("id"), QStringLiteral("name"));
        occupied = new DBCheckBox(QStringLiteral("已入住"), &dm.dsFw, QStringLiteral("expand10"), box);
        occupied->setObjectName(QStringLiteral("RzDBCheckBox5"));
        memo = new DBMemo(&dm.dsFw, QStringLiteral("expand30"), box);
        memo->setObjectName(QStringLiteral("RzDBMemo3"));
        memo->setFixedHeight(70);
        form->addRow(QStringLiteral("铺位编号："), code);
        form->addRow(QStringLiteral("押金："), deposit);
        form->addRow(QStringLiteral("铺位："), berth);
        form->addRow(QStringLiteral("登记日期："), date);
        form->addRow(QStringLiteral("部门："), dept);
        form->addRow(QString(), occupied);
        form->addRow(QStringLiteral("详细说明："), memo);

        auto* buttons = new QHBoxLayout;
        btnData = new BitButton(QStringLiteral("新增"), this);
        btnData->setObjectName(QStringLiteral("btnData"));
        btnData->setTag(14);
        btnSave = new BitButton(QStringLiteral("保存"), this);
        btnSave->setObjectName(QStringLiteral("btnSave"));
        btnSave->setTag(14);
        btnSave->setEnabled(false);
        btnCancel = new BitButton(QStringLiteral("取消"), this);
        btnCancel->setObjectName(QStringLiteral("btnCancel"));
        btnCancel->setTag(14);
        btnCancel->setEnabled(false);
        buttons->addStretch();
        buttons->addWidget(btnData);
        buttons->addWidget(btnSave);
        buttons->addWidget(btnCancel);

        auto* top = new QHBoxLayout;
        top->addWidget(grid, 3);
        top->addWidget(box, 2);
        auto* layout = new QVBoxLayout(this);
        layout->addLayout(top);
        layout->addLayout(buttons);
    }

    DataGrid* grid;
    TaggedGroupBox* box;
    DBEdit* code;
    DBEdit* deposit;
    DBComboBox* berth;
    DBDateEdit* date;
    DBLookupCombo* dept;
    DBCheckBox* occupied;
    DBMemo* memo;
    BitButton* btnData;
    BitButton* btnSave;
    BitButton* btnCancel;
};

// Saves a picture of the widget under the build's test output folder.
inline QString saveScreenshot(QWidget* widget, const QString& name)
{
    const QString folder = QStringLiteral(QITANG_TEST_OUTPUT);
    QDir().mkpath(folder);
    const QString path = folder + '/' + name + QStringLiteral(".png");
    widget->grab().save(path);
    return path;
}
