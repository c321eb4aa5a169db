// What the views of a TDataSet see: the rows the filter lets through, the
// values shown in them, and the notifications that tell them what changed.
#include "dataset.h"

#include "dataerrors.h"

#include <QScopedValueRollback>
#include <algorithm>

// ---- The filter's verdicts --------------------------------------------------

bool TDataSet::askFilter(int index)
{
    const TDataSetState saveState = m_state;
    const int saveIndex = m_filterIndex;
    m_state = dsFilter;
    m_filterIndex = index;
    bool accept = true;
    // A failing handler is reported, not propagated: the walk goes on. Its
    // verdict is kept like any other, so one failure is reported once.
    try {
        m_onFilterRecord(this, accept);
    } catch (...) {
        DataErrors::reportCurrent();
    }
    m_state = saveState;
    m_filterIndex = saveIndex;
    return accept;
}

bool TDataSet::verdict(int index)
{
    const size_t count = size_t(storeCount());
    // The store changed without the base's knowledge: nothing known holds.
    if (m_verdicts.size() != count) {
        m_verdicts.assign(count, qint8(-1));
        m_shown.clear();
        m_shownBuilt = false;
    }
    if (m_verdicts[size_t(index)] < 0) {
        const bool accept = askFilter(index);
        m_verdicts[size_t(index)] = accept ? 1 : 0;
    }
    return m_verdicts[size_t(index)] == 1;
}

void TDataSet::dropVerdicts()
{
    m_verdicts.clear();
    m_shown.clear();
    m_shownBuilt = false;
}

void TDataSet::buildShown()
{
    if (m_shownBuilt)
        return;
    const int count = storeCount();
    std::vector<int> shown;
    for (int i = 0; i < count; ++i) {
        if (verdict(i))
            shown.push_back(i);
    }
    m_shown = std::move(shown);
    m_shownBuilt = true;
}

int TDataSet::shownCount()
{
    if (!filtering())
        return storeCount();
    buildShown();
    return int(m_shown.size());
}

// How many shown records come before the stored record `index`: its row
// when it is shown, the row it would take otherwise.
int TDataSet::shownBefore(int index)
{
    if (!filtering())
        return qBound(0, index, storeCount());
    buildShown();
    return int(std::lower_bound(m_shown.begin(), m_shown.end(), index) - m_shown.begin());
}

int TDataSet::pendingRow()
{
    return shownBefore(m_insertAt);
}

// The stored record shown in a row; -2 for the new record, -1 outside.
int TDataSet::storeIndexOfViewRow(int row)
{
    if (!Active() || row < 0)
        return -1;
    if (m_state == dsInsert) {
        const int pending = pendingRow();
        if (row == pending)
            return -2;
        if (row > pending)
            --row;
    }
    if (row >= shownCount())
        return -1;
    return filtering() ? m_shown[size_t(row)] : row;
}

// The store keeps its records in one list, so a change at `index` shifts
// the records behind it; the verdicts follow, and only the changed record is
// asked again.
void TDataSet::storedRowInserted(int index)
{
    if (!filtering() || m_verdicts.size() + 1 != size_t(storeCount())) {
        dropVerdicts();
        return;
    }
    m_verdicts.insert(m_verdicts.begin() + index, qint8(-1));
    if (!m_shownBuilt) {
        verdict(index);
        return;
    }
    const auto at = std::lower_bound(m_shown.begin(), m_shown.end(), index);
    const size_t pos = size_t(at - m_shown.begin());
    for (size_t j = pos; j < m_shown.size(); ++j)
        ++m_shown[j];
    if (verdict(index))
        m_shown.insert(m_shown.begin() + long(pos), index);
}

void TDataSet::storedRowRemoved(int index)
{
    if (!filtering() || m_verdicts.size() != size_t(storeCount()) + 1) {
        dropVerdicts();
        return;
    }
    m_verdicts.erase(m_verdicts.begin() + index);
    if (!m_shownBuilt)
        return;
    auto at = std::lower_bound(m_shown.begin(), m_shown.end(), index);
    if (at != m_shown.end() && *at == index)
        at = m_shown.erase(at);
    for (; at != m_shown.end(); ++at)
        --*at;
}

void TDataSet::storedRowChanged(int index)
{
    if (!filtering() || m_verdicts.size() != size_t(storeCount())) {
        dropVerdicts();
        return;
    }
    const bool was = m_verdicts[size_t(index)] == 1;
    m_verdicts[size_t(index)] = -1;
    const bool now = verdict(index);
    if (!m_shownBuilt || was == now)
        return;
    const auto at = std::lower_bound(m_shown.begin(), m_shown.end(), index);
    if (now)
        m_shown.insert(at, index);
    else
        m_shown.erase(at);
}

