#include "TableDataset.h"

#include "DataSource.h"
#include "DbError.h"
#include "TableProvider.h"
#include "Win1252.h"

#include <algorithm>

TableDataset::TableDataset(const QString &name, const FieldDefs &defs, QObject *parent)
    : Dataset(parent), m_defs(defs), m_store(defs)
{
    setObjectName(name);
    defineFields(defs);
}

void TableDataset::open()
{
    if (active())
        return;
    if (!m_provider)
        throw DbError(QStringLiteral("%1: a tabela não tem origem de dados.").arg(objectName()));
    m_store.clear();
    m_fetched = {};
    m_provider->load(*this, m_store);
    m_order.resize(size_t(m_store.rowCount()));
    for (int i = 0; i < m_store.rowCount(); ++i)
        m_order[size_t(i)] = i;
    m_log.clear();
    rebuildVisible();
    setState(State::Browse);
    resetNavigation();
    emit rowsReset();
    emit currentChanged();
}

void TableDataset::close()
{
    if (!active())
        return;
    m_store.clear();
    m_fetched = {};
    m_order.clear();
    m_visible.clear();
    m_buffer.clear();
    m_editRow = -1;
    m_log.clear();
    setCurrent(-1);
    setState(State::Inactive);
    emit rowsReset();
    emit currentChanged();
}

void TableDataset::setReadOnly(bool readOnly, const QString &refusal)
{
    m_readOnlyRefusal = refusal.isEmpty() ? QStringLiteral("Estes dados são somente para consulta: nada foi gravado.")
                                          : refusal;
    if (readOnly == m_readOnly)
        return;
    m_readOnly = readOnly;
    emit stateChanged(); // what may be done with the table changed
}

void TableDataset::refuseWhenReadOnly() const
{
    if (m_readOnly)
        throw DbError(m_readOnlyRefusal);
}

int TableDataset::currentRow() const
{
    const int i = currentIndex();
    return i < 0 ? -1 : visibleRows()[size_t(i)];
}

QVariant TableDataset::fieldValue(int column) const
{
    if (editing())
        return resolved(m_editRow, column, m_buffer.value(column));
    const int row = currentRow();
    return row < 0 ? QVariant() : resolved(row, column, m_store.value(row, column));
}

QVariant TableDataset::resolved(int row, int column, const QVariant &held) const
{
    if (!isStoredBlob(held))
        return held;
    if (m_fetched.row != row || m_fetched.column != column) {
        m_fetched = {row, column, m_provider->fetchPicture(*this, row, column)};
        readNeighbourPicturesAhead(row, column);
    }
    return m_fetched.bytes.isEmpty() ? QVariant() : QVariant(m_fetched.bytes);
}

// The user goes on to the next or the previous row far more often than
// anywhere else: their pictures are read while this one is looked at.
void TableDataset::readNeighbourPicturesAhead(int row, int column) const
{
    if (editing() || row != currentRow())
        return;
    const int at = currentIndex();
    QList<int> rows;
    for (int near : {at + 1, at - 1})
        if (near >= 0 && near < int(visibleRows().size()) && isStoredBlob(m_store.value(visibleRows()[size_t(near)], column)))
            rows << visibleRows()[size_t(near)];
    m_provider->readPicturesAhead(*this, rows, column);
}

void TableDataset::readAhead()
{
    if (!active() && m_provider)
        m_provider->readAhead(*this);
}

void TableDataset::setFieldValue(int column, const QVariant &value)
{
    if (!editing())
        throw DbError(QStringLiteral("%1: o registro não está em modo de edição ou inclusão.").arg(objectName()));
    m_buffer[column] = value;
    emit fieldChanged(column);
}

QVariant TableDataset::valueAt(int visibleRow, int column) const
{
    const int row = visibleRows()[size_t(visibleRow)];
    return resolved(row, column, m_store.value(row, column));
}

QVariant TableDataset::allRowValue(int index, int column) const
{
    const int row = m_order[size_t(index)];
    return resolved(row, column, m_store.value(row, column));
}

QVector<QVariant> TableDataset::rowValues(int row) const
{
    QVector<QVariant> values(m_store.columnCount());
    for (int c = 0; c < values.size(); ++c)
        values[c] = m_store.value(row, c);
    return values;
}

QVector<QVariant> TableDataset::valuesAsRead(int row) const
{
    for (const Change &change : m_log)
        if (change.row == row && change.kind != Change::Inserted)
            return change.original;
    return rowValues(row);
}

void TableDataset::insert()
{
    requireActive();
    refuseWhenReadOnly();
    post();
    m_buffer = QVector<QVariant>(int(m_defs.size()));
    m_editRow = -1;
    setState(State::Insert);
    emit recordChanged();
}

