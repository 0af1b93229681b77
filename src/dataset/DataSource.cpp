#include "DataSource.h"

#include "TableDataset.h"

#include <algorithm>

DataSource::DataSource(TableDataset *dataset, QObject *parent) : QObject(parent), m_dataset(dataset)
{
    m_dataset->addDataSource(this);
}

DataSource::~DataSource()
{
    if (m_dataset)
        m_dataset->removeDataSource(this);
}

void DataSource::addLink(DataLink *link)
{
    m_links.push_back(link);
}

void DataSource::removeLink(DataLink *link)
{
    m_links.erase(std::remove(m_links.begin(), m_links.end(), link), m_links.end());
}

void DataSource::updateRecord()
{
    const auto links = m_links; // a link may remove itself meanwhile
    for (DataLink *link : links)
        link->updateRecord();
}
