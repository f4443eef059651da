#include "data/ValueConversion.h"

#include "data/DatabaseError.h"

#include <QLocale>
#include <cmath>

namespace ValueConversion {

QDateTime naive(const QDate& date, const QTime& time)
{
    return QDateTime(date, time, Qt::UTC);
}

QDateTime naive(const QDateTime& value)
{
    return value.timeSpec() == Qt::UTC ? value : naive(value.date(), value.time());
}

QString dateTimeToStorage(const QDateTime& value)
{
    return value.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
}

QDateTime parseDateTime(const QString& text)
{
    const QString t = text.trimmed();
    static const QStringList formats = {
        QStringLiteral("yyyy-MM-dd hh:mm:ss"), QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz"),
        QStringLiteral("yyyy-MM-ddThh:mm:ss"), QStringLiteral("yyyy-MM-dd hh:mm"),
        QStringLiteral("yyyy-M-d H:m:s"),      QStringLiteral("yyyy/M/d H:m:s"),
        QStringLiteral("yyyy/M/d H:m"),        QStringLiteral("yyyy-M-d H:m"),
    };
    for (const QString& format : formats) {
        const QDateTime value = QDateTime::fromString(t, format);
        if (value.isValid())
            return naive(value);
    }
    static const QStringList dateFormats = {QStringLiteral("yyyy-MM-dd"), QStringLiteral("yyyy-M-d"),
                                            QStringLiteral("yyyy/M/d"), QStringLiteral("yyyyMMdd"),
                                            QStringLiteral("yyyy.M.d")};
    for (const QString& format : dateFormats) {
        const QDate date = QDate::fromString(t, format);
        if (date.isValid())
            return naive(date);
    }
    return {};
}

QString numberText(double value)
{
    if (std::isfinite(value) && value == std::floor(value) && std::fabs(value) < 1e15)
        return QString::number(static_cast<qint64>(value));
    return QString::number(value, 'g', 15);
}

namespace {

[[noreturn]] void refuse(const QString& text, const QString& fieldName, const QString& kind)
{
    throw DatabaseError(QStringLiteral("“%1”不是有效的%2，字段 %3 不能接受。").arg(text, kind, fieldName));
}

double parseNumber(const QString& text, bool* ok)
{
    double value = text.toDouble(ok);
    if (!*ok) {
        // The locale's decimal sign is accepted; its thousands separator is not.
        QLocale locale = QLocale::system();
        locale.setNumberOptions(QLocale::RejectGroupSeparator);
        value = locale.toDouble(text, ok);
    }
    return value;
}

} // namespace

QVariant fromText(FieldType type, const QString& text, const QString& fieldName)
{
    const QString t = text.trimmed();
    switch (type) {
    case FieldType::Text:
    case FieldType::Memo: return text;
    case FieldType::Integer: {
        if (t.isEmpty())
            return {};
        bool ok = false;
        const qlonglong value = t.toLongLong(&ok);
        if (ok)
            return value;
        const double number = parseNumber(t, &ok);
        if (ok && number == std::floor(number) && std::fabs(number) < 9e18)
            return static_cast<qlonglong>(number);
        refuse(text, fieldName, QStringLiteral("整数"));
    }
    case FieldType::Float: {
        if (t.isEmpty())
            return {};
        bool ok = false;
        const double value = parseNumber(t, &ok);
        if (!ok || !std::isfinite(value))
            refuse(text, fieldName, QStringLiteral("数值"));
        return value;
    }
    case FieldType::Boolean: {
        if (t.isEmpty())
            return {};
        const QString lower = t.toLower();
        if (lower == QLatin1String("true") || lower == QLatin1String("1") || lower == QLatin1String("-1") ||
            t == QStringLiteral("是"))
            return true;
        if (lower == QLatin1String("false") || lower == QLatin1String("0") || t == QStringLiteral("否"))
            return false;
        refuse(text, fieldName, QStringLiteral("是/否值"));
    }
    case FieldType::DateTime: {
        if (t.isEmpty())
            return {};
        const QDateTime value = parseDateTime(t);
        if (!value.isValid())
            refuse(text, fieldName, QStringLiteral("日期"));
        return value;
    }
    }
    return text;
}

QVariant toFieldType(FieldType type, const QVariant& value, const QString& fieldName)
{
    if (!value.isValid() || value.isNull())
        return {};
    switch (type) {
    case FieldType::Text:
    case FieldType::Memo: return toText(value);
    case FieldType::Integer:
        if (value.typeId() == QMetaType::Double)
            return static_cast<qlonglong>(std::llround(value.toDouble()));
        if (value.typeId() == QMetaType::Bool)
            return value.toBool() ? 1LL : 0LL;
        if (value.typeId() == QMetaType::QString)
            return fromText(type, value.toString(), fieldName);
        return value.toLongLong();
    case FieldType::Float:
        if (value.typeId() == QMetaType::QString)
            return fromText(type, value.toString(), fieldName);
        return value.toDouble();
    case FieldType::Boolean:
        if (value.typeId() == QMetaType::QString)
            return fromText(type, value.toString(), fieldName);
        return value.toBool();
    case FieldType::DateTime:
        if (value.typeId() == QMetaType::QDateTime)
            return naive(value.toDateTime());
        if (value.typeId() == QMetaType::QDate)
            return naive(value.toDate());
        return fromText(type, value.toString(), fieldName);
    }
    return value;
}

QString toText(const QVariant& value)
{
    if (!value.isValid() || value.isNull())
        return {};
    switch (value.typeId()) {
    case QMetaType::Double: return numberText(value.toDouble());
    case QMetaType::Bool: return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case QMetaType::QDateTime: {
        const QDateTime dt = value.toDateTime();
        if (dt.time() == QTime(0, 0))
            return dt.date().toString(QStringLiteral("yyyy-MM-dd"));
        return dateTimeToStorage(dt);
    }
    case QMetaType::QDate: return value.toDate().toString(QStringLiteral("yyyy-MM-dd"));
    default: return value.toString();
    }
}

} // namespace ValueConversion
