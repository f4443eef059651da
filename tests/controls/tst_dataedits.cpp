// The data-aware edits on a real window: they show the current record, are read-only while
// browsing, write what is typed when left or before a post, and report refused values.

#include "ControlsWindow.h"
#include "controls/EnterMovesFocus.h"
#include "data/DatabaseError.h"

#include "data/ValueConversion.h"

#include <QAbstractItemView>
#include <QCalendarWidget>
#include <QLineEdit>
#include <QMenu>
#include <QTableView>
#include <QToolButton>
#include <QtTest>

class TestDataEdits : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void editsFollowTheCurrentRecord();
    void browsingNeverChangesTheRecord();
    void typedValueIsWrittenWhenLeftAndPosted_data();
    void typedValueIsWrittenWhenLeftAndPosted();
    void valueSetByTheWindowIsWrittenBeforePost();
    void pickedValuesAreWrittenAtOnce();
    void refusedValueIsReportedNeverThrown_data();
    void refusedValueIsReportedNeverThrown();
    void cancelShowsTheStoredValuesAgain();
    void leavingAnEditSignalsExit();
    void enterMovesFocus_data();
    void enterMovesFocus();
    void screenshot();

private:
    // Clicks on the box of a check box (its middle may lie beyond its caption).
    static void clickCheckBox(QCheckBox* box)
    {
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
    }
    // Focuses the control, replaces its text by typing (Return between lines) and leaves it by Tab.
    void typeInto(QWidget* control, const QString& text);
    QWidget* control(const QString& name) const { return m_window->findChild<QWidget*>(name); }
    QString stored(const QString& field, int id = 20) const
    {
        return ValueConversion::toText(
            m_fixture->folder.scalar(QStringLiteral("select %1 from baseinfo where id=%2").arg(field).arg(id)));
    }

    std::unique_ptr<ControlsFixture> m_fixture;
    std::unique_ptr<ControlsWindow> m_window;
};

void TestDataEdits::init()
{
    m_fixture = std::make_unique<ControlsFixture>();
    m_window = std::make_unique<ControlsWindow>(*m_fixture->dm);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
}

void TestDataEdits::cleanup()
{
    m_window.reset();
    m_fixture.reset();
}

