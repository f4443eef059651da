#pragma once

#include "controls/FieldLink.h"

#include <QCheckBox>

class DataSource;

// A check box bound to a boolean field: checked is true, unchecked (or a null field) false.
// A click changes the field at once while the dataset is being edited or inserted and does
// nothing otherwise.
class DBCheckBox : public QCheckBox {
    Q_OBJECT
    Q_PROPERTY(int tag READ tag WRITE setTag)
public:
    explicit DBCheckBox(QWidget* parent = nullptr);
    DBCheckBox(const QString& caption, DataSource* source, const QString& fieldName, QWidget* parent = nullptr);

    void bind(DataSource* source, const QString& fieldName) { m_link.bind(source, fieldName); }
    DataSource* dataSource() const { return m_link.dataSource(); }
    QString fieldName() const { return m_link.fieldName(); }
    bool isReadOnly() const { return !m_link.editable(); }

    int tag() const { return m_tag; }
    void setTag(int tag) { m_tag = tag; }

signals:
    void exited();

protected:
    void nextCheckState() override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void showValue();

    FieldLink m_link;
    int m_tag = 0;
};
