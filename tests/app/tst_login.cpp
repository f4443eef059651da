// The login dialog on real widgets: typed codes and passwords, the messages, the log row,
// cancelling, and the remembered operator code.
#include "app/StartUp.h"
#include "app/TLoadForm.h"
#include "common/ScriptedMessages.h"
#include "common/TestFolder.h"
#include "data/DataModule.h"
#include "support/SharedValues.h"

#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

class LoginTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { initProgramResources(); }
    void init()
    {
        resetSharedValues();
        m_folder = std::make_unique<TestFolder>();
        m_dm = std::make_unique<TDM>(m_folder->path(), m_folder->path());
    }
    void cleanup()
    {
        m_dm.reset();
        m_folder.reset();
    }

    void typedCodeAndPassword_data()
    {
        QTest::addColumn<QString>("stored");   // password of operator "wang" (NULL for none)
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("message");  // empty when the login succeeds
        QTest::newRow("right password") << "mima" << "wang" << "mima" << "";
        QTest::newRow("wrong password") << "mima" << "wang" << "mimb" << QStringLiteral("密码错误，请重新登录！");
        QTest::newRow("blanks around the code") << "mima" << "  wang " << " mima " << "";
        QTest::newRow("code and password in other case") << "MiMa" << "WANG" << "mima" << "";
        QTest::newRow("null password, nothing typed") << "NULL" << "wang" << "" << "";
        QTest::newRow("empty code") << "mima" << "" << "mima" << QStringLiteral("请选择登录用户！");
        QTest::newRow("code of blanks only") << "mima" << "   " << "mima" << QStringLiteral("密码错误，请重新登录！");
        QTest::newRow("unknown code") << "mima" << "li" << "mima" << QStringLiteral("密码错误，请重新登录！");
        QTest::newRow("password with a quote") << "it's" << "wang" << "it's" << "";
        QTest::newRow("always-true text as password") << "mima" << "wang" << "' or '1'='1"
                                                      << QStringLiteral("密码错误，请重新登录！");
        QTest::newRow("quote in the code") << "mima" << "wa'ng" << "mima" << QStringLiteral("密码错误，请重新登录！");
    }
    void typedCodeAndPassword()
    {
        QFETCH(QString, stored);
        QFETCH(QString, code);
        QFETCH(QString, password);
        QFETCH(QString, message);
        const QString value = stored == "NULL" ? "null" : "'" + QString(stored).replace("'", "''") + "'";
        m_folder->exec("insert into baseinfo(id, flag, code, name, expand1) values(5, 9, 'wang', '王五', " + value + ")");
        ScriptedMessages messages;
        TLoadForm form;
        form.show();
        type(form, code, password);
        QTest::mouseClick(form.findChild<QPushButton*>("btnLogin"), Qt::LeftButton);
        if (message.isEmpty()) {
            QVERIFY(messages.shown().isEmpty());
            QTRY_VERIFY(!form.isVisible());
            QCOMPARE(form.result(), int(QDialog::Accepted));
            QCOMPARE(Shared().OperatorName, QStringLiteral("王五"));
            QCOMPARE(m_folder->rows("select code, gn from log"), QStringList{QStringLiteral("王五|用户上线")});
        } else {
            QCOMPARE(messages.texts(), QStringList{message});
            QCOMPARE(messages.shown().first().title, QStringLiteral("提示信息"));
            QVERIFY(form.isVisible());
            QCOMPARE(form.findChild<QLineEdit*>("code9")->text(), code); // both edits as they were
            QCOMPARE(form.findChild<QLineEdit*>("name9")->text(), password);
            QVERIFY(m_folder->rows("select * from log").isEmpty());
        }
    }

    void aDatabaseWithoutOperatorsLetsAnyoneIn()
    {
        m_folder->exec("delete from baseinfo where flag = 9");
        ScriptedMessages messages;
        TLoadForm form;
        form.show();
        type(form, "anyone", "");
        QTest::mouseClick(form.findChild<QPushButton*>("btnLogin"), Qt::LeftButton);
        QTRY_VERIFY(!form.isVisible());
        QVERIFY(messages.shown().isEmpty());
        QCOMPARE(Shared().OperatorName, QString());
        QVERIFY(m_folder->rows("select * from log").isEmpty());
    }

    void noDatabaseGivesTheConnectionMessageAtEveryTry()
    {
        QFile::remove(m_folder->file("ss.mdb"));
        ScriptedMessages messages;
        TLoadForm form;
        form.show();
        QTest::mouseClick(form.findChild<QPushButton*>("btnLogin"), Qt::LeftButton);
        QTest::mouseClick(form.findChild<QPushButton*>("btnLogin"), Qt::LeftButton);
        QCOMPARE(messages.texts(), QStringList(2, QStringLiteral("连接不上数据库！")));
        QVERIFY(form.isVisible());
        QVERIFY(!QFile::exists(m_folder->file("ss.mdb")));
    }

    void escapeCancelsWithoutConnecting()
    {
        ScriptedMessages messages;
        TLoadForm form;
        form.show();
        QTest::keyClick(&form, Qt::Key_Escape);
        QTRY_VERIFY(!form.isVisible());
        QVERIFY(Shared().LoginCancelled);
        QVERIFY(!m_dm->ADO.connected());
        QVERIFY(messages.shown().isEmpty());
    }

    void passwordHasTheFocusAndTheCodeIsRemembered()
    {
        {
            TLoadForm form;
            QCOMPARE(form.findChild<QLineEdit*>("code9")->text(), QStringLiteral("system"));
            form.show();
            QVERIFY(QTest::qWaitForWindowActive(&form));
            QCOMPARE(QApplication::focusWidget(), form.findChild<QLineEdit*>("name9"));
            QCOMPARE(form.findChild<QLineEdit*>("name9")->echoMode(), QLineEdit::Password);
            form.findChild<QLineEdit*>("code9")->setText(QStringLiteral("王五"));
        }
        QVERIFY(QFile::exists(m_folder->file("zedud_.ini")));
        TLoadForm again;
        QCOMPARE(again.findChild<QLineEdit*>("code9")->text(), QStringLiteral("王五"));
    }

private:
    static void type(TLoadForm& form, const QString& code, const QString& password)
    {
        auto* codeEdit = form.findChild<QLineEdit*>("code9");
        auto* passwordEdit = form.findChild<QLineEdit*>("name9");
        codeEdit->clear();
        QTest::keyClicks(codeEdit, code);
        passwordEdit->clear();
        QTest::keyClicks(passwordEdit, password);
    }

    std::unique_ptr<TestFolder> m_folder;
    std::unique_ptr<TDM> m_dm;
};

QTEST_MAIN(LoginTest)
#include "tst_login.moc"
