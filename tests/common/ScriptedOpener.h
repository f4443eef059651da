#pragma once

#include "support/DocumentOpener.h"

#include <QStringList>

// Records every file the program asks the desktop to open and answers with a set result
// (a spreadsheet program found, by default). Installed for the life of the object.
class ScriptedOpener : public DocumentOpener {
public:
    ScriptedOpener();
    ~ScriptedOpener() override;

    bool open(const QString& path) override;

    void setProgramAvailable(bool available) { m_available = available; }
    const QStringList& opened() const { return m_opened; }

private:
    bool m_available = true;
    QStringList m_opened;
};
