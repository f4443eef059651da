#pragma once

#include <QDialog>

class BitButton;
class DataTree;

// The department tree: departments hang under their parents, siblings in the order of their
// names. New departments are added beside or below the selected one, departments are renamed,
// leaves deleted, and the tree read again keeping the selected department. Adding and renaming
// go through the one department dialog (TfrmDeptEdit).
class TfrmDeptSet : public QDialog {
    Q_OBJECT
public:
    explicit TfrmDeptSet(QWidget* parent = nullptr);

    void btnAddTjDeptClick();
    void btnAddXjDeptClick();
    void btnRefreshClick();
    void btnEditDeptClick();
    void btnDelDeptClick();

private:
    bool hasSelection() const;
    int currentInteger(const char* field) const;
    void openDialog(int parentId, const QString& parentName, int level);

    DataTree* treeDept;
    BitButton* btnAddTjDept;
    BitButton* btnAddXjDept;
    BitButton* btnRefresh;
    BitButton* btnEditDept;
    BitButton* btnDelDept;
};
