#pragma once

#include "data/Connection.h"

#include <QDateTime>
#include <QString>
#include <QVariant>

class Dataset;

// One field of a dataset's current record, read and written as text, integer, floating point,
// boolean or date-time. Writing text into a number or date field converts it; a text that does
// not convert throws DatabaseError.
class Field {
public:
    Field(Dataset* dataset, int index) : m_dataset(dataset), m_index(index) {}

    QString name() const;
    FieldType type() const;
    bool isNull() const;
    QVariant value() const;
    QString asString() const;
    qint64 asInteger() const;
    double asFloat() const;
    bool asBoolean() const;
    QDateTime asDateTime() const;

    void setValue(const QVariant& value);
    void setAsString(const QString& text);
    void setAsInteger(qint64 value) { setValue(value); }
    void setAsFloat(double value) { setValue(value); }
    void setAsBoolean(bool value) { setValue(value); }
    void setAsDateTime(const QDateTime& value) { setValue(value); }
    void clear() { setValue(QVariant()); }

private:
    Dataset* m_dataset;
    int m_index;
};