void TableDataset::edit()
{
    requireActive();
    refuseWhenReadOnly();
    if (editing())
        return;
    const int row = currentRow();
    if (row < 0) {
        insert();
        return;
    }
    m_buffer = rowValues(row);
    m_editRow = row;
    setState(State::Edit);
    emit recordChanged();
}

void TableDataset::checkRequired() const
{
    for (Field *f : fields())
        if (f->required() && m_buffer[f->index()].isNull())
            throw DbError(QStringLiteral("Preencha o campo %1.").arg(f->displayLabel()));
}

void TableDataset::post()
{
    if (!editing())
        return;
    refuseWhenReadOnly();
    for (DataSource *source : m_sources)
        source->updateRecord();
    checkRequired();

    int row = m_editRow;
    if (state() == State::Insert) {
        row = m_store.appendRow();
        m_order.push_back(row);
        logChange(Change::Inserted, row);
    } else {
        logChange(Change::Modified, row);
    }
    for (int c = 0; c < m_buffer.size(); ++c)
        m_store.setValue(row, c, m_buffer[c]);

    const bool inserted = state() == State::Insert;
    m_lastPosted = row;
    m_buffer.clear();
    m_editRow = -1;
    setState(State::Browse);
    if (inserted || m_filtered) {
        rebuildVisible();
        showRow(row);
        emit rowsReset();
        emit currentChanged();
    } else {
        emit rowChanged(currentIndex());
    }
    emit recordChanged();
}

void TableDataset::cancel()
{
    if (!editing())
        return;
    m_buffer.clear();
    m_editRow = -1;
    setState(State::Browse);
    emit recordChanged();
}

void TableDataset::del()
{
    requireActive();
    refuseWhenReadOnly();
    if (state() == State::Insert) {
        cancel();
        return;
    }
    cancel();
    const int row = currentRow();
    if (row < 0)
        throw DbError(QStringLiteral("Não é possível excluir: não há registro em %1.").arg(objectName()));
    logChange(Change::Deleted, row);
    m_order.erase(std::find(m_order.begin(), m_order.end(), row));
    rowsChangedKeepingPosition();
}

void TableDataset::logChange(Change::Kind kind, int row)
{
    auto it = std::find_if(m_log.begin(), m_log.end(), [row](const Change &c) { return c.row == row; });
    if (it == m_log.end()) {
        m_log.push_back({kind, row, kind == Change::Inserted ? QVector<QVariant>() : rowValues(row)});
        return;
    }
    if (kind != Change::Deleted)
        return; // a row inserted or changed before stays so, with its first values
    if (it->kind == Change::Inserted)
        m_log.erase(it); // never written: nothing to delete
    else
        it->kind = Change::Deleted;
}

void TableDataset::applyUpdates(int)
{
    requireActive();
    refuseWhenReadOnly();
    post();
    if (m_log.empty())
        return;
    m_provider->apply(*this);
    forgetWrittenPictures();
    m_log.clear();
}

// A written picture need not stay in memory: the database has it now.
void TableDataset::forgetWrittenPictures()
{
    for (const Change &change : m_log) {
        if (change.kind == Change::Deleted)
            continue;
        for (const FieldDef &def : m_defs) {
            const int c = int(&def - m_defs.data());
            if (def.type == FieldType::Blob && !m_store.isNull(change.row, c))
                m_store.setStoredBlob(change.row, c);
        }
        if (m_fetched.row == change.row)
            m_fetched = {};
    }
}

void TableDataset::cancelUpdates()
{
    requireActive();
    cancel();
    for (auto it = m_log.rbegin(); it != m_log.rend(); ++it) {
        if (it->kind == Change::Inserted) {
            m_order.erase(std::find(m_order.begin(), m_order.end(), it->row));
            continue;
        }
        for (int c = 0; c < it->original.size(); ++c)
            m_store.setValue(it->row, c, it->original[c]);
        if (it->kind == Change::Deleted) // rows keep their load order
            m_order.insert(std::lower_bound(m_order.begin(), m_order.end(), it->row), it->row);
    }
    m_log.clear();
    rowsChangedKeepingPosition();
}

