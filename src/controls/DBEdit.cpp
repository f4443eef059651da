#include "controls/DBEdit.h"

#include "data/Field.h"
#include "data/ValueConversion.h"

#include <QFocusEvent>

DBEdit::DBEdit(QWidget* parent) : QLineEdit(parent)
{
    setReadOnly(true);
    connect(&m_link, &FieldLink::refreshNeeded, this, &DBEdit::showValue);
    connect(&m_link, &FieldLink::editableChanged, this, [this](bool editable) { setReadOnly(!editable); });
    connect(&m_link, &FieldLink::flushNeeded, this, [this] { flush(true); });
    connect(this, &QLineEdit::textChanged, this, [this] {
        if (!m_showing)
            m_dirty = true;
    });
    connect(this, &QLineEdit::returnPressed, this, [this] { flush(false); });
}

DBEdit::DBEdit(DataSource* source, const QString& fieldName, QWidget* parent) : DBEdit(parent)
{
    bind(source, fieldName);
}

void DBEdit::setTextColor(const QColor& color)
{
    QPalette colors = palette();
    colors.setColor(QPalette::Text, color);
    setPalette(colors);
}

void DBEdit::showValue()
{
    m_showing = true;
    setText(ValueConversion::toText(m_link.value()));
    m_showing = false;
    m_dirty = false;
}

bool DBEdit::flush(bool duringPost)
{
    if (!m_dirty || !m_link.editable())
        return true;
    const QString typed = text();
    const bool ok = m_link.write([&typed](Field& field) { field.setAsString(typed); }, duringPost);
    if (ok)
        m_dirty = false;
    return ok;
}

void DBEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    if (event->reason() == Qt::PopupFocusReason || event->reason() == Qt::ActiveWindowFocusReason)
        return;
    // A value the field refuses stays typed and is reported when the record is posted; windows
    // that check a value on leaving (CheckNumeric) warn themselves, so the user sees one message.
    flush(true);
    emit exited();
}
