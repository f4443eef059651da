// Batch creation of beds: the forms a list of bed numbers takes, the creation routine with its
// skipped numbers and failures, and the dialog on its real widgets, opened from the register.

#include "common/ConnectedModule.h"
#include "common/ModalDriver.h"
#include "controls/DataGrid.h"
#include "premises/BatchBeds.h"
#include "premises/TfrmFw.h"
#include "premises/TfrmPlfh.h"
#include "support/SharedValues.h"

#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>
#include <memory>

namespace {

// Chinese text arrives as the committed text of an input method.
void commitText(QWidget* widget, const QString& text)
{
    QInputMethodEvent commit;
    commit.setCommitString(text);
    QApplication::sendEvent(widget, &commit);
}

} // namespace

class BatchBedsTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void parse_data();
    void parse();
    void existingAndRepeatedNumbersAreSkipped();
    void aFailingBed_data();
    void aFailingBed();

    void dialogFromTheRegisterCreatesBedsAndReports();
    void chargeThatIsNotANumberCreatesNothing_data();
    void chargeThatIsNotANumberCreatesNothing();
    void emptyOrBlankList_data();
    void emptyOrBlankList();
    void typedValuesStayForTheNextOpening();
    void enterMovesOnAlsoFromTheList();

private:
    TfrmPlfh& dialog() const { return TfrmPlfh::instance(); }
    template <class T = QWidget> T* field(const QString& name) const
    {
        T* found = dialog().findChild<T*>(name);
        if (!found)
            qFatal("no child %s", qPrintable(name));
        return found;
    }
    QStringList beds(const QString& columns = QStringLiteral("code")) const
    {
        return m_folder->rows(QStringLiteral("select %1 from baseinfo where flag=4 order by id").arg(columns));
    }
    QStringList maxvalueIds() const
    {
        return m_folder->rows(QStringLiteral("select id from maxvalue where tablename='baseinfo' order by id"));
    }
    // Opens the dialog with the register's button and runs the step in it.
    void throughTheRegister(const std::function<void(TfrmPlfh*)>& step);
    void showDialog();

    std::unique_ptr<ConnectedModule> m_module;
    TestFolder* m_folder = nullptr;
    ScriptedMessages* m_messages = nullptr;
    TDM* m_dm = nullptr;
};

void BatchBedsTest::init()
{
    m_module = std::make_unique<ConnectedModule>([](TestFolder& folder) {
        folder.writeGbk("fields.ini",
                        QStringLiteral("[Ffield]\r\nfield1=水费\r\nfield2=\r\nfield3=电费\r\nfield4=卫生费\r\n"));
    });
    m_folder = &m_module->folder;
    m_messages = &m_module->messages;
    m_dm = m_module->dm.get();
    m_dm->ADO.execute(QStringLiteral("INSERT INTO baseinfo(id, flag, code) VALUES (2, 4, '101'), (3, 3, '105')"));
    m_dm->ADO.execute(QStringLiteral("INSERT INTO maxvalue(tablename, id) VALUES ('baseinfo', 2), ('baseinfo', 3)"));
    Shared().CurrentFunctionCode = TfrmFw::kFunctionCode;
    // The one dialog lives on between cases: every case starts from the dialog's first state.
    field<QPlainTextEdit>("Memo1")->clear();
    for (const char* box : {"Edit1", "Edit2", "Edit3", "Edit6", "Edit7", "Edit4"})
        field<QLineEdit>(box)->setText(QStringLiteral("0"));
    field<QLineEdit>("Edit5")->clear();
}

void BatchBedsTest::cleanup()
{
    dialog().hide();
    m_module.reset();
}

void BatchBedsTest::throughTheRegister(const std::function<void(TfrmPlfh*)>& step)
{
    TfrmFw window;
    window.show();
    bool ran = false;
    onModal<TfrmPlfh>([&](TfrmPlfh* opened) {
        ran = true;
        step(opened);
        if (opened->isVisible())
            opened->reject();
    });
    QTest::mouseClick(window.findChild<QPushButton*>("BitBtn6"), Qt::LeftButton);
    QVERIFY(ran);
    // Closing the dialog shows every bed again.
    QCOMPARE(window.findChild<DataGrid*>("cxGrid2")->model()->totalRows(), beds().size());
}

