#pragma once

#include "controls/FieldLink.h"

#include <QPlainTextEdit>

class DataSource;

// A multi-line text bound to a field, with a vertical scroll bar; Enter starts a new line and
// Tab moves on to the next control. Read-only unless the dataset is being edited or inserted;
// the text is written into the field when the memo is left and before the record is posted.
class DBMemo : public QPlainTextEdit {
    Q_OBJECT
    Q_PROPERTY(int tag READ tag WRITE setTag)
public:
    explicit DBMemo(QWidget* parent = nullptr);
    DBMemo(DataSource* source, const QString& fieldName, QWidget* parent = nullptr);

    void bind(DataSource* source, const QString& fieldName) { m_link.bind(source, fieldName); }
    DataSource* dataSource() const { return m_link.dataSource(); }
    QString fieldName() const { return m_link.fieldName(); }
    QString text() const { return toPlainText(); }
    void setText(const QString& text) { setPlainText(text); }

    bool writeValue() { return flush(false); }

    int tag() const { return m_tag; }
    void setTag(int tag) { m_tag = tag; }

signals:
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