void TableDataset::revertToEdit()
{
    requireActive();
    const int row = m_lastPosted;
    auto it = std::find_if(m_log.begin(), m_log.end(), [row](const Change &c) { return c.row == row; });
    if (editing() || it == m_log.end() || it->kind == Change::Deleted)
        return;
    const QVector<QVariant> typed = rowValues(row);
    const bool inserted = it->kind == Change::Inserted;
    if (inserted) {
        m_order.erase(std::find(m_order.begin(), m_order.end(), row));
    } else {
        for (int c = 0; c < it->original.size(); ++c)
            m_store.setValue(row, c, it->original[c]);
    }
    m_log.erase(it);
    rebuildVisible();
    showRow(row);
    m_buffer = typed;
    m_editRow = inserted ? -1 : row;
    setState(inserted ? State::Insert : State::Edit);
    emit rowsReset();
    emit currentChanged();
    emit recordChanged();
}

// After rows came or went: the visible rows anew, the current position kept
// where it can be, and every listener told.
void TableDataset::rowsChangedKeepingPosition()
{
    const int index = currentIndex();
    rebuildVisible();
    setCurrent(index);
    emit rowsReset();
    emit currentChanged();
    emit recordChanged();
}

void TableDataset::rebuildVisible()
{
    m_visible.clear();
    if (!m_filtered || !m_filter)
        return;
    for (int row : m_order)
        if (m_filter->matches(m_store.textBytes(row, m_filterColumn)))
            m_visible.push_back(row);
}

void TableDataset::showRow(int row)
{
    const auto &rows = visibleRows();
    const auto it = std::find(rows.begin(), rows.end(), row);
    setCurrent(it == rows.end() ? currentIndex() : int(it - rows.begin()));
}

int TableDataset::textColumnOf(const LikeFilter &filter)
{
    Field *f = fieldByName(filter.column());
    if (f->type() != FieldType::Text)
        throw DbError(QStringLiteral("Expressão de filtro inválida: %1 não é uma coluna de texto.").arg(f->fieldName()));
    return f->index();
}

void TableDataset::refilter()
{
    rebuildVisible();
    resetNavigation();
    emit rowsReset();
    emit currentChanged();
}

void TableDataset::setFilter(const QString &expression)
{
    std::optional<LikeFilter> parsed;
    int column = -1;
    if (!expression.trimmed().isEmpty()) {
        parsed = LikeFilter::parse(expression);
        column = textColumnOf(*parsed);
    }
    if (m_filtered && active())
        post(); // before anything changes: a refused post leaves the old filter whole
    m_filterText = expression;
    m_filter = std::move(parsed);
    m_filterColumn = column;
    if (m_filtered && active())
        refilter();
}

void TableDataset::setFiltered(bool on)
{
    if (on == m_filtered)
        return;
    if (active())
        post();
    m_filtered = on;
    if (active())
        refilter();
}

void TableDataset::filterBy(const LikeFilter &filter)
{
    const int column = textColumnOf(filter);
    if (active())
        post(); // before anything changes: a refused post leaves the old filter whole
    m_filterText = filter.expression();
    m_filter = filter;
    m_filterColumn = column;
    m_filtered = true;
    if (active())
        refilter();
}

bool TableDataset::rowEquals(int row, const std::vector<Field *> &fields, const QVariantList &values) const
{
    for (size_t i = 0; i < fields.size(); ++i) {
        const Field *f = fields[i];
        const QVariant &wanted = values[qsizetype(i)];
        if (f->type() == FieldType::Text) {
            QByteArray bytes;
            if (!Win1252::encode(wanted.toString(), bytes))
                return false;
            if (m_store.textBytes(row, f->index()) != std::string_view(bytes.constData(), size_t(bytes.size())))
                return false;
        } else if (m_store.value(row, f->index()) != f->normalized(wanted)) {
            return false;
        }
    }
    return true;
}

bool TableDataset::locate(const QString &columns, const QVariantList &values)
{
    requireActive();
    std::vector<Field *> keyFields;
    for (const QString &name : columns.split(u';'))
        keyFields.push_back(fieldByName(name.trimmed()));
    if (qsizetype(keyFields.size()) != values.size())
        throw DbError(QStringLiteral("%1: número de valores diferente do número de colunas em \"%2\".")
                          .arg(objectName(), columns));
    post();
    const auto &rows = visibleRows();
    for (size_t i = 0; i < rows.size(); ++i) {
        if (rowEquals(rows[i], keyFields, values)) {
            moveTo(int(i));
            return true;
        }
    }
    return false;
}

int TableDataset::nextCode(int column) const
{
    int candidate = 1;
    for (int row : m_order) {
        const int code = m_store.integer(row, column);
        if (code >= candidate)
            candidate = code + 1;
    }
    return candidate;
}

void TableDataset::addDataSource(DataSource *source)
{
    m_sources.push_back(source);
}

void TableDataset::removeDataSource(DataSource *source)
{
    m_sources.erase(std::remove(m_sources.begin(), m_sources.end(), source), m_sources.end());
}
