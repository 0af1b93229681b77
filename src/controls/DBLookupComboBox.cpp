#include "DBLookupComboBox.h"

#include "DatasetModel.h"
#include "uikit/ErrorGuard.h"
#include "dataset/Field.h"
#include "dataset/TableDataset.h"

#include <QApplication>
#include <QListView>
#include <QProxyStyle>

namespace {

// The list drops down below the box, as on Windows, instead of popping up
// over it: a pop-up is first made as wide as the widest of all the rows,
// which means measuring every one of them.
class DropDownStyle : public QProxyStyle
{
public:
    DropDownStyle() : QProxyStyle(QApplication::style()->name()) {}

    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *returnData) const override
    {
        if (hint == SH_ComboBox_Popup)
            return 0;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

} // namespace

DBLookupComboBox::DBLookupComboBox(QWidget *parent) : QComboBox(parent)
{
    DataControl::installAccessibility();
    // Sizing to the contents would measure every row of the list.
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setMinimumContentsLength(10);
    auto *style = new DropDownStyle;
    style->setParent(this);
    setStyle(style);
    if (auto *view = qobject_cast<QListView *>(this->view()))
        view->setUniformItemSizes(true);
    connect(this, &QComboBox::activated, this, &DBLookupComboBox::chosen);
}

TableDataset *DBLookupComboBox::listDataset() const
{
    return m_list ? m_list->dataset() : nullptr;
}

void DBLookupComboBox::setListSource(DataSource *list, const QString &keyColumn, const QString &listColumn)
{
    TableDataset *ds = list->dataset();
    const int keyIndex = ds->fieldByName(keyColumn)->index();
    auto *model = new DatasetModel(ds, this);
    model->addColumn(listColumn);
    if (TableDataset *old = listDataset())
        disconnect(old, nullptr, this, nullptr);
    // After the model has reset itself (connected first), find the key again.
    connect(ds, &Dataset::rowsReset, this, [this] { showKey(false); });
    connect(ds, &TableDataset::rowChanged, this, [this] { showKey(false); });

    const QPointer<QAbstractItemModel> old = this->model();
    m_showing = true;
    setModel(model);
    setModelColumn(0);
    m_showing = false;
    if (old && old->parent() == this)
        delete old; // QComboBox's own list, or the model of an earlier list source
    m_list = list;
    m_keyColumn = keyIndex;
    showKey(false);
}

void DBLookupComboBox::setDataField(DataSource *source, const QString &column)
{
    delete m_link;
    m_link = nullptr;
    m_link = new FieldLink(this, source, column, [this] { showKey(true); });
    showKey(true);
}

QVariant DBLookupComboBox::keyValue() const
{
    const TableDataset *list = listDataset();
    const int row = currentIndex();
    return list && row >= 0 && row < list->recordCount() ? list->valueAt(row, m_keyColumn) : QVariant();
}

void DBLookupComboBox::setKeyValue(const QVariant &key)
{
    m_key = key;
    showKey(false);
}

void DBLookupComboBox::setListFollowsField(bool on)
{
    m_listFollows = on;
    showKey(true);
}

QHash<QString, QString> DBLookupComboBox::listedTexts() const
{
    QHash<QString, QString> texts;
    const TableDataset *list = listDataset();
    if (!list || m_keyColumn < 0)
        return texts;
    for (int row = 0; row < list->recordCount() && row < count(); ++row)
        texts.insert(list->valueAt(row, m_keyColumn).toString(), itemText(row));
    return texts;
}

int DBLookupComboBox::rowOfKey(const QVariant &key) const
{
    TableDataset *list = listDataset();
    if (key.isNull() || !list || m_keyColumn < 0)
        return -1;
    const int count = list->recordCount();
    const int shown = currentIndex();
    if (shown >= 0 && shown < count && list->valueAt(shown, m_keyColumn) == key)
        return shown;
    for (int row = 0; row < count; ++row)
        if (list->valueAt(row, m_keyColumn) == key)
            return row;
    return -1;
}

void DBLookupComboBox::showKey(bool moveList)
{
    if (m_link)
        m_key = m_link->value();
    const int row = rowOfKey(m_key);
    m_showing = true;
    setCurrentIndex(row);
    m_showing = false;
    TableDataset *list = listDataset();
    // Only for a change of the bound column: a change of the list's own rows
    // (a row posted there) keeps the row it made current.
    if (moveList && m_link && m_listFollows && row >= 0 && list->currentIndex() != row && !list->editing())
        list->moveTo(row); // nothing to post, so nothing to refuse
}

void DBLookupComboBox::chosen(int row)
{
    if (m_showing)
        return;
    TableDataset *list = listDataset();
    if (row < 0 || !list || row >= list->recordCount() || (m_link && !m_link->editing())) {
        showKey(false); // a bound list never writes in browse mode
        return;
    }
    const QVariant key = list->valueAt(row, m_keyColumn);
    const bool done = runGuarded([&] {
        if (m_link)
            m_link->field()->setValue(key);
        else
            m_key = key;
        if (!list->editing()) // moving a table whose row is being edited would post that row
            list->moveTo(row);
    });
    if (!done)
        showKey(false);
}
