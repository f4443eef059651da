#include "data/DataSource.h"

DataSource::DataSource(Dataset* dataset, QObject* parent) : QObject(parent)
{
    setDataset(dataset);
}

void DataSource::setDataset(Dataset* dataset)
{
    if (m_dataset == dataset)
        return;
    if (m_dataset)
        disconnect(m_dataset, nullptr, this, nullptr);
    m_dataset = dataset;
    if (dataset) {
        connect(dataset, &Dataset::reset, this, &DataSource::reset);
        connect(dataset, &Dataset::currentChanged, this, &DataSource::currentChanged);
        connect(dataset, &Dataset::stateChanged, this, &DataSource::stateChanged);
        connect(dataset, &Dataset::fieldChanged, this, &DataSource::fieldChanged);
        connect(dataset, &Dataset::rowInserted, this, &DataSource::rowInserted);
        connect(dataset, &Dataset::rowAboutToBeRemoved, this, &DataSource::rowAboutToBeRemoved);
        connect(dataset, &Dataset::rowRemoved, this, &DataSource::rowRemoved);
        connect(dataset, &Dataset::rowChanged, this, &DataSource::rowChanged);
        connect(dataset, &Dataset::beforePost, this, &DataSource::beforePost);
    }
    emit datasetChanged();
    emit reset();
}
