#pragma once

#include <QDialog>
#include <QHash>
#include <functional>
#include <memory>

class QAction;

// The dispatcher of the main window's actions: logs the function, shows it in the status bar
// and opens its window. One process-wide instance (TclassAllClass).
class Tclass_ctr_form {
public:
    using WindowFactory = std::function<std::unique_ptr<QDialog>()>;

    Tclass_ctr_form();

    // Runs the function of the action (its object name counts).
    void Dispatch(QAction* action);
    void Dispatch(const QString& actionName);
    // True when the function of the action can be run: its window is part of the program.
    bool canRun(const QString& actionName) const;

    // The window of a function code, registered by the program at start.
    void registerWindow(int code, WindowFactory factory) { m_windows.insert(code, std::move(factory)); }

    // Opens the home page as the one multiple-document child.
    void OpenHomePage();
    // Closes every child of the main window, then the main window, which ends the program.
    void CloseAllWindows();

private:
    QHash<int, WindowFactory> m_windows;
};
