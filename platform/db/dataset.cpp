#include "dataset.h"

#include "dataerrors.h"

TDataSet::TDataSet(QObject *owner)
    : QObject(owner)
{
}

TDataSet::~TDataSet()
{
    const auto observers = m_observers;
    for (TDataSetObserver *o : observers)
        o->dataSetDestroyed(this);
}

void TDataSet::closeWithoutEvents()
{
    if (!Active())
        return;
    m_state = dsInactive;
    m_buffer.clear();
    m_modified = false;
    m_cur = -1;
    m_bof = m_eof = true;
    dropVerdicts();
    try {
        closeCursor();
    } catch (...) {
    }
    notifyReset();
}

void TDataSet::fire(const TDataSetNotifyEvent &event)
{
    if (event)
        event(this);
}

void TDataSet::checkActive() const
{
    if (!Active())
        throw EDatabaseError(
            QStringLiteral("Impossibile eseguire questa operazione su un dataset chiuso"));
}

void TDataSet::checkCanModify() const
{
    if (!canModify())
        throw EDatabaseError(QStringLiteral("Impossibile modificare un dataset di sola lettura"));
}

void TDataSet::setState(TDataSetState state)
{
    if (state == m_state)
        return;
    m_state = state;
    notifyState();
}

// ---- Open and close -------------------------------------------------------

void TDataSet::Open()
{
    if (Active())
        return;
    fire(BeforeOpen);
    try {
        openCursor();
        bindFields();
    } catch (...) {
        try {
            closeCursor();
        } catch (...) {
        }
        throw;
    }
    m_state = dsBrowse;
    m_modified = false;
    dropVerdicts();
    m_cur = nextVisible(-1);
    m_bof = true;
    m_eof = m_cur < 0;
    notifyReset();
    fire(AfterOpen);
    if (!IsEmpty())
        fire(AfterScroll);
}

void TDataSet::bindFields()
{
    // Field objects survive a reopen with the same definitions, so that a view
    // or a caller holding one is not left with a dangling pointer.
    if (!m_fields.empty() && m_boundDefs == FieldDefs)
        return;
    m_fields.clear();
    for (int i = 0; i < FieldDefs.Count(); ++i)
        m_fields.push_back(std::make_unique<TField>(this, i, FieldDefs[i]));
    m_boundDefs = FieldDefs;
}

void TDataSet::Close()
{
    if (!Active())
        return;
    fire(BeforeClose);
    // A pending edit or insert is dropped, never posted.
    m_state = dsInactive;
    m_buffer.clear();
    m_modified = false;
    m_cur = -1;
    m_bof = m_eof = true;
    dropVerdicts();
    closeCursor();
    notifyReset();
    fire(AfterClose);
}

// ---- Navigation -----------------------------------------------------------

int TDataSet::nextVisible(int from)
{
    const int n = storeCount();
    for (int i = qMax(from + 1, 0); i < n; ++i) {
        if (recordVisible(i))
            return i;
    }
    return -1;
}

int TDataSet::priorVisible(int from)
{
    for (int i = qMin(from, storeCount()) - 1; i >= 0; --i) {
        if (recordVisible(i))
            return i;
    }
    return -1;
}

// The record to stand on when the one at `index` went away or is refused:
// itself, else the nearest visible one in the preferred direction, else the
// other way; -1 when nothing is visible.
int TDataSet::settle(int index, bool preferPrior)
{
    const int n = storeCount();
    if (n == 0)
        return -1;
    index = qBound(0, index, n - 1);
    if (recordVisible(index))
        return index;
    const int prior = priorVisible(index);
    const int next = nextVisible(index);
    if (preferPrior)
        return prior >= 0 ? prior : next;
    return next >= 0 ? next : prior;
}

void TDataSet::First()
{
    CheckBrowseMode();
    fire(BeforeScroll);
    m_cur = nextVisible(-1);
    m_bof = true;
    m_eof = m_cur < 0;
    notifyCursorMoved();
    fire(AfterScroll);
}

