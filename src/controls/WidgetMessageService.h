#pragma once

#include "support/MessageService.h"

// Message boxes on screen, parented to the active window.
class WidgetMessageService : public MessageService {
public:
    MsgAnswer show(const QString& text, const QString& title, MsgButtons buttons, MsgIcon icon) override;
};
