#pragma once

#include "support/DocumentOpener.h"

// Hands the file to the desktop, which starts the program registered for its type.
class DesktopDocumentOpener : public DocumentOpener {
public:
    bool open(const QString& path) override;
};
