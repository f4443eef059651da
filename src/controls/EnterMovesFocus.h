#pragma once

#include <QObject>
#include <QPointer>

class QWidget;

// Enter-key movement of an entry window: Enter or Return in a control of the window moves the
// focus to the next control in tab order, as Tab does. Inside a memo (a multi-line text) Enter
// still starts a new line unless the window includes memos; on a push button Enter still
// presses the button. The window sees the key before its controls do.
class EnterMovesFocus : public QObject {
    Q_OBJECT
public:
    EnterMovesFocus(QWidget* window, bool includeMemo);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> m_window;
    bool m_includeMemo;
};

// Installs the movement on the window; it lasts as long as the window.
EnterMovesFocus* installEnterMovesFocus(QWidget* window, bool includeMemo = false);
