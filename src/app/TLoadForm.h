#pragma once

#include <QDialog>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The login dialog: connects to the database, checks the operator, fills the main window's
// status bar and logs "用户上线". It can be left only through its two buttons (Enter, Esc).
class TLoadForm : public QDialog {
    Q_OBJECT
public:
    explicit TLoadForm(QWidget* parent = nullptr);
    ~TLoadForm() override;

    // The file that keeps the last operator code between runs.
    static QString operatorCodeFile();

    void btnLoginClick();
    void btnCloseClick();
    // Decides whether the dialog may close; true to let it close.
    bool FormCloseQuery();

    void reject() override; // Esc presses "取消"

protected:
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void rememberOperatorCode() const;
    bool m_closing = false;

    QGroupBox* GroupBox1;
    QLabel* Label1;
    QLineEdit* code9;
    QLabel* Label2;
    QLineEdit* name9;
    QLabel* Label4;
    QPushButton* btnLogin;
    QPushButton* btnClose;
};
