#include "data/DataModule.h"

#include "data/DatabaseError.h"
#include "support/MessageService.h"
#include "support/SharedValues.h"
#include "support/TclassAllClass.h"
#include "support/TclassFileBase.h"

TDM* DM = nullptr;

const QString TDM::DatabasePassword = QStringLiteral("栖棠居务数据密钥");

TDM::TDM(const QString& applicationFolder, const QString& rootFolder, QObject* parent)
    : QObject(parent),
      cdsOpr(ADO, QStringLiteral("cdsOpr"), 0),
      cdsPublic(ADO, QStringLiteral("cdsPublic"), 1),
      cdsTemp(ADO, QStringLiteral("cdsTemp"), 1),
      cdsFw(ADO, QStringLiteral("cdsFw"), 0),
      cdsClient_into(ADO, QStringLiteral("cdsClient_into"), 1),
      cdsTf(ADO, QStringLiteral("cdsTf"), 1),
      cdsOprlog(ADO, QStringLiteral("cdsOprlog"), 0),
      cdsDept(ADO, QStringLiteral("cdsDept"), 0),
      cdsFwgs(ADO, QStringLiteral("cdsFwgs"), 1),
      cdsKhsj(ADO, QStringLiteral("cdsKhsj"), 1),
      dsOpr(&cdsOpr),
      dsFw(&cdsFw),
      dsClient_into(&cdsClient_into),
      dsTf(&cdsTf),
      dsOprlog(&cdsOprlog),
      dsDept(&cdsDept),
      dsFwgs(&cdsFwgs),
      dsKhsj(&cdsKhsj),
      m_applicationFolder(applicationFolder),
      m_rootFolder(rootFolder)
{
    setObjectName(QStringLiteral("DM"));
    cdsOpr.setSql(QStringLiteral("select * from baseinfo where flag = 9"));
    cdsTemp.setSql(QStringLiteral("select * from baseinfo where id=0"));
    cdsFw.setSql(QStringLiteral("select * from baseinfo where flag=4"));
    cdsClient_into.setSql(QStringLiteral("select * from client_into where istrue=1"));
    cdsTf.setSql(QStringLiteral("select * from tf1"));
    cdsOprlog.setSql(QStringLiteral("select * from log"));
    cdsDept.setSql(QStringLiteral("select * from baseinfo where flag=3"));
    cdsFwgs.setSql(QStringLiteral("select * from baseinfo where flag=33"));
    cdsKhsj.setSql(QStringLiteral("select * from baseinfo where flag=10"));
    m_datasets = {&cdsOpr, &cdsPublic, &cdsTemp, &cdsFw, &cdsClient_into, &cdsTf, &cdsOprlog, &cdsDept, &cdsFwgs, &cdsKhsj};

    SharedValues& shared = Shared();
    shared.applicationFolder = applicationFolder;
    shared.rootFolder = rootFolder;
    shared.HighlightStyle = GridRowStyle{QColor(192, 220, 192), QColor(128, 0, 0)};
    const TclassFileBase& files = TclassAllClass::get<TclassFileBase>();
    const QString loginSettings = applicationFolder + QStringLiteral("login_sd.ini");
    shared.ServerName = files.ReadIniString(loginSettings, QStringLiteral("login1"), QStringLiteral("ip"));
    shared.SettlementDay = files.ReadIniString(loginSettings, QStringLiteral("login1"), QStringLiteral("jsr"));
    const QString fieldSettings = applicationFolder + QStringLiteral("fields.ini");
    shared.FieldCaption1 = files.ReadIniString(fieldSettings, QStringLiteral("Ffield"), QStringLiteral("field1"));
    shared.FieldCaption2 = files.ReadIniString(fieldSettings, QStringLiteral("Ffield"), QStringLiteral("field2"));
    shared.FieldCaption3 = files.ReadIniString(fieldSettings, QStringLiteral("Ffield"), QStringLiteral("field3"));
    shared.FieldCaption4 = files.ReadIniString(fieldSettings, QStringLiteral("Ffield"), QStringLiteral("field4"));
    DM = this;
}

TDM::~TDM()
{
    for (Dataset* dataset : m_datasets)
        dataset->close();
    ADO.disconnect();
    if (DM == this)
        DM = nullptr;
}

QString TDM::connectionStringFor(const QString& databaseFile) const
{
    return QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Persist Security Info=False;Data Source=") + databaseFile +
           QStringLiteral(";User ID=Admin;Jet OLEDB:Database Password=") + DatabasePassword;
}

Dataset* TDM::datasetNamed(const QString& name) const
{
    for (Dataset* dataset : m_datasets)
        if (dataset->name() == name)
            return dataset;
    return nullptr;
}

bool TDM::ConnectDatabase(const QString& serverName)
{
    for (Dataset* dataset : m_datasets)
        dataset->close();
    ADO.disconnect();
    ADO.setConnectionString(connectionStringFor(m_applicationFolder + QStringLiteral("ss.mdb")));
    try {
        ADO.connect();
    } catch (const DatabaseError&) {
        return false;
    }
    TclassAllClass::get<TclassFileBase>().WriteIniString(m_applicationFolder + QStringLiteral("login.ini"),
                                                         QStringLiteral("login1"), QStringLiteral("ip"), serverName);
    OpenSharedDatasets();
    return true;
}

void TDM::OpenSharedDatasets()
{
    for (Dataset* dataset : m_datasets) {
        if (dataset->tag() != 0)
            continue;
        dataset->close();
        try {
            dataset->open();
        } catch (const DatabaseError&) {
            showInfo(dataset->name() + QStringLiteral("数据集错误！"));
            return;
        }
    }
}