void TestDataEdits::typeInto(QWidget* target, const QString& text)
{
    QWidget* keys = target;
    if (auto* date = qobject_cast<DBDateEdit*>(target))
        keys = date->lineEdit();
    keys->setFocus(Qt::MouseFocusReason);
    QTRY_VERIFY(keys->hasFocus() || (qobject_cast<QComboBox*>(target) && target->hasFocus()));
    QWidget* receiver = QApplication::focusWidget();
    QTest::keyClick(receiver, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(receiver, Qt::Key_Delete);
    const QStringList lines = text.split('\n');
    for (int i = 0; i < lines.size(); ++i) {
        if (i > 0)
            QTest::keyClick(receiver, Qt::Key_Return);
        typeText(receiver, lines[i]);
    }
    QTest::keyClick(receiver, Qt::Key_Tab);
    QTRY_VERIFY(!receiver->hasFocus());
}

void TestDataEdits::editsFollowTheCurrentRecord()
{
    Dataset& beds = m_fixture->dm->cdsFw;
    beds.moveTo(1);
    QCOMPARE(m_window->code->text(), QStringLiteral("A102"));
    QCOMPARE(m_window->deposit->text(), QStringLiteral("150"));
    QCOMPARE(m_window->berth->text(), QStringLiteral("下铺"));
    QCOMPARE(m_window->date->text(), QStringLiteral("2024-04-01"));
    QCOMPARE(m_window->dept->text(), QStringLiteral("生产部"));
    QVERIFY(!m_window->occupied->isChecked());
    QCOMPARE(m_window->memo->text(), QString());

    beds.moveTo(0);
    QCOMPARE(m_window->code->text(), QStringLiteral("A101"));
    QCOMPARE(m_window->date->text(), QStringLiteral("2024-03-05")); // the time of day is not shown
    QCOMPARE(m_window->dept->text(), QStringLiteral("后勤部"));
    QVERIFY(m_window->occupied->isChecked());
    QCOMPARE(m_window->memo->text(), QStringLiteral("朝南"));

    beds.moveTo(3); // a department key that is null shows nothing
    QCOMPARE(m_window->dept->currentIndex(), -1);
    QCOMPARE(m_window->date->text(), QString());

    // Renaming a department in its own source shows the new name at once.
    m_fixture->dm->cdsDept.locate(QStringLiteral("id"), 10);
    m_fixture->dm->cdsDept.edit();
    m_fixture->dm->cdsDept.fieldByName(QStringLiteral("name")).setAsString(QStringLiteral("总务部"));
    m_fixture->dm->cdsDept.post();
    beds.moveTo(0);
    QCOMPARE(m_window->dept->text(), QStringLiteral("总务部"));
}

void TestDataEdits::browsingNeverChangesTheRecord()
{
    QVERIFY(m_window->code->isReadOnly());
    QVERIFY(m_window->memo->isReadOnly());
    QVERIFY(m_window->berth->isReadOnly());
    QVERIFY(m_window->date->isReadOnly());
    QVERIFY(!m_window->date->calendarButton()->isEnabled());

    m_window->code->setFocus();
    QTest::keyClicks(m_window->code, QStringLiteral("ZZ"));
    QCOMPARE(m_window->code->text(), QStringLiteral("A101"));
    clickCheckBox(m_window->occupied);
    QVERIFY(m_window->occupied->isChecked());
    m_window->berth->setFocus();
    QTest::keyClick(m_window->berth, Qt::Key_Down);
    QCOMPARE(m_window->berth->text(), QStringLiteral("上铺"));
    m_window->dept->setFocus();
    QTest::keyClick(m_window->dept, Qt::Key_Down);
    QCOMPARE(m_window->dept->text(), QStringLiteral("后勤部"));
    m_window->berth->showPopup();
    QVERIFY(!m_window->berth->view()->isVisible());
    m_window->date->showCalendar();
    QVERIFY(!m_window->date->calendar()->isVisible());
    QTest::keyClick(m_window->dept, Qt::Key_Tab);

    QCOMPARE(m_fixture->dm->cdsFw.state(), DatasetState::Browse);
    QCOMPARE(m_fixture->column(QStringLiteral("code")), QStringList({"A101", "A102", "B201", "B202"}));
    QCOMPARE(stored(QStringLiteral("expand10")), QStringLiteral("True"));
    QVERIFY(m_fixture->messages.shown().isEmpty());

    // Entering edit state makes them editable.
    m_fixture->dm->cdsFw.edit();
    QVERIFY(!m_window->code->isReadOnly());
    QVERIFY(!m_window->memo->isReadOnly());
    QVERIFY(m_window->date->calendarButton()->isEnabled());
}

void TestDataEdits::typedValueIsWrittenWhenLeftAndPosted_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("stored");

    QTest::newRow("text with blanks kept") << "code4"
                                           << " C301 "
                                           << "code"
                                           << " C301 ";
    QTest::newRow("number") << "RzDBEdit11"
                            << "12.5"
                            << "expand12"
                            << "12.5";
    QTest::newRow("empty number is null") << "RzDBEdit11"
                                          << ""
                                          << "expand12"
                                          << "";
    QTest::newRow("drop-down value outside its items") << "cbBerth"
                                                       << "中铺"
                                                       << "expand1"
                                                       << "中铺";
    QTest::newRow("date typed loosely") << "RzDBDateTimeEdit3"
                                        << "2025-1-9"
                                        << "expand9"
                                        << "2025-01-09";
    QTest::newRow("date emptied is null") << "RzDBDateTimeEdit3"
                                          << ""
                                          << "expand9"
                                          << "";
    QTest::newRow("memo with a line break") << "RzDBMemo3"
                                            << "第一行\n第二行"
                                            << "expand30"
                                            << "第一行\n第二行";
}

void TestDataEdits::typedValueIsWrittenWhenLeftAndPosted()
{
    QFETCH(QString, control);
    QFETCH(QString, typed);
    QFETCH(QString, field);
    QFETCH(QString, stored);

    Dataset& beds = m_fixture->dm->cdsFw;
    beds.edit();
    typeInto(this->control(control), typed);
    // Left: the record holds the value, the database not yet.
    QCOMPARE(beds.fieldByName(field).asString(), stored);
    QVERIFY(this->stored(field) != stored);

    PostQuery(beds);
    QCOMPARE(this->stored(field), stored);
    QVERIFY(m_fixture->messages.shown().isEmpty());
}

