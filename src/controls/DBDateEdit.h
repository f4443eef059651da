#pragma once

#include "controls/FieldLink.h"

#include <QDate>
#include <QWidget>

class DataSource;
class QCalendarWidget;
class QLineEdit;
class QToolButton;

// A date edit bound to a date-time field, showing and taking the date only ("yyyy-MM-dd"). It
// can be empty (a null field), and its button opens a calendar to pick a day. Read-only unless
// the dataset is being edited or inserted; a picked day is written at once, a typed date when
// the edit is left and before the record is posted. A date written here has no time of day.
class DBDateEdit : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int tag READ tag WRITE setTag)
public:
    explicit DBDateEdit(QWidget* parent = nullptr);
    DBDateEdit(DataSource* source, const QString& fieldName, QWidget* parent = nullptr);

    void bind(DataSource* source, const QString& fieldName) { m_link.bind(source, fieldName); }
    DataSource* dataSource() const { return m_link.dataSource(); }
    QString fieldName() const { return m_link.fieldName(); }

    QString text() const;
    void setText(const QString& text);
    // The date shown; null when the edit is empty or holds no valid date.
    QDate date() const;
    void setDate(const QDate& date);
    bool isReadOnly() const { return !m_link.editable(); }

    QLineEdit* lineEdit() const { return m_edit; }
    QToolButton* calendarButton() const { return m_button; }
    // The pop-up calendar; opened by the button while the edit can be changed.
    QCalendarWidget* calendar() const { return m_calendar; }
    void showCalendar();

    bool writeValue() { return flush(false); }

    int tag() const { return m_tag; }
    void setTag(int tag) { m_tag = tag; }

signals:
    void exited();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showValue();
    bool flush(bool duringPost);
    void pick(const QDate& date);

    FieldLink m_link;
    QLineEdit* m_edit;
    QToolButton* m_button;
    QWidget* m_popup;
    QCalendarWidget* m_calendar;
    bool m_dirty = false;
    bool m_showing = false;
    int m_tag = 0;
};
