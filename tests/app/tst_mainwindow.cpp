// The main window end to end: login at first show, the home page, the dispatcher's log rows
// and status bar, the about window, the exit, and the toolbar of functions.
#include "app/StartUp.h"
#include "app/TLoadForm.h"
#include "app/TfrmMain.h"
#include "app/TfrmWelcome.h"
#include "common/ModalDriver.h"
#include "common/ScriptedMessages.h"
#include "common/TestFolder.h"
#include "data/DataModule.h"
#include "premises/TfrmFw.h"
#include "residents/ascidnum.h"
#include "support/SharedValues.h"

#include <QAction>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { initProgramResources(); }
    void init()
    {
        resetSharedValues();
        RegionTable().clear();
        m_folder = std::make_unique<TestFolder>();
        QFile::copy(QStringLiteral(QITANG_INSTALL_DIR "/regioncode.dat"), m_folder->file("regioncode.dat"));
        m_folder->writeGbk("login_sd.ini", QStringLiteral("[login1]\r\nip=宿舍服务器\r\njsr=25\r\n"));
        m_dm = std::make_unique<TDM>(m_folder->path(), m_folder->path());
    }
    void cleanup()
    {
        m_main.reset();
        m_dm.reset();
        m_folder.reset();
    }

    void loginOpensTheHomePageAndLogsBothSteps()
    {
        ScriptedMessages messages;
        startWithLogin(QString());
        QTRY_VERIFY(Shared().CurrentChildWindow);
        QVERIFY(messages.shown().isEmpty());
        QCOMPARE(m_main->panelText(0), QStringLiteral("当前窗体：主页..."));
        QCOMPARE(m_main->panelText(1), QStringLiteral("操作员：系统管理员"));
        QVERIFY(m_main->panelText(2).startsWith(QStringLiteral("登录日期：") + QDate::currentDate().toString("yyyy-MM-dd")));
        QCOMPARE(m_main->panelText(3), QStringLiteral("服务器：宿舍服务器"));
        QCOMPARE(Shared().CurrentFunctionCode, 68);
        QCOMPARE(Shared().CurrentChildWindow->windowTitle(), QStringLiteral("主页..."));
        QCOMPARE(m_main->mdiArea()->subWindowList().size(), 1);
        QCOMPARE(logRows(), (QStringList{QStringLiteral("系统管理员|用户上线"), QStringLiteral("系统管理员|主页...")}));
        QVERIFY(RegionTable().size() > 3000); // loaded after the login
        QCOMPARE(GetRegionName(u"110101"), QStringLiteral("北京市东城区"));

        // The home page again replaces the child instead of adding one.
        m_main->action("act_base_maintp")->trigger();
        QTRY_COMPARE(m_main->mdiArea()->subWindowList().size(), 1);
    }

    void cancelledLoginOpensNothing()
    {
        ScriptedMessages messages;
        onModal<TLoadForm>([](TLoadForm* form) { QTest::mouseClick(form->findChild<QPushButton*>("btnClose"), Qt::LeftButton); });
        m_main = std::make_unique<TfrmMain>();
        m_main->show();
        QTRY_VERIFY(Shared().LoginCancelled);
        QTest::qWait(50);
        QVERIFY(!Shared().CurrentChildWindow);
        QVERIFY(RegionTable().isEmpty());
        QVERIFY(!m_dm->ADO.connected());
        m_main.reset(); // destroying the frame writes nothing without a connection
        QVERIFY(logRows().isEmpty());
        QCOMPARE(m_main.get(), nullptr);
    }

    void aboutWindowGivesTheFunctionCodeBack()
    {
        startWithLogin(QString());
        QTRY_VERIFY(Shared().CurrentChildWindow);
        bool seen = false;
        onModal<TfrmWelcome>([&seen](TfrmWelcome* about) {
            seen = about->windowTitle() == QStringLiteral("关于...") && Shared().CurrentFunctionCode == 22;
            about->accept();
        });
        auto* button = m_main->findChild<QToolButton*>("btn_act_help_about");
        QVERIFY(button && button->isVisible());
        QTest::mouseClick(button, Qt::LeftButton);
        QTRY_VERIFY(seen);
        QTRY_COMPARE(Shared().CurrentFunctionCode, 68);
        QCOMPARE(Shared().PreviousFunctionCode, 68);
        QCOMPARE(m_main->panelText(0), QStringLiteral("当前窗体：关于..."));
        QCOMPARE(logRows().last(), QStringLiteral("系统管理员|关于..."));
    }

    void shortcutOpensTheSameWindowAsItsButton()
    {
        startWithLogin(QString());
        QTRY_VERIFY(Shared().CurrentChildWindow);
        int opened = 0;
        auto closeRegister = [&opened](TfrmFw* beds) {
            opened += beds->windowTitle() == QStringLiteral("铺位信息") && Shared().CurrentFunctionCode == 14;
            beds->reject();
            beds->close();
        };
        onModal<TfrmFw>(closeRegister);
        m_main->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_main.get()));
        QTest::keyClick(m_main.get(), Qt::Key_F, Qt::ControlModifier);
        QTRY_COMPARE(opened, 1);
        QTRY_VERIFY(!QApplication::activeModalWidget());
        onModal<TfrmFw>(closeRegister);
        QTest::mouseClick(m_main->findChild<QToolButton*>("btn_act_client_fw"), Qt::LeftButton);
        QTRY_COMPARE(opened, 2);
        QTRY_VERIFY(!QApplication::activeModalWidget());
        QCOMPARE(logRows().mid(2), (QStringList{QStringLiteral("系统管理员|铺位信息"), QStringLiteral("系统管理员|铺位信息")}));
        QCOMPARE(m_main->panelText(0), QStringLiteral("当前窗体：铺位信息"));
        QCOMPARE(Shared().PreviousFunctionCode, 14);
    }

    void exitLogsTheExitThenTheLogout()
    {
        startWithLogin(QString());
        QTRY_VERIFY(Shared().CurrentChildWindow);
        QTest::mouseClick(m_main->findChild<QToolButton*>("btn_act_close"), Qt::LeftButton);
        QTRY_VERIFY(!m_main->isVisible());
        QTRY_VERIFY(!Shared().CurrentChildWindow);
        m_main.reset();
        QCOMPARE(logRows().mid(2), (QStringList{QStringLiteral("系统管理员|退出"), QStringLiteral("系统管理员|用户下线")}));
    }

    void toolbarShowsEveryFunctionInOrder()
    {
        m_main = std::make_unique<TfrmMain>();
        QCOMPARE(m_main->windowTitle(), QStringLiteral("栖棠居务"));
        auto* toolbar = m_main->findChild<QToolBar*>("ToolBar1");
        QStringList seen;
        for (QAction* action : toolbar->actions()) {
            if (action->isSeparator())
                seen << "|";
            else if (QWidget* widget = toolbar->widgetForAction(action); widget && widget->objectName() == "btnStart")
                QVERIFY(!action->isVisible());
            else
                seen << action->text();
        }
        QCOMPARE(seen.join(' '), QStringLiteral("更改密码 部门设置 | 铺位信息 人员管理 | 事件记录 联系表 | 入住查看 退房浏览 | "
                                                "数据备份 数据恢复 | 供应商信息 退出"));
        QCOMPARE(m_main->action("act_client_fw")->shortcut(), QKeySequence("Ctrl+F"));
        QCOMPARE(m_main->action("act_client_into")->shortcut(), QKeySequence("Ctrl+R"));
        QCOMPARE(m_main->action("act_databack")->shortcut(), QKeySequence("Ctrl+B"));
        QCOMPARE(m_main->action("act_client_fw")->property("category").toString(), QStringLiteral("client"));
        QVERIFY(m_main->action("act_help_about")->isEnabled());
        QVERIFY(m_main->action("act_close")->isEnabled());
        QStringList panels;
        for (int i = 0; i < 4; ++i)
            panels << m_main->panelText(i);
        QCOMPARE(panels, (QStringList{QStringLiteral("当前窗体："), QStringLiteral("操作员："), QStringLiteral("登录时间："),
                                      QStringLiteral("服务器：")}));
    }

private:
    void startWithLogin(const QString& password)
    {
        onModal<TLoadForm>([password](TLoadForm* form) {
            form->findChild<QLineEdit*>("name9")->setText(password);
            QTest::mouseClick(form->findChild<QPushButton*>("btnLogin"), Qt::LeftButton);
        });
        m_main = std::make_unique<TfrmMain>();
        m_main->resize(1280, 800); // room for every toolbar button
        m_main->show();
    }
    QStringList logRows() const { return m_folder->rows("select code, gn from log"); }

    std::unique_ptr<TestFolder> m_folder;
    std::unique_ptr<TDM> m_dm;
    std::unique_ptr<TfrmMain> m_main;
};

QTEST_MAIN(MainWindowTest)
#include "tst_mainwindow.moc"
