#pragma once

#include "data/Connection.h"
#include "data/DataSource.h"
#include "data/Dataset.h"

#include <QList>
#include <QObject>
#include <QString>

// The data module: the one connection and the shared query objects with their data sources,
// owned for the whole run. Creating it takes the application folder and reads the settings
// files; it does not connect.
class TDM : public QObject {
    Q_OBJECT
public:
    // applicationFolder ends with "/"; rootFolder holds the daily error log and machine files.
    TDM(const QString& applicationFolder, const QString& rootFolder, QObject* parent = nullptr);
    ~TDM() override;

    // The password of the database file: eight characters, part of the connection string.
    static const QString DatabasePassword;
    QString connectionStringFor(const QString& databaseFile) const;

    // Connects to application folder + "ss.mdb"; false when the file cannot be opened.
    bool ConnectDatabase(const QString& serverName);
    // Opens every shared query object of tag 0 in the module's order; the first that fails
    // shows its name + "数据集错误！" and the rest stay closed.
    void OpenSharedDatasets();

    // --- Data-access routines shared by the windows ---
    // A new identifier for rows of the table: one more than the last handed out, 1 at first;
    // every call adds a row to maxvalue.
    int AllocateId(const QString& tableName);
    // Adds a row to the operation log; nothing without a connection.
    void WriteOperationLog(const QString& operatorName, const QString& event);
    // No row of the flag kind has the code.
    bool IsCodeFree(int flag, const QString& code);
    // No row of the flag kind has the new code, apart from rows with the old code.
    bool IsCodeFreeExcept(int flag, const QString& newCode, const QString& oldCode);
    // No row of the flag kind names the node as its parent.
    bool HasNoChildNodes(const QString& nodeId, const QString& flag);
    // Mode 0 inserts a tree node, mode 1 renames it; failures are ignored as by ExecQuery.
    void SaveTreeNode(int id, const QString& code, const QString& name, const QString& level, int parentId, int flag,
                      int mode, int bmId);
    // The statement that finds an operator by code and password (a null password reads as empty).
    static QString OperatorStatement(const QString& code, const QString& password);
    // foundDate becomes today as "yyyy-MM-dd" when the operator exists, empty otherwise; name
    // and id are filled only when found.
    void FindOperator(const QString& code, const QString& password, QString& foundDate, QString& name, int& id);
    // True when the old password is wrong (nothing changed); false after the change.
    bool ChangeOperatorPassword(const QString& code, const QString& newPassword, const QString& oldPassword);
    // Posts or cancels nothing else: cancels every pending edit of the tag-0 shared objects.
    void CancelSharedEdits();

    const QString& applicationFolder() const { return m_applicationFolder; }
    const QString& rootFolder() const { return m_rootFolder; }
    // The shared query objects in the module's order.
    const QList<Dataset*>& sharedDatasets() const { return m_datasets; }
    Dataset* datasetNamed(const QString& name) const;

    Connection ADO;
    Dataset cdsOpr;
    Dataset cdsPublic;
    Dataset cdsTemp;
    Dataset cdsFw;
    Dataset cdsClient_into;
    Dataset cdsTf;
    Dataset cdsOprlog;
    Dataset cdsDept;
    Dataset cdsFwgs;
    Dataset cdsKhsj;

    DataSource dsOpr;
    DataSource dsFw;
    DataSource dsClient_into;
    DataSource dsTf;
    DataSource dsOprlog;
    DataSource dsDept;
    DataSource dsFwgs;
    DataSource dsKhsj;

private:
    QString m_applicationFolder;
    QString m_rootFolder;
    QList<Dataset*> m_datasets;
};

// The process-wide data module; null before it is created.
extern TDM* DM;
