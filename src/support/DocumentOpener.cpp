#include "support/DocumentOpener.h"

namespace {

class NoDocumentOpener : public DocumentOpener {
public:
    bool open(const QString&) override { return false; }
};

DocumentOpener* fallbackOpener()
{
    static NoDocumentOpener fallback;
    return &fallback;
}

DocumentOpener*& current()
{
    static DocumentOpener* opener = fallbackOpener();
    return opener;
}

} // namespace

DocumentOpener& documentOpener()
{
    return *current();
}

void setDocumentOpener(DocumentOpener* opener)
{
    current() = opener ? opener : fallbackOpener();
}
