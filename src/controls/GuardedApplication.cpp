#include "controls/GuardedApplication.h"

#include "data/DatabaseError.h"
#include "support/MessageService.h"

#include <exception>

GuardedApplication::GuardedApplication(int& argc, char** argv) : QApplication(argc, argv) {}

void showEscapedError(const QString& message)
{
    Messages().show(message, QStringLiteral("栖棠居务"), MsgButtons::Ok, MsgIcon::Error);
}

bool GuardedApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const DatabaseError& error) {
        showEscapedError(error.message());
    } catch (const std::exception& error) {
        showEscapedError(QString::fromLocal8Bit(error.what()));
    }
    return false;
}
