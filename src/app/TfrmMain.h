#pragma once

#include <QList>
#include <QMainWindow>

class QAction;
class QLabel;
class QMdiArea;
class QToolBar;
class QToolButton;

// The main window: a multiple-document frame with the toolbar of every function and the
// status bar. The first show runs the login, then loads the region table and opens the home
// page; destroying it logs the operator's departure.
class TfrmMain : public QMainWindow {
    Q_OBJECT
public:
    explicit TfrmMain(QWidget* parent = nullptr);
    ~TfrmMain() override;

    // The one main window of the run, or null.
    static TfrmMain* current();

    QMdiArea* mdiArea() const { return m_mdi; }
    QAction* action(const QString& name) const;
    void setPanelText(int panel, const QString& text);
    QString panelText(int panel) const;

    void FormCreate();
    void FormShow();
    void FormDestroy();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildToolbar();
    void buildStatusBar();

    QMdiArea* m_mdi;
    QToolBar* m_toolbar = nullptr;
    QToolButton* btnStart = nullptr;
    QList<QAction*> m_actions;
    QList<QLabel*> m_panels;
    bool m_shown = false;
};
