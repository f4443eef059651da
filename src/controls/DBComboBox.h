#pragma once

#include "controls/FieldLink.h"

#include <QComboBox>

class DataSource;

// A drop-down list bound to a text field: the items are suggestions, and a value typed outside
// them is accepted as it is. Read-only (no list, no typing, no stepping through the items)
// unless the dataset is being edited or inserted. A picked item is written at once; a typed
// value when the box is left and before the record is posted.
class DBComboBox : public QComboBox {
    Q_OBJECT
    Q_PROPERTY(int tag READ tag WRITE setTag)
public:
    explicit DBComboBox(QWidget* parent = nullptr);
    DBComboBox(DataSource* source, const QString& fieldName, const QStringList& items, QWidget* parent = nullptr);

    void bind(DataSource* source, const QString& fieldName) { m_link.bind(source, fieldName); }
    DataSource* dataSource() const { return m_link.dataSource(); }
    QString fieldName() const { return m_link.fieldName(); }
    QString text() const { return currentText(); }
    void setText(const QString& text) { setEditText(text); }
    bool isReadOnly() const { return !m_link.editable(); }

    bool writeValue() { return flush(false); }

    int tag() const { return m_tag; }
    void setTag(int tag) { m_tag = tag; }

    void showPopup() override;

signals:
    void exited();

protected:
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void showValue();
    bool flush(bool duringPost);

    FieldLink m_link;
    bool m_dirty = false;
    bool m_showing = false;
    int m_tag = 0;
};
