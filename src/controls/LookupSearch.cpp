#include "LookupSearch.h"

#include "DBLookupComboBox.h"
#include "uikit/ErrorGuard.h"
#include "dataset/LikeFilter.h"
#include "dataset/TableDataset.h"
#include "dataset/Win1252.h"

#include <QCompleter>
#include <QStringListModel>

#include <algorithm>

namespace {

constexpr int kGathered = 4 * LookupSearch::kMostShown; // sorted by name before the first are shown

} // namespace

LookupSearch::LookupSearch(DBLookupComboBox *list, const QString &keyColumn, const QString &nameColumn,
                           QWidget *parent)
    : QLineEdit(parent), m_list(list), m_keyColumn(keyColumn), m_nameColumn(nameColumn),
      m_completer(new QCompleter(this)), m_names(new QStringListModel(this))
{
    m_completer->setModel(m_names);
    m_completer->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
    m_completer->setMaxVisibleItems(12);
    setCompleter(m_completer);
    setPlaceholderText(QStringLiteral("buscar por nome"));
    connect(this, &QLineEdit::textEdited, this, [this](const QString &text) { runGuarded([&] { offer(text); }); });
    connect(m_completer, qOverload<const QModelIndex &>(&QCompleter::activated), this,
            [this](const QModelIndex &index) { runGuarded([&] { choose(index.row()); }); });
}

QList<std::pair<QString, QVariant>> LookupSearch::matches(const QString &text) const
{
    QList<std::pair<QString, QVariant>> found;
    TableDataset *rows = m_list ? m_list->listDataset() : nullptr;
    if (!rows || !rows->active() || text.trimmed().isEmpty())
        return found;
    const LikeFilter filter = LikeFilter::containing(m_nameColumn, text.trimmed());
    const int key = rows->fieldByName(m_keyColumn)->index();
    const int name = rows->fieldByName(m_nameColumn)->index();
    QByteArray bytes;
    for (int row = 0; row < rows->recordCount() && found.size() < kGathered; ++row) {
        const QString value = rows->valueAt(row, name).toString();
        if (Win1252::encode(value, bytes) && filter.matches(std::string_view(bytes.constData(), size_t(bytes.size()))))
            found.append({value, rows->valueAt(row, key)});
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const auto &a, const auto &b) { return a.first.localeAwareCompare(b.first) < 0; });
    if (found.size() > kMostShown)
        found.resize(kMostShown);
    return found;
}

void LookupSearch::offer(const QString &text)
{
    QStringList names;
    m_keys.clear();
    for (const auto &[name, key] : matches(text)) {
        names << name;
        m_keys << key;
    }
    m_names->setStringList(names);
    if (!names.isEmpty())
        m_completer->complete();
}

void LookupSearch::choose(int index)
{
    if (!m_list || index < 0 || index >= m_keys.size())
        return;
    Field *field = m_list->field();
    if (field && field->dataset()->editing())
        field->setValue(m_keys.at(index));
}
