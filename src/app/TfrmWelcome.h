#pragma once

#include <QDialog>

// The about window: picture, title and version. Gives the function code back when it goes.
class TfrmWelcome : public QDialog {
    Q_OBJECT
public:
    explicit TfrmWelcome(QWidget* parent = nullptr);
    ~TfrmWelcome() override;
};
