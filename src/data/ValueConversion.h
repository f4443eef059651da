#pragma once

#include "data/Connection.h"

#include <QDateTime>
#include <QString>
#include <QVariant>

// Conversions between the stored values of each field kind and the texts users type and see.
// Every conversion that can fail throws DatabaseError with a message in Chinese.
namespace ValueConversion {

// Stored date-times are wall-clock values without a time zone; they are held as QDateTime in
// UTC so that no time zone rules are consulted (and none can shift them).
QDateTime naive(const QDate& date, const QTime& time = QTime(0, 0));
QDateTime naive(const QDateTime& value);

// The storage form of a date-time: "yyyy-MM-dd hh:mm:ss".
QString dateTimeToStorage(const QDateTime& value);
// Reads "yyyy-MM-dd", "yyyy-MM-dd hh:mm[:ss]", "yyyy/M/d" and the like; invalid on failure.
QDateTime parseDateTime(const QString& text);

// The typed value for a field of the given kind from a text; an empty text is null.
QVariant fromText(FieldType type, const QString& text, const QString& fieldName);
// Any value brought to the kind of the field (an int into a float field, a text into a date).
QVariant toFieldType(FieldType type, const QVariant& value, const QString& fieldName);
// The text shown for a stored value.
QString toText(const QVariant& value);

// Shortest decimal text of a number: 100 → "100", 12.5 → "12.5".
QString numberText(double value);

} // namespace ValueConversion
