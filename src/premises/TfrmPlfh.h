#pragma once

#include <QDialog>

class BitButton;
class QLabel;
class QLineEdit;
class QPlainTextEdit;

// The batch bed creation dialog: a list of bed numbers and one set of charges become one bed
// per number. A single instance serves the whole run, so what was typed stays for the next use.
class TfrmPlfh : public QDialog {
    Q_OBJECT
public:
    // The one instance, created on first use and freed when the application object goes.
    static TfrmPlfh& instance();

    void FormShow();
    void BitBtn4Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    explicit TfrmPlfh(QWidget* parent = nullptr);
    QLineEdit* addChargeBox(const QString& name, int x, int y);

    QLabel* Label1;
    QPlainTextEdit* Memo1;
    QLineEdit* Edit1;
    QLineEdit* Edit2;
    QLabel* lab_field1;
    QLabel* lab_field2;
    QLabel* lab_field3;
    QLabel* lab_field4;
    QLineEdit* Edit3;
    QLineEdit* Edit6;
    QLineEdit* Edit7;
    QLineEdit* Edit4;
    QLineEdit* Edit5;
    BitButton* BitBtn4;
    QLabel* Label9;
};
