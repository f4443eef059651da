#include "controls/EnterMovesFocus.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextEdit>
#include <QToolButton>
#include <QWidget>

EnterMovesFocus::EnterMovesFocus(QWidget* window, bool includeMemo)
    : QObject(window), m_window(window), m_includeMemo(includeMemo)
{
    qApp->installEventFilter(this);
}

EnterMovesFocus* installEnterMovesFocus(QWidget* window, bool includeMemo)
{
    return window ? new EnterMovesFocus(window, includeMemo) : nullptr;
}

bool EnterMovesFocus::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress || !m_window)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
        return false;
    if ((key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return false;
    QWidget* focused = QApplication::focusWidget();
    // Only the key as delivered to the focused control of this window (a key event also
    // travels up to the parents when a control ignores it).
    if (!focused || watched != focused || focused->window() != m_window)
        return false;
    // Enter presses a push button, as in a dialog; a check box is stepped over like an edit.
    if (auto* push = qobject_cast<QPushButton*>(focused)) {
        if (push->autoDefault())
            return false; // the button presses itself
        push->click();
        return true;
    }
    if (auto* tool = qobject_cast<QToolButton*>(focused)) {
        tool->click();
        return true;
    }

    auto* plain = qobject_cast<QPlainTextEdit*>(focused);
    auto* rich = qobject_cast<QTextEdit*>(focused);
    if ((plain || rich) && !m_includeMemo)
        return false;

    // Move on as Tab would, letting each control apply its own tab order. A memo is told for a
    // moment that Tab leaves it.
    const bool plainTabs = plain && !plain->tabChangesFocus();
    const bool richTabs = rich && !rich->tabChangesFocus();
    if (plainTabs)
        plain->setTabChangesFocus(true);
    if (richTabs)
        rich->setTabChangesFocus(true);
    QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
    QApplication::sendEvent(focused, &tab);
    if (plainTabs && plain)
        plain->setTabChangesFocus(false);
    if (richTabs && rich)
        rich->setTabChangesFocus(false);
    return true;
}
