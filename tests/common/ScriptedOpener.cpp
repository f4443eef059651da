#include "common/ScriptedOpener.h"

ScriptedOpener::ScriptedOpener()
{
    setDocumentOpener(this);
}

ScriptedOpener::~ScriptedOpener()
{
    setDocumentOpener(nullptr);
}

bool ScriptedOpener::open(const QString& path)
{
    m_opened << path;
    return m_available;
}