void TDataSet::Last()
{
    CheckBrowseMode();
    fire(BeforeScroll);
    m_cur = priorVisible(storeCount());
    m_eof = true;
    m_bof = m_cur < 0;
    notifyCursorMoved();
    fire(AfterScroll);
}

int TDataSet::MoveBy(int distance)
{
    CheckBrowseMode();
    int moved = 0;
    fire(BeforeScroll);
    // A move that cannot happen sets Bof or Eof; once set, a further move the
    // same way does nothing, and a move the other way clears both.
    if ((distance > 0 && !m_eof) || (distance < 0 && !m_bof)) {
        m_bof = m_eof = false;
        while (distance > 0) {
            const int n = m_cur < 0 ? -1 : nextVisible(m_cur);
            if (n < 0) {
                m_eof = true;
                break;
            }
            m_cur = n;
            --distance;
            ++moved;
        }
        while (distance < 0) {
            const int p = m_cur < 0 ? -1 : priorVisible(m_cur);
            if (p < 0) {
                m_bof = true;
                break;
            }
            m_cur = p;
            ++distance;
            --moved;
        }
        if (m_cur < 0)
            m_bof = m_eof = true;
        notifyCursorMoved();
        fire(AfterScroll);
    }
    return moved;
}

int TDataSet::RecNo() const
{
    if (!Active())
        return 0;
    if (m_state == dsInsert)
        return m_insertAt + 1;
    return m_cur < 0 ? 0 : m_cur + 1;
}

void TDataSet::setRecNo(int value)
{
    CheckBrowseMode();
    if (value < 1 || value > storeCount() || value - 1 == m_cur || !recordVisible(value - 1))
        return;
    moveToRecord(value - 1);
}

int TDataSet::RecordCount() const
{
    return Active() ? storeCount() : 0;
}

void TDataSet::moveToRecord(int index, bool bof)
{
    fire(BeforeScroll);
    m_cur = index;
    m_bof = bof;
    m_eof = false;
    notifyCursorMoved();
    fire(AfterScroll);
}

void TDataSet::placeCursor(int index, bool bof, bool eof)
{
    m_cur = index;
    m_bof = bof || index < 0;
    m_eof = eof || index < 0;
}

void TDataSet::resync(int index)
{
    if (!Active())
        return;
    dropVerdicts();
    m_cur = settle(index, false);
    m_bof = m_eof = m_cur < 0;
    notifyReset();
}

// ---- Editing --------------------------------------------------------------

void TDataSet::CheckBrowseMode()
{
    checkActive();
    if (m_state == dsEdit || m_state == dsInsert) {
        if (m_modified)
            Post();
        else
            Cancel();
    }
}

void TDataSet::Edit()
{
    checkActive();
    if (m_state == dsEdit || m_state == dsInsert)
        return;
    // Editing an empty dataset starts a new record, as the class library did.
    if (IsEmpty()) {
        Insert();
        return;
    }
    CheckBrowseMode();
    checkCanModify();
    fire(BeforeEdit);
    m_buffer = TRecordBuffer(FieldCount());
    for (int i = 0; i < FieldCount(); ++i)
        m_buffer[i] = editValue(m_cur, i);
    m_modified = false;
    setState(dsEdit);
    notifyRecord(nullptr);
    fire(AfterEdit);
}

void TDataSet::Insert()
{
    beginInsert(false);
}

void TDataSet::Append()
{
    beginInsert(true);
}

void TDataSet::beginInsert(bool append)
{
    CheckBrowseMode();
    checkCanModify();
    fire(BeforeInsert);
    fire(BeforeScroll);
    m_savedCur = m_cur;
    m_savedBof = m_bof;
    m_savedEof = m_eof;
    if (append) {
        m_insertAt = storeCount();
        // Cancelling an append leaves the dataset on its last record.
        m_cur = priorVisible(storeCount());
        m_savedCur = m_cur;
        m_savedBof = m_cur < 0;
        m_savedEof = true;
    } else {
        m_insertAt = qMax(m_cur, 0);
    }
    m_buffer = TRecordBuffer(FieldCount());
    initRecord(m_buffer);
    m_bof = m_eof = false;
    setState(dsInsert);
    if (viewsWatching())
        notifyRowInserted(pendingRow());
    else
        markViewsStale();
    notifyCursorMoved();
    try {
        fire(OnNewRecord);
    } catch (...) {
        dropNewRecord();
        throw;
    }
    // Values set by OnNewRecord alone do not make the record worth posting.
    m_modified = false;
    fire(AfterInsert);
    fire(AfterScroll);
}

