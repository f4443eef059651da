#include "common/ScriptedMessages.h"

#include <QStringList>

ScriptedMessages::ScriptedMessages() : m_previous(&Messages())
{
    setMessageService(this);
}

ScriptedMessages::~ScriptedMessages()
{
    setMessageService(m_previous);
}

MsgAnswer ScriptedMessages::show(const QString& text, const QString& title, MsgButtons buttons, MsgIcon)
{
    m_shown << Shown{text, title, buttons};
    if (!m_answers.isEmpty())
        return m_answers.takeFirst();
    switch (buttons) {
    case MsgButtons::YesNo: return MsgAnswer::Yes;
    default: return MsgAnswer::Ok;
    }
}

QStringList ScriptedMessages::texts() const
{
    QStringList list;
    for (const Shown& shown : m_shown)
        list << shown.text;
    return list;
}
