#include "controls/DBComboBox.h"

#include "data/Field.h"
#include "data/ValueConversion.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>

DBComboBox::DBComboBox(QWidget* parent) : QComboBox(parent)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setCompleter(nullptr); // a typed text stays as typed, never completed to an item
    lineEdit()->setReadOnly(true);
    connect(&m_link, &FieldLink::refreshNeeded, this, &DBComboBox::showValue);
    connect(&m_link, &FieldLink::editableChanged, this, [this](bool editable) { lineEdit()->setReadOnly(!editable); });
    connect(&m_link, &FieldLink::flushNeeded, this, [this] { flush(true); });
    connect(this, &QComboBox::editTextChanged, this, [this] {
        if (!m_showing)
            m_dirty = true;
    });
    connect(this, &QComboBox::activated, this, [this] {
        m_dirty = true;
        flush(false);
    });
}

DBComboBox::DBComboBox(DataSource* source, const QString& fieldName, const QStringList& items, QWidget* parent)
    : DBComboBox(parent)
{
    addItems(items);
    bind(source, fieldName);
}

void DBComboBox::showValue()
{
    m_showing = true;
    const QString value = ValueConversion::toText(m_link.value());
    setCurrentIndex(findText(value));
    setEditText(value);
    m_showing = false;
    m_dirty = false;
}

bool DBComboBox::flush(bool duringPost)
{
    if (!m_dirty || !m_link.editable())
        return true;
    const QString typed = currentText();
    const bool ok = m_link.write([&typed](Field& field) { field.setAsString(typed); }, duringPost);
    if (ok)
        m_dirty = false;
    return ok;
}

void DBComboBox::showPopup()
{
    if (m_link.editable())
        QComboBox::showPopup();
}

void DBComboBox::keyPressEvent(QKeyEvent* event)
{
    if (!m_link.editable()) {
        switch (event->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
        case Qt::Key_Home:
        case Qt::Key_End:
        case Qt::Key_F4:
            event->accept();
            return;
        default:
            break;
        }
    }
    QComboBox::keyPressEvent(event);
}

void DBComboBox::wheelEvent(QWheelEvent* event)
{
    if (!m_link.editable()) {
        event->ignore();
        return;
    }
    QComboBox::wheelEvent(event);
}

void DBComboBox::focusOutEvent(QFocusEvent* event)
{
    QComboBox::focusOutEvent(event);
    if (event->reason() == Qt::PopupFocusReason || event->reason() == Qt::ActiveWindowFocusReason)
        return;
    flush(false);
    emit exited();
}
