#include "controls/DBDateEdit.h"

#include "data/Field.h"
#include "data/ValueConversion.h"

#include <QCalendarWidget>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScreen>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace {

const QString kDateFormat = QStringLiteral("yyyy-MM-dd");

} // namespace

DBDateEdit::DBDateEdit(QWidget* parent)
    : QWidget(parent), m_edit(new QLineEdit(this)), m_button(new QToolButton(this)),
      m_popup(new QWidget(this, Qt::Popup)), m_calendar(new QCalendarWidget(m_popup))
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_edit);
    layout->addWidget(m_button);
    m_edit->setReadOnly(true);
    m_edit->installEventFilter(this);
    setFocusProxy(m_edit);
    setFocusPolicy(m_edit->focusPolicy());
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);

    m_button->setArrowType(Qt::DownArrow);
    m_button->setFocusPolicy(Qt::NoFocus);
    m_button->setEnabled(false);
    m_button->setObjectName(QStringLiteral("calendarButton"));

    auto* popupLayout = new QVBoxLayout(m_popup);
    popupLayout->setContentsMargins(0, 0, 0, 0);
    popupLayout->addWidget(m_calendar);
    m_calendar->setGridVisible(true);

    connect(m_button, &QToolButton::clicked, this, &DBDateEdit::showCalendar);
    connect(m_calendar, &QCalendarWidget::clicked, this, &DBDateEdit::pick);
    connect(m_calendar, &QCalendarWidget::activated, this, &DBDateEdit::pick);
    connect(&m_link, &FieldLink::refreshNeeded, this, &DBDateEdit::showValue);
    connect(&m_link, &FieldLink::editableChanged, this, [this](bool editable) {
        m_edit->setReadOnly(!editable);
        m_button->setEnabled(editable);
    });
    connect(&m_link, &FieldLink::flushNeeded, this, [this] { flush(true); });
    connect(m_edit, &QLineEdit::textChanged, this, [this] {
        if (!m_showing)
            m_dirty = true;
    });
    connect(m_edit, &QLineEdit::returnPressed, this, [this] { flush(false); });
}

DBDateEdit::DBDateEdit(DataSource* source, const QString& fieldName, QWidget* parent) : DBDateEdit(parent)
{
    bind(source, fieldName);
}

QString DBDateEdit::text() const
{
    return m_edit->text();
}

void DBDateEdit::setText(const QString& text)
{
    m_edit->setText(text);
}

QDate DBDateEdit::date() const
{
    return ValueConversion::parseDateTime(m_edit->text()).date();
}

void DBDateEdit::setDate(const QDate& date)
{
    m_edit->setText(date.isValid() ? date.toString(kDateFormat) : QString());
}

void DBDateEdit::showValue()
{
    const QVariant value = m_link.value();
    QString shown;
    if (!value.isNull()) {
        const QDateTime moment = value.typeId() == QMetaType::QDateTime
                                     ? value.toDateTime()
                                     : ValueConversion::parseDateTime(ValueConversion::toText(value));
        shown = moment.isValid() ? moment.date().toString(kDateFormat) : ValueConversion::toText(value);
    }
    m_showing = true;
    m_edit->setText(shown);
    m_showing = false;
    m_dirty = false;
}

bool DBDateEdit::flush(bool duringPost)
{
    if (!m_dirty || !m_link.editable())
        return true;
    const QString typed = m_edit->text().trimmed();
    const bool ok = m_link.write(
        [&typed](Field& field) {
            const QVariant parsed = ValueConversion::fromText(FieldType::DateTime, typed, field.name());
            // Only the day counts: the time of a typed date-time is dropped.
            field.setValue(parsed.isNull() ? QVariant() : QVariant(QDateTime(parsed.toDateTime().date(), QTime(0, 0))));
        },
        duringPost);
    if (ok)
        m_dirty = false;
    return ok;
}

void DBDateEdit::showCalendar()
{
    if (!m_link.editable())
        return;
    const QDate shown = date();
    m_calendar->setSelectedDate(shown.isValid() ? shown : QDate::currentDate());
    m_popup->adjustSize();
    QPoint below = mapToGlobal(QPoint(0, height()));
    if (const QScreen* screen = this->screen()) {
        const QRect area = screen->availableGeometry();
        if (below.y() + m_popup->height() > area.bottom())
            below.setY(mapToGlobal(QPoint(0, 0)).y() - m_popup->height());
        below.setX(std::clamp(below.x(), area.left(), std::max(area.left(), area.right() - m_popup->width())));
    }
    m_popup->move(below);
    m_popup->show();
    m_calendar->setFocus(Qt::PopupFocusReason);
}

void DBDateEdit::pick(const QDate& date)
{
    m_popup->hide();
    if (!m_link.editable())
        return;
    setDate(date);
    flush(false);
    m_edit->setFocus(Qt::PopupFocusReason);
}

bool DBDateEdit::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_edit && event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason && !m_popup->isVisible()) {
            flush(false);
            emit exited();
        }
    } else if (watched == m_edit && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if ((key->modifiers() & Qt::AltModifier) && key->key() == Qt::Key_Down) {
            showCalendar();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
