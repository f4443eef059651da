#include "common/UserInput.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QtTest>

void typeText(QWidget* widget, const QString& text)
{
    for (const QChar ch : text) {
        if (ch.unicode() < 0x80) {
            QTest::keyClick(widget, ch.toLatin1());
        } else {
            QInputMethodEvent commit;
            commit.setCommitString(QString(ch));
            QApplication::sendEvent(widget, &commit);
        }
    }
}
