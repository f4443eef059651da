#include "app/TLoadForm.h"

#include "app/TfrmMain.h"
#include "controls/Guarded.h"
#include "data/DataModule.h"
#include "data/TclassDataType.h"
#include "support/MessageService.h"
#include "support/SharedValues.h"
#include "support/TclassAllClass.h"
#include "support/TclassFileBase.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSvgRenderer>

namespace {
const QString kSection = QStringLiteral("TLoadForm");
const QString kKey = QStringLiteral("code9_Text");
} // namespace

QString TLoadForm::operatorCodeFile()
{
    return Shared().rootFolder + QStringLiteral("zedud_.ini");
}

TLoadForm::TLoadForm(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("LoadForm"));
    setWindowTitle(QStringLiteral("系统登陆"));
    // A fixed dialog frame without buttons in the title bar.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(315, 147);

    GroupBox1 = new QGroupBox(this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(12, 10, 206, 96);
    GroupBox1->setStyleSheet(QStringLiteral("QGroupBox#GroupBox1 { background: white; border: 1px solid #9fb9d3; border-radius: 3px; }"));

    Label1 = new QLabel(QStringLiteral("操作员："), GroupBox1);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(10, 14, 56, 22);
    code9 = new QLineEdit(GroupBox1);
    code9->setObjectName(QStringLiteral("code9"));
    code9->setGeometry(66, 14, 128, 22);

    Label2 = new QLabel(QStringLiteral("密码："), GroupBox1);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setGeometry(10, 44, 56, 22);
    name9 = new QLineEdit(GroupBox1);
    name9->setObjectName(QStringLiteral("name9"));
    name9->setEchoMode(QLineEdit::Password);
    name9->setGeometry(66, 44, 128, 22);

    Label4 = new QLabel(QStringLiteral("初始密码为空！"), GroupBox1);
    Label4->setObjectName(QStringLiteral("Label4"));
    Label4->setStyleSheet(QStringLiteral("color: blue;"));
    Label4->setGeometry(66, 70, 128, 20);

    btnLogin = new QPushButton(QStringLiteral("确定"), this);
    btnLogin->setObjectName(QStringLiteral("btnLogin"));
    btnLogin->setGeometry(70, 114, 70, 25);
    btnLogin->setDefault(true);
    btnLogin->setAutoDefault(true);
    btnClose = new QPushButton(QStringLiteral("取消"), this);
    btnClose->setObjectName(QStringLiteral("btnClose"));
    btnClose->setGeometry(150, 114, 70, 25);
    btnClose->setAutoDefault(false);

    // The password comes first, so that it has the focus when the dialog opens.
    setTabOrder(name9, btnLogin);
    setTabOrder(btnLogin, btnClose);
    setTabOrder(btnClose, code9);
    setTabOrder(code9, name9);
    name9->setFocus();

    connect(btnLogin, &QPushButton::clicked, this, guarded([this] { btnLoginClick(); }));
    connect(btnClose, &QPushButton::clicked, this, guarded([this] { btnCloseClick(); }));

    const QString remembered = QFile::exists(operatorCodeFile())
                                   ? TclassAllClass::get<TclassFileBase>().ReadIniString(operatorCodeFile(), kSection, kKey)
                                   : QStringLiteral("system");
    code9->setText(remembered);
}

TLoadForm::~TLoadForm()
{
    rememberOperatorCode();
}

void TLoadForm::rememberOperatorCode() const
{
    TclassAllClass::get<TclassFileBase>().WriteIniString(operatorCodeFile(), kSection, kKey, code9->text());
}

void TLoadForm::btnLoginClick()
{
    Shared().LoginCancelled = false;
    close();
}

void TLoadForm::btnCloseClick()
{
    Shared().LoginCancelled = true;
    close();
}

void TLoadForm::reject()
{
    btnClose->click();
}

void TLoadForm::closeEvent(QCloseEvent* event)
{
    bool allowed = false;
    runGuarded([&] { allowed = FormCloseQuery(); });
    if (!allowed) {
        event->ignore();
        return;
    }
    event->accept();
    QDialog::done(Shared().LoginCancelled ? QDialog::Rejected : QDialog::Accepted);
}

bool TLoadForm::FormCloseQuery()
{
    SharedValues& shared = Shared();
    if (shared.LoginCancelled) {
        QCoreApplication::quit(); // does nothing when no event loop runs (tests)
        return true;
    }
    if (code9->text().isEmpty()) {
        showInfo(QStringLiteral("请选择登录用户！"));
        code9->setFocus();
        return false;
    }
    if (!DM->ConnectDatabase(shared.ServerName)) {
        showInfo(QStringLiteral("连接不上数据库！"));
        return false;
    }
    TclassDataType& queries = TclassAllClass::get<TclassDataType>();
    queries.OpenQuery(QStringLiteral("select * from baseinfo where flag=9"), DM->cdsPublic);
    if (DM->cdsPublic.isEmpty())
        return true; // a database without operators: the program runs without a name
    QString foundDate;
    QString name;
    int id = 0;
    DM->FindOperator(code9->text().trimmed(), name9->text().trimmed(), foundDate, name, id);
    if (foundDate.isEmpty()) {
        showInfo(QStringLiteral("密码错误，请重新登录！"));
        return false;
    }
    shared.OperatorName = name;
    if (TfrmMain* main = TfrmMain::current()) {
        main->setPanelText(0, QStringLiteral("当前窗体：主窗体"));
        main->setPanelText(1, QStringLiteral("操作员：") + shared.OperatorName);
        main->setPanelText(2, QStringLiteral("登录日期：") +
                                  QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")));
        main->setPanelText(3, QStringLiteral("服务器：") + shared.ServerName);
    }
    DM->WriteOperationLog(shared.OperatorName, QStringLiteral("用户上线"));
    return true;
}

void TLoadForm::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QSvgRenderer picture(QStringLiteral(":/pictures/login.svg"));
    picture.render(&painter, rect());
}
