#pragma once

#include "Field.h"
#include "FieldDef.h"

#include <QObject>
#include <vector>

// What table datasets and query datasets share: named, typed fields, a
// current row among the visible rows, and navigation with the begin and end
// flags. The report engine walks any Dataset through first/next/eof.
class Dataset : public QObject
{
    Q_OBJECT
public:
    enum class State { Inactive, Browse, Edit, Insert };

    explicit Dataset(QObject *parent = nullptr) : QObject(parent) {}

    const std::vector<Field *> &fields() const { return m_fields; }
    Field *findField(const QString &name) const;
    Field *fieldByName(const QString &name) const; // DbError when there is none

    State state() const { return m_state; }
    bool active() const { return m_state != State::Inactive; }
    bool editing() const { return m_state == State::Edit || m_state == State::Insert; }

    virtual int recordCount() const = 0; // visible rows
    bool isEmpty() const { return recordCount() == 0; }
    int currentIndex() const { return m_current; } // among the visible rows, -1 when none
    bool bof() const { return m_bof; }
    bool eof() const { return m_eof; }

    void first();
    void last();
    void next();
    void prior();
    void moveTo(int visibleIndex);

    // Value of a column on the current row (or on the row being edited).
    virtual QVariant fieldValue(int column) const = 0;
    // Puts an already converted value into the row being edited.
    virtual void setFieldValue(int column, const QVariant &value) = 0;

signals:
    void stateChanged();   // inactive / browse / edit / insert
    void currentChanged(); // another row became current
    void recordChanged();  // values of the current row changed
    void rowsReset();      // rows came, went, or the filter changed
    void fieldChanged(int column); // a field of the row being edited was set

protected:
    void defineFields(const FieldDefs &defs);
    void setState(State state);
    void requireActive() const;
    // Runs before the current row changes; table datasets post a pending row.
    virtual void beforeScroll() {}
    // Puts the current row at `index` (clamped) without posting.
    void setCurrent(int index);
    void resetNavigation(); // first row current, begin flag on

private:
    std::vector<Field *> m_fields;
    State m_state = State::Inactive;
    int m_current = -1;
    bool m_bof = true;
    bool m_eof = true;
};
