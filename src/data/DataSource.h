#pragma once

#include "data/Dataset.h"

#include <QObject>
#include <QPointer>

// Links one dataset to the controls bound to it: they follow its record pointer, state and
// values through these signals.
class DataSource : public QObject {
    Q_OBJECT
public:
    explicit DataSource(Dataset* dataset = nullptr, QObject* parent = nullptr);

    Dataset* dataset() const { return m_dataset; }
    void setDataset(Dataset* dataset);

signals:
    void datasetChanged();
    void reset();
    void currentChanged(int row);
    void stateChanged();
    void fieldChanged(int column);
    void rowInserted(int row);
    void rowAboutToBeRemoved(int row);
    void rowRemoved(int row);
    void rowChanged(int row);
    void beforePost();

private:
    QPointer<Dataset> m_dataset;
};
