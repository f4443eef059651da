#pragma once

#include <QString>

// Every modal question and notice of the program goes through this one service, so that
// the data layer can report without knowing widgets and tests can answer in advance.
enum class MsgButtons { Ok, YesNo, OkCancel };
enum class MsgIcon { None, Information, Warning, Question, Error };
enum class MsgAnswer { Ok, Cancel, Yes, No };

inline const QString kMessageTitle = QStringLiteral("提示信息");

class MessageService {
public:
    virtual ~MessageService() = default;
    virtual MsgAnswer show(const QString& text, const QString& title, MsgButtons buttons, MsgIcon icon) = 0;
};

// The service in use; until one is installed, messages go to the standard error stream and
// questions are answered with their negative button.
MessageService& Messages();
void setMessageService(MessageService* service);

// The forms the windows use.
void showInfo(const QString& text, const QString& title = kMessageTitle);
void showWarning(const QString& text, const QString& title = kMessageTitle);
bool askYesNo(const QString& text, const QString& title = kMessageTitle);
bool askOkCancel(const QString& text, const QString& title = kMessageTitle);
// The plain box without icon that carries the program title.
void showPlain(const QString& text);
