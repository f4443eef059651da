#include "data/Field.h"

#include "data/Dataset.h"
#include "data/ValueConversion.h"

QString Field::name() const
{
    return m_dataset->fieldName(m_index);
}

FieldType Field::type() const
{
    return m_dataset->fieldType(m_index);
}

QVariant Field::value() const
{
    return m_dataset->currentValue(m_index);
}

bool Field::isNull() const
{
    return value().isNull();
}

QString Field::asString() const
{
    return ValueConversion::toText(value());
}

qint64 Field::asInteger() const
{
    const QVariant v = value();
    if (v.typeId() == QMetaType::Double)
        return qRound64(v.toDouble());
    if (v.typeId() == QMetaType::QString)
        return ValueConversion::fromText(FieldType::Integer, v.toString(), name()).toLongLong();
    return v.toLongLong();
}

double Field::asFloat() const
{
    const QVariant v = value();
    if (v.typeId() == QMetaType::QString)
        return ValueConversion::fromText(FieldType::Float, v.toString(), name()).toDouble();
    return v.toDouble();
}

bool Field::asBoolean() const
{
    const QVariant v = value();
    if (v.typeId() == QMetaType::QString)
        return ValueConversion::fromText(FieldType::Boolean, v.toString(), name()).toBool();
    return v.toBool();
}

QDateTime Field::asDateTime() const
{
    const QVariant v = value();
    if (v.typeId() == QMetaType::QDateTime)
        return v.toDateTime();
    return ValueConversion::parseDateTime(v.toString());
}

void Field::setValue(const QVariant& value)
{
    m_dataset->setCurrentValue(m_index, ValueConversion::toFieldType(type(), value, name()));
}

void Field::setAsString(const QString& text)
{
    m_dataset->setCurrentValue(m_index, ValueConversion::fromText(type(), text, name()));
}
