#pragma once

#include "support/SharedValues.h"

#include <QDialog>
#include <QList>
#include <optional>

class BitButton;
class DBEdit;
class DBMemo;
class DataGrid;
class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class TaggedGroupBox;

// The bed register: lists, searches, adds, edits and deletes beds (baseinfo rows of flag 4) on
// the data module's shared bed query, starts the batch creation and exports the list. The
// controls of its browse layout carry the function code 14 as their tag, so that one
// ToggleControls switches between browsing and editing.
class TfrmFw : public QDialog {
    Q_OBJECT
public:
    static constexpr int kFunctionCode = 14;

    explicit TfrmFw(QWidget* parent = nullptr);
    ~TfrmFw() override;

    void FormShow();
    void BitBtn1Click();
    void BitBtn22Click();
    void BitBtn2Click();
    void menuAddClick();
    void menuEditClick();
    void menuDelClick();
    void btnSaveClick();
    void btnCancelClick();
    void RzDBEdit11Exit(DBEdit* edit);
    void Excel1Click();
    void BitBtn6Click();
    std::optional<GridRowStyle> cxGridDBTableView2StylesGetContentStyle(int row) const;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildQuickLocate();
    void buildGrid();
    void buildEntryPanel();
    void buildButtons();
    void buildMenu();
    void showBeds(const QString& sql);
    BitButton* addButton(const QString& name, const QString& caption, int x, int width);

    TaggedGroupBox* GroupBox11;
    QLineEdit* Edit1;
    BitButton* BitBtn22;
    BitButton* BitBtn2;
    BitButton* BitBtn1;

    DataGrid* cxGrid2;

    TaggedGroupBox* GroupBox1;
    DBEdit* code4;
    DBEdit* RzDBEdit11;
    DBEdit* RzDBEdit10;
    QLabel* lab_field1;
    QLabel* lab_field2;
    QLabel* lab_field3;
    QLabel* lab_field4;
    DBEdit* RzDBEdit3;
    DBEdit* RzDBEdit7;
    DBEdit* RzDBEdit1;
    DBEdit* RzDBEdit2;
    DBMemo* RzDBMemo3;
    // The six charge edits, in tab order.
    QList<DBEdit*> m_numberEdits;

    BitButton* btnExcel;
    BitButton* BitBtn6;
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
