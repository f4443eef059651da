#include "support/MessageService.h"

#include <cstdio>

namespace {

class StderrMessageService : public MessageService {
public:
    MsgAnswer show(const QString& text, const QString& title, MsgButtons buttons, MsgIcon) override
    {
        std::fprintf(stderr, "[%s] %s\n", qPrintable(title), qPrintable(text));
        switch (buttons) {
        case MsgButtons::Ok: return MsgAnswer::Ok;
        case MsgButtons::YesNo: return MsgAnswer::No;
        case MsgButtons::OkCancel: return MsgAnswer::Cancel;
        }
        return MsgAnswer::Ok;
    }
};

MessageService* fallbackService()
{
    static StderrMessageService fallback;
    return &fallback;
}

MessageService*& current()
{
    static MessageService* service = fallbackService();
    return service;
}

} // namespace

MessageService& Messages()
{
    return *current();
}

void setMessageService(MessageService* service)
{
    current() = service ? service : fallbackService();
}

void showInfo(const QString& text, const QString& title)
{
    Messages().show(text, title, MsgButtons::Ok, MsgIcon::Information);
}

void showWarning(const QString& text, const QString& title)
{
    Messages().show(text, title, MsgButtons::Ok, MsgIcon::Warning);
}

bool askYesNo(const QString& text, const QString& title)
{
    return Messages().show(text, title, MsgButtons::YesNo, MsgIcon::Question) == MsgAnswer::Yes;
}

bool askOkCancel(const QString& text, const QString& title)
{
    return Messages().show(text, title, MsgButtons::OkCancel, MsgIcon::Question) == MsgAnswer::Ok;
}

void showPlain(const QString& text)
{
    Messages().show(text, QStringLiteral("栖棠居务"), MsgButtons::Ok, MsgIcon::None);
}