void BatchBedsTest::showDialog()
{
    dialog().show();
    dialog().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&dialog()));
}

void BatchBedsTest::parse_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<QStringList>("numbers");
    QTest::newRow("trailing comma adds nothing") << "101,102,103," << QStringList{"101", "102", "103"};
    QTest::newRow("blanks around the numbers") << "  101 ,  102,103  " << QStringList{"101", "102", "103"};
    QTest::newRow("two commas in a row") << "101,,102" << QStringList{"101", "102"};
    QTest::newRow("one number without comma") << "101" << QStringList{"101"};
    QTest::newRow("blanks only") << " \t  " << QStringList{};
    QTest::newRow("one number a line") << "101\r\n102\n103\n" << QStringList{"101", "102", "103"};
    QTest::newRow("commas and line breaks") << "101,\r\n102,\r\n,103" << QStringList{"101", "102", "103"};
    QTest::newRow("full-width comma") << QStringLiteral("101，102， 103") << QStringList{"101", "102", "103"};
    QTest::newRow("blank inside a number kept") << "A 1, B2" << QStringList{"A 1", "B2"};
    QTest::newRow("control characters around") << QStringLiteral("\x01"
                                                                 "101\x7f,\x02"
                                                                 "102")
                                               << QStringList{"101\x7f", "102"};
    QTest::newRow("repeats kept for the routine to skip") << "101,101" << QStringList{"101", "101"};
}

void BatchBedsTest::parse()
{
    QFETCH(QString, list);
    QFETCH(QStringList, numbers);
    QCOMPARE(ParseBedNumbers(list), numbers);
}

void BatchBedsTest::existingAndRepeatedNumbersAreSkipped()
{
    BedCharges charges;
    charges.deposit = 150;
    charges.rent = 280.5;
    charges.custom[0] = 1;
    charges.custom[1] = 2;
    charges.custom[2] = 3;
    charges.custom[3] = 4;
    charges.description = QStringLiteral("朝南'双人间");
    // "105" is a department, not a bed: it does not count as taken.
    const BatchOutcome outcome = CreateBeds(m_dm->ADO, {"100", "101", "100", "a1", "A1", "105"}, charges);
    QCOMPARE(outcome.created, (QStringList{"100", "a1", "105"}));
    QCOMPARE(outcome.existing, QStringList{"101"});
    QCOMPARE(outcome.repeated, (QStringList{"100", "A1"}));
    QVERIFY(outcome.failed.isEmpty());

    // Identifiers continue where maxvalue stands, one row each, as AllocateId hands them out.
    QCOMPARE(beds("id, code, expand12, expand13, field1, field2, field3, field4, expand30, expand10"),
             (QStringList{"2|101||||||||False", "4|100|150|280.5|1|2|3|4|朝南'双人间|False",
                          "5|a1|150|280.5|1|2|3|4|朝南'双人间|False", "6|105|150|280.5|1|2|3|4|朝南'双人间|False"}));
    QCOMPARE(maxvalueIds(), (QStringList{"1", "2", "3", "4", "5", "6"}));
    QCOMPARE(m_dm->AllocateId("baseinfo"), 7);

    QCOMPARE(BatchSummary(outcome), QStringLiteral("铺位批量增加完毕！\n共增加铺位 3 个。\n已经存在，未再增加：101\n"
                                                   "在列表中重复，已略过：100、A1"));
}

