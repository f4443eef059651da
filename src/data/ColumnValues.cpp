#include "data/ColumnValues.h"

#include "data/ValueConversion.h"

#include <sqlite3.h>

namespace {

QDateTime parseStoredDateTime(const char* text, int size)
{
    // The storage form "yyyy-MM-dd hh:mm:ss" is read without the general parser.
    auto digits = [text](int from, int count) {
        int value = 0;
        for (int i = from; i < from + count; ++i) {
            if (text[i] < '0' || text[i] > '9')
                return -1;
            value = value * 10 + (text[i] - '0');
        }
        return value;
    };
    if (size == 19 && text[4] == '-' && text[7] == '-' && text[10] == ' ') {
        const QDate date(digits(0, 4), digits(5, 2), digits(8, 2));
        const QTime time(digits(11, 2), digits(14, 2), digits(17, 2));
        if (date.isValid() && time.isValid())
            return ValueConversion::naive(date, time);
    }
    return ValueConversion::parseDateTime(QString::fromUtf8(text, size));
}

} // namespace

FieldType dynamicType(int sqliteType)
{
    switch (sqliteType) {
    case SQLITE_INTEGER:
        return FieldType::Integer;
    case SQLITE_FLOAT:
        return FieldType::Float;
    default:
        return FieldType::Text;
    }
}

QVariant readColumn(sqlite3_stmt* stmt, int index, FieldType type, bool declared)
{
    const int stored = sqlite3_column_type(stmt, index);
    if (stored == SQLITE_NULL)
        return {};
    if (!declared)
        type = dynamicType(stored);
    switch (type) {
    case FieldType::Integer:
        if (stored == SQLITE_INTEGER)
            return static_cast<qlonglong>(sqlite3_column_int64(stmt, index));
        if (stored == SQLITE_FLOAT)
            return sqlite3_column_double(stmt, index);
        break;
    case FieldType::Float:
        if (stored == SQLITE_INTEGER || stored == SQLITE_FLOAT)
            return sqlite3_column_double(stmt, index);
        break;
    case FieldType::Boolean:
        if (stored == SQLITE_INTEGER || stored == SQLITE_FLOAT)
            return sqlite3_column_double(stmt, index) != 0;
        break;
    case FieldType::DateTime:
        if (stored == SQLITE_TEXT) {
            const char* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, index));
            const QDateTime value = parseStoredDateTime(text, sqlite3_column_bytes(stmt, index));
            if (value.isValid())
                return value;
        }
        break;
    case FieldType::Text:
    case FieldType::Memo:
        break;
    }
    if (stored == SQLITE_INTEGER && !declared)
        return static_cast<qlonglong>(sqlite3_column_int64(stmt, index));
    if (stored == SQLITE_FLOAT && !declared)
        return sqlite3_column_double(stmt, index);
    // Text, or a stored value that does not fit its column's kind: shown as it is.
    const char* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, index));
    return QString::fromUtf8(text, sqlite3_column_bytes(stmt, index));
}

void bindValue(sqlite3_stmt* stmt, int index, const QVariant& value)
{
    if (!value.isValid() || value.isNull()) {
        sqlite3_bind_null(stmt, index);
        return;
    }
    switch (value.typeId()) {
    case QMetaType::Bool:
        sqlite3_bind_int(stmt, index, value.toBool() ? 1 : 0);
        return;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        sqlite3_bind_int64(stmt, index, value.toLongLong());
        return;
    case QMetaType::Double:
        sqlite3_bind_double(stmt, index, value.toDouble());
        return;
    case QMetaType::QDateTime: {
        const QByteArray text = ValueConversion::dateTimeToStorage(value.toDateTime()).toUtf8();
        sqlite3_bind_text(stmt, index, text.constData(), text.size(), SQLITE_TRANSIENT);
        return;
    }
    default: {
        const QByteArray text = value.toString().toUtf8();
        sqlite3_bind_text(stmt, index, text.constData(), text.size(), SQLITE_TRANSIENT);
    }
    }
}
