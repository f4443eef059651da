#include "controls/DBLookupCombo.h"

#include "data/DataSource.h"
#include "data/Field.h"
#include "data/ValueConversion.h"

#include <QFocusEvent>
#include <QKeyEvent>

DBLookupCombo::DBLookupCombo(QWidget* parent) : QComboBox(parent)
{
    setEditable(false);
    connect(&m_link, &FieldLink::refreshNeeded, this, &DBLookupCombo::showValue);
    connect(this, &QComboBox::activated, this, &DBLookupCombo::pickRow);
}

void DBLookupCombo::setListSource(DataSource* list, const QString& keyField, const QString& displayField)
{
    if (m_list)
        disconnect(m_list, nullptr, this, nullptr);
    m_list = list;
    m_keyField = keyField;
    m_displayField = displayField;
    if (list) {
        connect(list, &DataSource::reset, this, &DBLookupCombo::reloadList);
        connect(list, &DataSource::datasetChanged, this, &DBLookupCombo::reloadList);
        connect(list, &DataSource::rowChanged, this, &DBLookupCombo::reloadList);
        connect(list, &DataSource::rowRemoved, this, &DBLookupCombo::reloadList);
    }
    reloadList();
}

DataSource* DBLookupCombo::listSource() const
{
    return m_list;
}

void DBLookupCombo::reloadList()
{
    m_showing = true;
    clear();
    Dataset* rows = m_list ? m_list->dataset() : nullptr;
    if (rows && rows->active()) {
        const int key = rows->fieldIndex(m_keyField);
        const int display = rows->fieldIndex(m_displayField);
        if (key >= 0 && display >= 0) {
            // The pending record of an insert has no key yet and is not a choice.
            const int count = rows->state() == DatasetState::Insert ? rows->recordCount() - 1 : rows->recordCount();
            for (int row = 0; row < count; ++row) {
                const QVariant keyValue = rows->valueAt(row, key);
                if (!keyValue.isNull())
                    addItem(ValueConversion::toText(rows->valueAt(row, display)), keyValue);
            }
        }
    }
    m_showing = false;
    showValue();
}

void DBLookupCombo::showValue()
{
    const QString key = ValueConversion::toText(m_link.value());
    int shown = -1;
    if (!key.isEmpty())
        for (int i = 0; i < count(); ++i)
            if (ValueConversion::toText(itemData(i)).compare(key, Qt::CaseInsensitive) == 0) {
                shown = i;
                break;
            }
    m_showing = true;
    setCurrentIndex(shown);
    m_showing = false;
}

void DBLookupCombo::pickRow(int index)
{
    if (m_showing || !m_link.editable() || index < 0)
        return;
    const QVariant key = itemData(index);
    if (!m_link.write([&key](Field& field) { field.setValue(key); }, false))
        showValue();
}

void DBLookupCombo::showPopup()
{
    if (m_link.editable())
        QComboBox::showPopup();
}

void DBLookupCombo::keyPressEvent(QKeyEvent* event)
{
    if (!m_link.editable() && event->key() != Qt::Key_Tab && event->key() != Qt::Key_Backtab) {
        event->ignore();
        return;
    }
    QComboBox::keyPressEvent(event);
}

void DBLookupCombo::wheelEvent(QWheelEvent* event)
{
    if (!m_link.editable()) {
        event->ignore();
        return;
    }
    QComboBox::wheelEvent(event);
}

void DBLookupCombo::focusOutEvent(QFocusEvent* event)
{
    QComboBox::focusOutEvent(event);
    if (event->reason() != Qt::PopupFocusReason && event->reason() != Qt::ActiveWindowFocusReason)
        emit exited();
}
