#pragma once

#include <QDialog>
#include <QString>

class BitButton;
class DBCheckBox;
class DBDateEdit;
class DBEdit;
class DBMemo;
class DataGrid;
class Dataset;
class QAction;
class QMenu;
class QStackedWidget;
class TaggedGroupBox;

// The reference data editor: one window for two registers of baseinfo rows, the events
// (function code 18, flag 10, cdsKhsj) and the contacts (function code 100, flag 33, cdsFwgs).
// The current function code when the window opens picks the register it serves until it closes;
// only that register's page is shown. Each page has a list and an entry box over the same query
// object, with the usual browse and edit layouts.
class TfrmBaseinfo : public QDialog {
    Q_OBJECT
public:
    static constexpr int kEventsCode = 18;
    static constexpr int kContactsCode = 100;

    explicit TfrmBaseinfo(QWidget* parent = nullptr);
    ~TfrmBaseinfo() override;

    void FormShow();
    void FormDestroy();
    void menuAddClick();
    void menuEditClick();
    void menuDelClick();
    void btnSaveClick();
    void btnCancelClick();
    void btnRefreshClick();
    void Excel1Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    // What tells the two registers apart.
    struct Kind {
        int code;
        int flag;
        QString title;
        Dataset* query;
        QWidget* page;
        DataGrid* grid;
        TaggedGroupBox* box;
        DBEdit* firstControl;
        QString requiredLabel;
        QString deleteLabel;
    };

    void buildEventsPage();
    void buildContactsPage();
    void buildButtons();
    void buildMenu();
    void chooseKind();
    bool isContacts() const { return m_kind == &m_contacts; }
    Dataset& query() const;
    void menuFollowsButtons();

    Kind m_events{};
    Kind m_contacts{};
    const Kind* m_kind = nullptr;
    bool m_shown = false;
    bool m_destroyed = false;

    QStackedWidget* PageControl1;

    DataGrid* cxGrid6;
    TaggedGroupBox* GroupBox6;
    DBEdit* code10;
    DBDateEdit* RzDBDateTimeEdit3;
    DBMemo* RzDBMemo5;
    DBMemo* RzDBMemo1;
    DBCheckBox* RzDBCheckBox5;

    DataGrid* cxGrid5;
    TaggedGroupBox* GroupBox1;
    DBEdit* code33;
    DBEdit* RzDBEdit13;
    DBEdit* RzDBEdit20;
    DBEdit* RzDBEdit2;
    DBDateEdit* RzDBDateTimeEdit7;
    DBMemo* RzDBMemo3;

    BitButton* btnRefresh;
    BitButton* btiExcel;
    BitButton* btnData;
    BitButton* BitBtn3;
    BitButton* BitBtn4;
    BitButton* btnSave;
    BitButton* btnCancel;

    QMenu* pmenu;
    QAction* menuAdd;
    QAction* menuEdit;
    QAction* menuDel;
    QAction* Excel1;
};
