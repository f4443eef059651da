#pragma once

#include "controls/FieldLink.h"

#include <QLineEdit>

class DataSource;

// A one-line edit bound to a field of a data source. It shows the field of the current record
// and is read-only unless the dataset is being edited or inserted. What is typed (or set by the
// window) is written into the field when the edit is left, when Return is pressed, and before
// the record is posted.
class DBEdit : public QLineEdit {
    Q_OBJECT
    Q_PROPERTY(int tag READ tag WRITE setTag)
public:
    explicit DBEdit(QWidget* parent = nullptr);
    DBEdit(DataSource* source, const QString& fieldName, QWidget* parent = nullptr);

    void bind(DataSource* source, const QString& fieldName) { m_link.bind(source, fieldName); }
    DataSource* dataSource() const { return m_link.dataSource(); }
    QString fieldName() const { return m_link.fieldName(); }

    void setTextColor(const QColor& color);
    void setPasswordMode(bool on) { setEchoMode(on ? QLineEdit::Password : QLineEdit::Normal); }

    // Writes a changed text into the field now; false when the field refused it.
    bool writeValue() { return flush(false); }
    // A text typed or set since the field was last shown and not yet written.
    bool isModifiedSinceShown() const { return m_dirty; }

    int tag() const { return m_tag; }
    void setTag(int tag) { m_tag = tag; }

signals:
    // The edit was left for another control of the window (not for a menu or another window).
    void exited();

protected:
    void focusOutEvent(QFocusEvent* event) override;

private:
    void showValue();
    bool flush(bool duringPost);

    FieldLink m_link;
    bool m_dirty = false;
    bool m_showing = false;
    int m_tag = 0;
};
