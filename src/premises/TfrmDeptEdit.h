#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;

// The small dialog that names a department for the department tree, for a new department or a
// new name. One instance serves the whole run; every use starts from the values handed to it.
class TfrmDeptEdit : public QDialog {
    Q_OBJECT
public:
    enum class Mode { Add, Edit };

    // What the tree hands over before the dialog is shown.
    struct Values {
        int id = 0;         // identifier of the department added or edited
        QString code;       // its code (edit only)
        QString name;       // its name (edit only)
        QString parentName; // name of the parent, empty at the top
        int parentId = 0;   // main_tree of a new department
        int level = 1;      // expand1 of a new department
        Mode mode = Mode::Add;
    };

    // The one instance, created on first use and freed when the application goes.
    static TfrmDeptEdit& instance();

    // Shows the dialog modally for the values; true when "确定" stored the department.
    bool run(const Values& values);
    const Values& values() const { return m_values; }
    bool saved() const { return m_saved; }

    void FormShow();
    void btnSaveClick();
    void btnCloseClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    TfrmDeptEdit();
    // The department row holds what was just written.
    bool isStored(const QString& name) const;

    Values m_values;
    bool m_saved = false;

    QLabel* Label1;
    QLineEdit* edtDeptCode;
    QLabel* Label2;
    QLineEdit* edtDeptName;
    QLabel* Label3;
    QLineEdit* edtUpDeptName;
    QPushButton* btnSave;
    QPushButton* btnClose;
};