// ---- The view contract --------------------------------------------------------

int TDataSet::ViewRowCount()
{
    if (!Active())
        return 0;
    return shownCount() + (m_state == dsInsert ? 1 : 0);
}

int TDataSet::ViewCurrentRow()
{
    if (!Active())
        return -1;
    if (m_state == dsInsert)
        return pendingRow();
    return m_cur < 0 ? -1 : shownBefore(m_cur);
}

QVariant TDataSet::ViewValue(int row, int fieldNo)
{
    if (fieldNo < 0 || fieldNo >= FieldCount())
        return {};
    const int index = storeIndexOfViewRow(row);
    if (index == -2 || (index >= 0 && index == m_cur && m_state == dsEdit))
        return presented(fieldNo, bufferValue(m_buffer.value(fieldNo)));
    if (index < 0)
        return {};
    return presented(fieldNo, storedValue(index, fieldNo));
}

void TDataSet::setViewCurrentRow(int row)
{
    checkActive();
    int index = storeIndexOfViewRow(row);
    if (index == -2)
        return; // the new record is current already
    if (index < 0)
        return;
    if (m_state == dsEdit || m_state == dsInsert) {
        // Posting the pending record may shift the stored ones: find the
        // chosen one again by its bookmark.
        const TBookmark target = bookmarkAt(index);
        CheckBrowseMode();
        index = recordOfBookmark(target);
        if (index < 0 || !recordVisible(index))
            return;
    }
    if (index != m_cur)
        moveToRecord(index);
}

void TDataSet::Refresh()
{
    checkActive();
    CheckBrowseMode();
    dropVerdicts();
    m_cur = settle(m_cur, false);
    m_bof = m_eof = m_cur < 0;
    notifyReset();
}

// A new filter: the first record it lets through becomes current.
void TDataSet::firstAfterReset()
{
    fire(BeforeScroll);
    m_cur = nextVisible(-1);
    m_bof = true;
    m_eof = m_cur < 0;
    notifyReset();
    fire(AfterScroll);
}

// ---- Observers ------------------------------------------------------------------

void TDataSet::addObserver(TDataSetObserver *observer)
{
    if (!m_observers.contains(observer))
        m_observers.append(observer);
}

void TDataSet::removeObserver(TDataSetObserver *observer)
{
    m_observers.removeAll(observer);
}

template <typename F> void TDataSet::forObservers(F f)
{
    if (m_disableCount > 0) {
        m_pendingChange = true;
        return;
    }
    const auto observers = m_observers;
    {
        QScopedValueRollback<int> notifying(m_notifying, m_notifying + 1);
        for (TDataSetObserver *o : observers) {
            if (m_observers.contains(o))
                f(o);
        }
    }
    if (m_notifying == 0) {
        // An action may notify again and queue more behind it; one that
        // raises leaves the rest for the end of the next notification.
        while (!m_afterNotification.empty()) {
            const std::function<void()> action = std::move(m_afterNotification.front());
            m_afterNotification.erase(m_afterNotification.begin());
            action();
        }
    }
}

void TDataSet::afterNotification(std::function<void()> action)
{
    if (m_notifying > 0)
        m_afterNotification.push_back(std::move(action));
    else
        action();
}

void TDataSet::markViewsStale()
{
    if (m_disableCount > 0)
        m_pendingChange = true;
}

void TDataSet::notifyReset()
{
    forObservers([this](TDataSetObserver *o) { o->dataSetReset(this); });
}

void TDataSet::notifyCursorMoved()
{
    forObservers([this](TDataSetObserver *o) { o->cursorMoved(this); });
}

void TDataSet::notifyRowInserted(int row)
{
    forObservers([this, row](TDataSetObserver *o) { o->rowInserted(this, row); });
}

void TDataSet::notifyRowRemoved(int row)
{
    forObservers([this, row](TDataSetObserver *o) { o->rowRemoved(this, row); });
}

void TDataSet::notifyRowChanged(int row)
{
    forObservers([this, row](TDataSetObserver *o) { o->rowChanged(this, row); });
}

void TDataSet::notifyState()
{
    forObservers([this](TDataSetObserver *o) { o->stateChanged(this); });
}

void TDataSet::notifyRecord(TField *field)
{
    forObservers([this, field](TDataSetObserver *o) { o->recordChanged(this, field); });
}

void TDataSet::DisableControls()
{
    if (m_disableCount++ == 0) {
        m_disableState = m_state;
        m_pendingChange = false;
    }
}

void TDataSet::EnableControls()
{
    if (m_disableCount == 0 || --m_disableCount > 0)
        return;
    if (m_disableState != m_state)
        notifyState();
    if (m_pendingChange)
        notifyReset();
    m_pendingChange = false;
}
