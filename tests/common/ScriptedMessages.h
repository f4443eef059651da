#pragma once

#include "support/MessageService.h"

#include <QList>
#include <QString>

// Records every message the program shows and answers questions from a queue (Yes, OK
// when the queue is empty). Installed for the life of the object; the service it replaced
// comes back when it goes, so one may be made inside another's life.
class ScriptedMessages : public MessageService {
public:
    struct Shown {
        QString text;
        QString title;
        MsgButtons buttons;
    };

    ScriptedMessages();
    ~ScriptedMessages() override;

    MsgAnswer show(const QString& text, const QString& title, MsgButtons buttons, MsgIcon icon) override;

    void answerNext(MsgAnswer answer) { m_answers << answer; }
    const QList<Shown>& shown() const { return m_shown; }
    QStringList texts() const;
    QString lastText() const { return m_shown.isEmpty() ? QString() : m_shown.last().text; }
    void clear() { m_shown.clear(); m_answers.clear(); }

private:
    QList<Shown> m_shown;
    QList<MsgAnswer> m_answers;
    MessageService* m_previous;
};
