#pragma once

#include <QApplication>

// The program's general error handler: an error that escapes an event handler is shown in a
// message box with its message and the program goes on.
class GuardedApplication : public QApplication {
public:
    GuardedApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

// Shows an escaped error the way the general handler does (also for code outside events).
void showEscapedError(const QString& message);
