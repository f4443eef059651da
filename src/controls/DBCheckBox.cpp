#include "controls/DBCheckBox.h"

#include "data/Field.h"

#include <QFocusEvent>

DBCheckBox::DBCheckBox(QWidget* parent) : QCheckBox(parent)
{
    connect(&m_link, &FieldLink::refreshNeeded, this, &DBCheckBox::showValue);
}

DBCheckBox::DBCheckBox(const QString& caption, DataSource* source, const QString& fieldName, QWidget* parent)
    : DBCheckBox(parent)
{
    setText(caption);
    bind(source, fieldName);
}

void DBCheckBox::showValue()
{
    const QVariant value = m_link.value();
    bool checked = false;
    if (value.typeId() == QMetaType::Bool)
        checked = value.toBool();
    else if (value.typeId() == QMetaType::QString)
        checked = value.toString().compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 ||
                  value.toString() == QLatin1String("1") || value.toString() == QLatin1String("-1");
    else if (!value.isNull())
        checked = value.toLongLong() != 0;
    setChecked(checked);
}

void DBCheckBox::nextCheckState()
{
    if (!m_link.editable())
        return;
    const bool wanted = !isChecked();
    if (m_link.write([wanted](Field& field) { field.setAsBoolean(wanted); }, false))
        setChecked(wanted);
}

void DBCheckBox::focusOutEvent(QFocusEvent* event)
{
    QCheckBox::focusOutEvent(event);
    if (event->reason() != Qt::PopupFocusReason && event->reason() != Qt::ActiveWindowFocusReason)
        emit exited();
}