void BatchBedsTest::aFailingBed_data()
{
    QTest::addColumn<QString>("raise");
    QTest::addColumn<QStringList>("created");
    QTest::addColumn<QStringList>("failed");
    QTest::addColumn<QStringList>("ids");
    // The database refuses one statement: only that bed is missing, its identifier is not spent.
    QTest::newRow("one bed refused") << "ABORT" << QStringList{"201", "203"} << QStringList{"202"}
                                     << QStringList{"1", "2", "3", "4", "5"};
    // The database gives up the whole transaction: nothing of the run is kept, all of it is told.
    QTest::newRow("transaction lost") << "ROLLBACK" << QStringList{} << QStringList{"201", "202", "203"}
                                      << QStringList{"1", "2", "3"};
}

void BatchBedsTest::aFailingBed()
{
    QFETCH(QString, raise);
    QFETCH(QStringList, created);
    QFETCH(QStringList, failed);
    QFETCH(QStringList, ids);
    m_dm->ADO.execute(QStringLiteral("CREATE TRIGGER refuse_202 BEFORE INSERT ON baseinfo WHEN NEW.code = '202'"
                                     " BEGIN SELECT RAISE(%1, '磁盘已满'); END")
                          .arg(raise));
    const BatchOutcome outcome = CreateBeds(m_dm->ADO, {"201", "202", "203"}, BedCharges());
    QCOMPARE(outcome.created, created);
    QStringList failedNumbers;
    for (const BatchOutcome::Failure& failure : outcome.failed) {
        failedNumbers << failure.number;
        QVERIFY2(failure.reason.contains(QStringLiteral("磁盘已满")), qPrintable(failure.reason));
    }
    QCOMPARE(failedNumbers, failed);
    QCOMPARE(beds(), QStringList{"101"} + created);
    QCOMPARE(maxvalueIds(), ids);
    QVERIFY(BatchSummary(outcome).contains(QStringLiteral("未能增加 202：磁盘已满")));
    // Nothing is left open on the connection.
    m_dm->ADO.begin();
    m_dm->ADO.rollback();
}

void BatchBedsTest::dialogFromTheRegisterCreatesBedsAndReports()
{
    QString title;
    QStringList labels;
    throughTheRegister([&](TfrmPlfh* opened) {
        title = opened->windowTitle();
        for (const char* name : {"lab_field1", "lab_field2", "lab_field3", "lab_field4"})
            labels << opened->findChild<QLabel*>(name)->text();
        auto* list = opened->findChild<QPlainTextEdit*>("Memo1");
        QTest::keyClicks(list, " 101, 102 ,,103,");
        list->insertPlainText(QStringLiteral("\n102")); // pasted
        const std::pair<const char*, const char*> typed[] = {
            {"Edit1", "100"}, {"Edit2", "280.5"}, {"Edit3", "10"}, {"Edit4", ""}};
        for (auto [box, text] : typed) {
            auto* edit = opened->findChild<QLineEdit*>(box);
            edit->selectAll();
            QTest::keyClicks(edit, text);
            if (QString(text).isEmpty())
                QTest::keyClick(edit, Qt::Key_Delete);
        }
        commitText(opened->findChild<QLineEdit*>("Edit5"), QStringLiteral("新楼"));
        QTest::mouseClick(opened->findChild<QPushButton*>("BitBtn4"), Qt::LeftButton);
        QVERIFY(!opened->isVisible());
    });
    QCOMPARE(title, QStringLiteral("批量增加铺位信息"));
    QCOMPARE(labels, (QStringList{"水费：", "：", "电费：", "卫生费："}));
    QCOMPARE(m_messages->texts(), QStringList{QStringLiteral("铺位批量增加完毕！\n共增加铺位 2 个。\n"
                                                             "已经存在，未再增加：101\n在列表中重复，已略过：102")});
    QCOMPARE(m_messages->shown().first().title, QStringLiteral("提示信息"));
    // An empty box counts as 0.
    QCOMPARE(beds("code, expand12, expand13, field1, field2, field3, field4, expand30"),
             (QStringList{"101|||||||", "102|100|280.5|10|0|0|0|新楼", "103|100|280.5|10|0|0|0|新楼"}));
}

