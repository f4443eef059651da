#pragma once

#include "controls/FieldLink.h"

#include <QComboBox>
#include <QPointer>

class DataSource;

// A look-up box: the field of this data source holds a key of another data source's rows (a
// department's id); the box lists that source's rows by their display column and shows the one
// whose key column equals the field. Picking a row writes its key into the field. Read-only
// unless this dataset is being edited or inserted.
class DBLookupCombo : public QComboBox {
    Q_OBJECT
    Q_PROPERTY(int tag READ tag WRITE setTag)
public:
    explicit DBLookupCombo(QWidget* parent = nullptr);

    void bind(DataSource* source, const QString& fieldName) { m_link.bind(source, fieldName); }
    void setListSource(DataSource* list, const QString& keyField, const QString& displayField);
    DataSource* dataSource() const { return m_link.dataSource(); }
    QString fieldName() const { return m_link.fieldName(); }
    DataSource* listSource() const;

    // The display text shown for the current record (empty when its key is not listed).
    QString text() const { return currentText(); }
    // The key of the shown row; null when none is shown.
    QVariant keyValue() const { return currentData(); }
    bool isReadOnly() const { return !m_link.editable(); }

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
    void reloadList();
    void showValue();
    void pickRow(int index);

    FieldLink m_link;
    QPointer<DataSource> m_list;
    QString m_keyField;
    QString m_displayField;
    bool m_showing = false;
    int m_tag = 0;
};
