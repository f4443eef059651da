#include "controls/DBMemo.h"

#include "data/Field.h"
#include "data/ValueConversion.h"

#include <QFocusEvent>

DBMemo::DBMemo(QWidget* parent) : QPlainTextEdit(parent)
{
    setReadOnly(true);
    setTabChangesFocus(true);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    connect(&m_link, &FieldLink::refreshNeeded, this, &DBMemo::showValue);
    connect(&m_link, &FieldLink::editableChanged, this, [this](bool editable) { setReadOnly(!editable); });
    connect(&m_link, &FieldLink::flushNeeded, this, [this] { flush(true); });
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_showing)
            m_dirty = true;
    });
}

DBMemo::DBMemo(DataSource* source, const QString& fieldName, QWidget* parent) : DBMemo(parent)
{
    bind(source, fieldName);
}

void DBMemo::showValue()
{
    const QString value = ValueConversion::toText(m_link.value());
    m_showing = true;
    if (value != toPlainText())
        setPlainText(value);
    m_showing = false;
    m_dirty = false;
}

bool DBMemo::flush(bool duringPost)
{
    if (!m_dirty || !m_link.editable())
        return true;
    const QString typed = toPlainText();
    const bool ok = m_link.write([&typed](Field& field) { field.setAsString(typed); }, duringPost);
    if (ok)
        m_dirty = false;
    return ok;
}

void DBMemo::focusOutEvent(QFocusEvent* event)
{
    QPlainTextEdit::focusOutEvent(event);
    if (event->reason() == Qt::PopupFocusReason || event->reason() == Qt::ActiveWindowFocusReason)
        return;
    flush(false);
    emit exited();
}
