#pragma once

#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <functional>

// A modal dialog opened with exec() blocks the test until it closes, so its steps are queued
// before it opens: the step runs on the first visible top-level widget of type T.
template <class T> void onModal(std::function<void(T*)> step, int timeoutMs = 10000)
{
    auto* timer = new QTimer;
    timer->setInterval(5);
    auto waited = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [timer, step, waited, timeoutMs] {
        *waited += 5;
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (auto* found = qobject_cast<T*>(widget); found && found->isVisible()) {
                timer->stop();
                timer->deleteLater();
                step(found);
                return;
            }
        }
        if (*waited > timeoutMs) {
            timer->stop();
            timer->deleteLater();
            qWarning("onModal: the expected window did not appear");
        }
    });
    timer->start();
}
