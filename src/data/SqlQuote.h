#pragma once

#include <QString>

// The one way a typed value enters a statement: between single quotes, every single quote
// doubled, so that nothing typed can end the literal.
QString quoted(const QString& value);

// A LIKE pattern that finds the typed text anywhere ("%" + text + "%"), quoted, with the
// wildcard characters of the text (% _ [) made literal.
QString quotedContains(const QString& value);