void TestDataEdits::valueSetByTheWindowIsWrittenBeforePost()
{
    // A window fills an edit itself (as the identity number check clears its edit) while the
    // focus stays where it is; the post still takes the value.
    Dataset& beds = m_fixture->dm->cdsFw;
    beds.edit();
    m_window->code->setText(QStringLiteral("A109"));
    m_window->memo->setText(QStringLiteral("备注"));
    m_window->date->setDate(QDate(2026, 2, 3));
    PostQuery(beds);
    QCOMPARE(stored(QStringLiteral("code")), QStringLiteral("A109"));
    QCOMPARE(stored(QStringLiteral("expand30")), QStringLiteral("备注"));
    QCOMPARE(stored(QStringLiteral("expand9")), QStringLiteral("2026-02-03"));
}

void TestDataEdits::pickedValuesAreWrittenAtOnce()
{
    Dataset& beds = m_fixture->dm->cdsFw;
    beds.moveTo(1);
    beds.edit();

    clickCheckBox(m_window->occupied);
    QVERIFY(m_window->occupied->isChecked());
    QCOMPARE(beds.fieldByName(QStringLiteral("expand10")).asBoolean(), true);

    m_window->berth->setFocus();
    QTest::keyClick(m_window->berth, Qt::Key_Up); // 下铺 → 上铺
    QCOMPARE(beds.fieldByName(QStringLiteral("expand1")).asString(), QStringLiteral("上铺"));

    m_window->dept->setFocus();
    QTest::keyClick(m_window->dept, Qt::Key_Down); // the next department of the list
    const QString picked = m_window->dept->text();
    QVERIFY(!picked.isEmpty() && picked != QStringLiteral("生产部"));
    QCOMPARE(beds.fieldByName(QStringLiteral("bm_id")).asString(), m_window->dept->keyValue().toString());

    QTest::mouseClick(m_window->date->calendarButton(), Qt::LeftButton);
    QTRY_VERIFY(m_window->date->calendar()->isVisible());
    m_window->date->calendar()->setSelectedDate(QDate(2025, 12, 24));
    QTest::keyClick(m_window->date->calendar()->focusWidget() ? m_window->date->calendar()->focusWidget()
                                                              : m_window->date->calendar(),
                    Qt::Key_Return);
    QTRY_VERIFY(!m_window->date->calendar()->isVisible());
    QCOMPARE(m_window->date->text(), QStringLiteral("2025-12-24"));
    QCOMPARE(beds.fieldByName(QStringLiteral("expand9")).asDateTime(), QDateTime(QDate(2025, 12, 24), QTime(0, 0)));

    PostQuery(beds);
    QCOMPARE(stored(QStringLiteral("expand10"), 21), QStringLiteral("True"));
    QCOMPARE(stored(QStringLiteral("expand1"), 21), QStringLiteral("上铺"));
    QCOMPARE(stored(QStringLiteral("expand9"), 21), QStringLiteral("2025-12-24"));
}

void TestDataEdits::refusedValueIsReportedNeverThrown_data()
{
    QTest::addColumn<bool>("leaveFirst");
    QTest::addColumn<int>("messagesBeforePost");
    QTest::newRow("edit left before the post") << true << 0;
    QTest::newRow("posted while still typing") << false << 0;
}

void TestDataEdits::refusedValueIsReportedNeverThrown()
{
    QFETCH(bool, leaveFirst);
    QFETCH(int, messagesBeforePost);

    Dataset& beds = m_fixture->dm->cdsFw;
    beds.edit();
    if (leaveFirst) {
        typeInto(m_window->deposit, QStringLiteral("12x"));
    } else {
        m_window->deposit->setFocus();
        QTest::keyClicks(m_window->deposit, QStringLiteral("x"));
    }
    QCOMPARE(m_fixture->messages.shown().size(), messagesBeforePost);
    QVERIFY(m_window->deposit->text().endsWith('x')); // the typed text stays for correcting

    QString refused;
    try {
        beds.post();
    } catch (const DatabaseError& error) {
        refused = error.message();
    }
    QVERIFY2(refused.contains('x'), qPrintable(refused));
    QCOMPARE(beds.state(), DatasetState::Edit);
    QCOMPARE(stored(QStringLiteral("expand12")), QStringLiteral("200"));

    // Corrected, it goes through.
    typeInto(m_window->deposit, QStringLiteral("210"));
    PostQuery(beds);
    QCOMPARE(stored(QStringLiteral("expand12")), QStringLiteral("210"));
}

