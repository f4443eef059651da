#pragma once

#include <QDialog>
#include <QPointer>
#include <QString>
#include <memory>
#include <utility>

// The form opener (reached through TclassAllClass::get<TclassFormBase>()): a window of a
// function is created with no owner, given the caption, centred over the main window, shown
// modally and freed when it closes, also when showing it raised an error.
class TclassFormBase {
public:
    void setMainWindow(QWidget* window) { m_mainWindow = window; }
    QWidget* mainWindow() const { return m_mainWindow; }

    // Shows the window and frees it; returns its dialog result.
    int ShowForm(std::unique_ptr<QDialog> form, const QString& caption);

    template <class Window, class... Args> int ShowForm(const QString& caption, Args&&... args)
    {
        return ShowForm(std::unique_ptr<QDialog>(new Window(std::forward<Args>(args)...)), caption);
    }

    // Puts the window in the middle of the main window (of its screen when there is none).
    void centre(QWidget* form) const;

private:
    QPointer<QWidget> m_mainWindow;
};
