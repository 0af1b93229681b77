#include "Dataset.h"

#include "DbError.h"

Field *Dataset::findField(const QString &name) const
{
    for (Field *f : m_fields)
        if (f->fieldName().compare(name, Qt::CaseInsensitive) == 0)
            return f;
    return nullptr;
}

Field *Dataset::fieldByName(const QString &name) const
{
    if (Field *f = findField(name))
        return f;
    throw DbError(QStringLiteral("%1: campo '%2' não encontrado.").arg(objectName(), name));
}

void Dataset::defineFields(const FieldDefs &defs)
{
    for (Field *f : m_fields)
        delete f;
    m_fields.clear();
    for (int i = 0; i < defs.size(); ++i) {
        auto *f = new Field(this, i, defs[i]);
        f->setObjectName(objectName() + defs[i].name);
        m_fields.push_back(f);
    }
}

void Dataset::setState(State state)
{
    if (m_state == state)
        return;
    m_state = state;
    emit stateChanged();
}

void Dataset::requireActive() const
{
    if (!active())
        throw DbError(QStringLiteral("%1: a tabela não está aberta.").arg(objectName()));
}

void Dataset::setCurrent(int index)
{
    const int count = recordCount();
    m_current = count == 0 ? -1 : qBound(0, index, count - 1);
}

void Dataset::resetNavigation()
{
    setCurrent(0);
    m_bof = true;
    m_eof = recordCount() == 0;
}

void Dataset::first()
{
    requireActive();
    beforeScroll();
    resetNavigation();
    emit currentChanged();
}

void Dataset::last()
{
    requireActive();
    beforeScroll();
    setCurrent(recordCount() - 1);
    m_bof = recordCount() == 0;
    m_eof = true;
    emit currentChanged();
}

void Dataset::next()
{
    requireActive();
    beforeScroll();
    if (m_current + 1 < recordCount()) {
        ++m_current;
        m_bof = false;
        m_eof = false;
    } else {
        m_eof = true;
    }
    emit currentChanged();
}

void Dataset::prior()
{
    requireActive();
    beforeScroll();
    if (m_current > 0) {
        --m_current;
        m_bof = false;
        m_eof = false;
    } else {
        m_bof = true;
    }
    emit currentChanged();
}

void Dataset::moveTo(int visibleIndex)
{
    requireActive();
    beforeScroll();
    setCurrent(visibleIndex);
    m_bof = m_eof = recordCount() == 0;
    emit currentChanged();
}