void TestDataEdits::cancelShowsTheStoredValuesAgain()
{
    Dataset& beds = m_fixture->dm->cdsFw;
    beds.edit();
    typeInto(m_window->code, QStringLiteral("X9"));
    typeInto(m_window->memo, QStringLiteral("改了"));
    beds.cancel();
    QCOMPARE(m_window->code->text(), QStringLiteral("A101"));
    QCOMPARE(m_window->memo->text(), QStringLiteral("朝南"));
    QVERIFY(m_window->code->isReadOnly());

    // An inserted record starts empty, takes what is typed and is stored with it.
    beds.insert();
    QCOMPARE(m_window->code->text(), QString());
    QVERIFY(!m_window->occupied->isChecked());
    typeInto(m_window->code, QStringLiteral("C1"));
    beds.fieldByName(QStringLiteral("id")).setAsInteger(30);
    beds.fieldByName(QStringLiteral("flag")).setAsInteger(4);
    PostAndReopen(beds);
    QCOMPARE(m_fixture->column(QStringLiteral("code")), QStringList({"A101", "A102", "B201", "B202", "C1"}));
}

void TestDataEdits::leavingAnEditSignalsExit()
{
    QSignalSpy exited(m_window->code, &DBEdit::exited);
    m_window->code->setFocus();
    QTRY_VERIFY(m_window->code->hasFocus());
    QTest::keyClick(m_window->code, Qt::Key_Tab);
    QTRY_COMPARE(exited.size(), 1); // in browse state too

    // A context menu taking the focus for a moment is not leaving.
    m_window->code->setFocus();
    QTRY_VERIFY(m_window->code->hasFocus());
    exited.clear();
    QMenu menu;
    menu.addAction(QStringLiteral("菜单"));
    menu.popup(m_window->code->mapToGlobal(QPoint(2, 2)));
    QTRY_VERIFY(menu.isVisible());
    menu.close();
    QTRY_VERIFY(m_window->code->hasFocus());
    QCOMPARE(exited.size(), 0);
}

void TestDataEdits::enterMovesFocus_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<bool>("includeMemo");
    QTest::addColumn<QString>("expectedFocus");
    QTest::addColumn<QString>("memoText");

    QTest::newRow("edit to the next edit") << "code4" << false << "RzDBEdit11"
                                           << "朝南";
    QTest::newRow("drop-down to the date") << "cbBerth" << false << "RzDBDateTimeEdit3"
                                           << "朝南";
    QTest::newRow("memo makes a new line") << "RzDBMemo3" << false << "RzDBMemo3"
                                           << "朝南\n";
    QTest::newRow("memo included moves on") << "RzDBMemo3" << true << "btnData"
                                            << "朝南";
}

void TestDataEdits::enterMovesFocus()
{
    QFETCH(QString, from);
    QFETCH(bool, includeMemo);
    QFETCH(QString, expectedFocus);
    QFETCH(QString, memoText);

    installEnterMovesFocus(m_window.get(), includeMemo);
    m_fixture->dm->cdsFw.edit();
    QWidget* start = control(from);
    start->setFocus();
    if (auto* memo = qobject_cast<DBMemo*>(start))
        memo->moveCursor(QTextCursor::End);
    QTRY_VERIFY(start->hasFocus());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);

    QWidget* expected = control(expectedFocus);
    QTRY_VERIFY2(expected->hasFocus() || expected->isAncestorOf(QApplication::focusWidget()),
                 qPrintable(QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : "none"));
    QCOMPARE(m_window->memo->toPlainText(), memoText);
}

void TestDataEdits::screenshot()
{
    installEnterMovesFocus(m_window.get());
    QSignalSpy pressed(m_window->btnData, &QPushButton::clicked);
    m_window->btnData->setFocus();
    QTRY_VERIFY(m_window->btnData->hasFocus());
    QTest::keyClick(m_window->btnData, Qt::Key_Return); // Enter on a button presses it
    QCOMPARE(pressed.size(), 1);

    m_fixture->dm->cdsFw.moveTo(1);
    m_window->grid->setFocus();
    QTRY_VERIFY(m_window->grid->view()->hasFocus());
    const QString path = saveScreenshot(m_window.get(), QStringLiteral("controls_window"));
    QVERIFY(QFile::exists(path));
}

QTEST_MAIN(TestDataEdits)
#include "tst_dataedits.moc"