void BatchBedsTest::chargeThatIsNotANumberCreatesNothing_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("text");
    QTest::newRow("deposit with a letter") << "Edit1"
                                           << "12a";
    QTest::newRow("rent with a thousands comma") << "Edit2"
                                                 << "1,200";
    QTest::newRow("third custom charge a word") << "Edit7"
                                                << "免费";
    QTest::newRow("last custom charge a quote") << "Edit4"
                                                << "0)--";
}

void BatchBedsTest::chargeThatIsNotANumberCreatesNothing()
{
    QFETCH(QString, box);
    QFETCH(QString, text);
    showDialog();
    field<QPlainTextEdit>("Memo1")->setPlainText("301,302");
    field<QLineEdit>(box)->setText(text);
    QTest::mouseClick(field<QPushButton>("BitBtn4"), Qt::LeftButton);
    QCOMPARE(m_messages->texts(), QStringList{QStringLiteral("输入不正确，请输入数值型！")});
    QVERIFY(dialog().isVisible());
    QCOMPARE(dialog().focusWidget(), field(box));
    QCOMPARE(beds(), QStringList{"101"});
    QCOMPARE(maxvalueIds(), (QStringList{"1", "2", "3"}));
}

void BatchBedsTest::emptyOrBlankList_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("closes");
    QTest::newRow("empty list") << QString() << QStringLiteral("铺位编号不能为空！") << false;
    QTest::newRow("blanks and commas only")
        << QStringLiteral("  ,\n , ") << QStringLiteral("铺位批量增加完毕！\n共增加铺位 0 个。") << true;
}

void BatchBedsTest::emptyOrBlankList()
{
    QFETCH(QString, list);
    QFETCH(QString, message);
    QFETCH(bool, closes);
    showDialog();
    field<QPlainTextEdit>("Memo1")->setPlainText(list);
    QTest::mouseClick(field<QPushButton>("BitBtn4"), Qt::LeftButton);
    QCOMPARE(m_messages->texts(), QStringList{message});
    QCOMPARE(dialog().isVisible(), !closes);
    QCOMPARE(beds(), QStringList{"101"});
}

void BatchBedsTest::typedValuesStayForTheNextOpening()
{
    TfrmPlfh* first = nullptr;
    throughTheRegister([&](TfrmPlfh* opened) {
        first = opened;
        QTest::keyClicks(opened->findChild<QPlainTextEdit*>("Memo1"), "401,402");
        auto* deposit = opened->findChild<QLineEdit*>("Edit1");
        deposit->selectAll();
        QTest::keyClicks(deposit, "50");
        QTest::keyClick(deposit, Qt::Key_Escape); // closes without creating
    });
    QCOMPARE(beds(), QStringList{"101"});

    Shared().FieldCaption2 = QStringLiteral("网费");
    QString list;
    QString deposit;
    QString label;
    throughTheRegister([&](TfrmPlfh* opened) {
        QCOMPARE(opened, first);
        list = opened->findChild<QPlainTextEdit*>("Memo1")->toPlainText();
        deposit = opened->findChild<QLineEdit*>("Edit1")->text();
        label = opened->findChild<QLabel*>("lab_field2")->text();
    });
    QCOMPARE(list, QStringLiteral("401,402"));
    QCOMPARE(deposit, QStringLiteral("50"));
    QCOMPARE(label, QStringLiteral("网费："));
}

void BatchBedsTest::enterMovesOnAlsoFromTheList()
{
    showDialog();
    auto* memo = field<QPlainTextEdit>("Memo1");
    QCOMPARE(QApplication::focusWidget(), memo);
    QTest::keyClicks(memo, "101,");
    QStringList visited;
    for (int i = 0; i < 8; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        visited << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(visited, (QStringList{"Edit1", "Edit2", "Edit3", "Edit6", "Edit7", "Edit4", "Edit5", "BitBtn4"}));
    QCOMPARE(memo->toPlainText(), QStringLiteral("101,"));
    QCOMPARE(beds(), QStringList{"101"});
}

QTEST_MAIN(BatchBedsTest)
#include "tst_batchbeds.moc"