void TDataSet::checkRequiredFields() const
{
    for (const auto &f : m_fields) {
        const QVariant &v = m_buffer[f->Index()];
        if (f->Required && !f->ReadOnly && (v.isNull() || !v.isValid()))
            throw EDatabaseError(
                QStringLiteral("Il campo '%1' deve avere un valore").arg(f->DisplayName()));
    }
}

void TDataSet::Post()
{
    checkActive();
    if (m_state != dsEdit && m_state != dsInsert)
        return;
    fire(BeforePost);
    checkRequiredFields();
    const bool watching = viewsWatching();
    const bool editing = m_state == dsEdit;
    int index;
    int row; // where the views show the record now
    if (editing) {
        index = m_cur;
        row = watching ? shownBefore(index) : -1;
        storeEdit(index, m_buffer);
        storedRowChanged(index);
    } else {
        row = watching ? pendingRow() : -1;
        index = storeInsert(m_insertAt, m_buffer);
        storedRowInserted(index);
    }
    m_buffer.clear();
    m_modified = false;
    // A record the filter refuses after the change leaves the view.
    const bool shown = recordVisible(index);
    m_cur = settle(index, false);
    m_bof = m_eof = m_cur < 0;
    setState(dsBrowse);
    if (!watching)
        markViewsStale();
    else if (!shown)
        notifyRowRemoved(row);
    else if (editing || shownBefore(index) == row)
        notifyRowChanged(row);
    else
        notifyReset(); // a store that put the record elsewhere
    if (!editing || !shown)
        notifyCursorMoved();
    fire(AfterPost);
}

// Leaves an insert: the new record goes from the views, the cursor returns
// to where the insert began.
void TDataSet::dropNewRecord()
{
    const int pending = viewsWatching() ? pendingRow() : -1;
    m_buffer.clear();
    m_modified = false;
    m_cur = m_savedCur;
    m_bof = m_savedBof;
    m_eof = m_savedEof;
    if (m_cur < 0)
        m_bof = m_eof = true;
    setState(dsBrowse);
    if (pending >= 0)
        notifyRowRemoved(pending);
    else
        markViewsStale();
    notifyCursorMoved();
}

void TDataSet::Cancel()
{
    if (m_state != dsEdit && m_state != dsInsert)
        return;
    fire(BeforeCancel);
    if (m_state == dsInsert) {
        dropNewRecord();
    } else {
        m_buffer.clear();
        m_modified = false;
        setState(dsBrowse);
        if (viewsWatching() && m_cur >= 0)
            notifyRowChanged(shownBefore(m_cur));
        else
            markViewsStale();
    }
    fire(AfterCancel);
}

void TDataSet::Delete()
{
    checkActive();
    if (m_state == dsInsert) {
        Cancel();
        return;
    }
    if (IsEmpty() || m_cur < 0)
        throw EDatabaseError(
            QStringLiteral("Impossibile eseguire questa operazione su un dataset vuoto"));
    checkCanModify();
    fire(BeforeDelete);
    fire(BeforeScroll);
    const int index = m_cur;
    const int row = viewsWatching() ? shownBefore(index) : -1;
    storeDelete(index);
    storedRowRemoved(index);
    m_buffer.clear();
    m_modified = false;
    // The record that took its place, else the previous one.
    m_cur = settle(index, true);
    m_bof = m_eof = m_cur < 0;
    setState(dsBrowse);
    if (row >= 0)
        notifyRowRemoved(row);
    else
        markViewsStale();
    notifyCursorMoved();
    fire(AfterDelete);
    fire(AfterScroll);
}
