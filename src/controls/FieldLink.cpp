#include "controls/FieldLink.h"

#include "controls/GuardedApplication.h"
#include "data/DataSource.h"
#include "data/DatabaseError.h"
#include "data/Dataset.h"
#include "data/Field.h"

FieldLink::FieldLink(QObject* parent) : QObject(parent) {}

void FieldLink::bind(DataSource* source, const QString& fieldName)
{
    m_fieldName = fieldName;
    setDataSource(source);
}

void FieldLink::setDataSource(DataSource* source)
{
    if (m_source)
        disconnect(m_source, nullptr, this, nullptr);
    m_source = source;
    reconnect();
}

void FieldLink::setFieldName(const QString& fieldName)
{
    m_fieldName = fieldName;
    checkEditable();
    emit refreshNeeded();
}

void FieldLink::reconnect()
{
    if (m_source) {
        auto refresh = [this] { emit refreshNeeded(); };
        auto refreshAndCheck = [this] {
            checkEditable();
            emit refreshNeeded();
        };
        connect(m_source, &DataSource::datasetChanged, this, refreshAndCheck);
        connect(m_source, &DataSource::reset, this, refreshAndCheck);
        connect(m_source, &DataSource::stateChanged, this, refreshAndCheck);
        connect(m_source, &DataSource::currentChanged, this, refresh);
        connect(m_source, &DataSource::fieldChanged, this, [this](int changed) {
            if (changed == column())
                emit refreshNeeded();
        });
        connect(m_source, &DataSource::rowChanged, this, [this](int row) {
            if (dataset() && row == dataset()->recNo())
                emit refreshNeeded();
        });
        connect(m_source, &DataSource::beforePost, this, &FieldLink::flushNeeded);
    }
    checkEditable();
    emit refreshNeeded();
}

DataSource* FieldLink::dataSource() const
{
    return m_source;
}

Dataset* FieldLink::dataset() const
{
    return m_source ? m_source->dataset() : nullptr;
}

int FieldLink::column() const
{
    Dataset* data = dataset();
    return data && data->active() && !m_fieldName.isEmpty() ? data->fieldIndex(m_fieldName) : -1;
}

FieldType FieldLink::fieldType() const
{
    const int index = column();
    return index >= 0 ? dataset()->fieldType(index) : FieldType::Text;
}

QVariant FieldLink::value() const
{
    const int index = column();
    return index >= 0 ? dataset()->currentValue(index) : QVariant();
}

bool FieldLink::editable() const
{
    return column() >= 0 && dataset()->isEditing();
}

void FieldLink::checkEditable()
{
    const bool now = editable();
    if (now == m_editable)
        return;
    m_editable = now;
    emit editableChanged(now);
}

bool FieldLink::write(const std::function<void(Field&)>& assign, bool duringPost)
{
    const int index = column();
    if (index < 0 || !dataset()->isEditing())
        return true; // nothing to write into: the control only shows
    try {
        Field field = dataset()->field(index);
        assign(field);
        return true;
    } catch (const DatabaseError& error) {
        if (duringPost)
            dataset()->reportPendingValueError(error.message());
        else
            showEscapedError(error.message());
    }
    return false;
}
