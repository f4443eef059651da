#pragma once

#include <QWidget>

// The home page: one picture stretched over the whole child window.
class TfrmMain_tp : public QWidget {
    Q_OBJECT
public:
    explicit TfrmMain_tp(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};
