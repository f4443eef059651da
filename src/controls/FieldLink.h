#pragma once

#include "data/Connection.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariant>
#include <functional>

class DataSource;
class Dataset;
class Field;

// The tie between one data-aware control and one field of a data source. It tells the control
// when to show the value again (the record moved, the rows were reopened, the field was set)
// and when its editability changes (the dataset entered or left edit / insert state), and it
// writes the control's value into the current record, turning a refused value into a message
// or, while the record is being posted, into the dataset's pending error.
class FieldLink : public QObject {
    Q_OBJECT
public:
    explicit FieldLink(QObject* parent = nullptr);

    void bind(DataSource* source, const QString& fieldName);
    void setDataSource(DataSource* source);
    DataSource* dataSource() const;
    void setFieldName(const QString& fieldName);
    const QString& fieldName() const { return m_fieldName; }

    Dataset* dataset() const;
    // Index of the field in the open dataset, -1 when closed or missing.
    int column() const;
    FieldType fieldType() const;
    // The value of the field in the current record; null when there is none.
    QVariant value() const;
    // True while the dataset is being edited or inserted and has the field.
    bool editable() const;

    // Hands a value to the field with the given assignment. Returns false when the field
    // refused it: outside a post the message is shown, during a post it becomes the dataset's
    // pending error so that the post is refused with it. Never throws.
    bool write(const std::function<void(Field&)>& assign, bool duringPost);

signals:
    // Show the field's value again.
    void refreshNeeded();
    void editableChanged(bool editable);
    // The record is about to be posted: hand over what the control holds.
    void flushNeeded();

private:
    void reconnect();
    void checkEditable();

    QPointer<DataSource> m_source;
    QString m_fieldName;
    bool m_editable = false;
};
