#pragma once

#include "field.h"

#include <QFlags>
#include <QList>
#include <QObject>
#include <functional>
#include <memory>
#include <vector>

class TDataSet;

// One value per field, in field order, each already of its field's type.
using TRecordBuffer = QVector<QVariant>;

enum TDataSetState {
    dsInactive,
    dsBrowse,
    dsEdit,
    dsInsert,
    dsSetKey,
    dsCalcFields,
    dsFilter,
    dsNewValue
};

enum TLocateOption { loCaseInsensitive = 0x1, loPartialKey = 0x2 };
Q_DECLARE_FLAGS(TLocateOptions, TLocateOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(TLocateOptions)

// A mark of one record. What it holds is the concrete dataset's business (a
// record ID, a row's key values); a null bookmark marks nothing.
class TBookmark
{
public:
    TBookmark() = default;
    explicit TBookmark(const QVariant &data)
        : Data(data)
    {
    }
    bool isNull() const { return !Data.isValid(); }
    bool operator==(const TBookmark &o) const { return Data == o.Data; }
    QVariant Data;
};

// What a view (grid, bound control) hears from its dataset. Rows are counted
// as a view shows them (see TDataSet::ViewRowCount). Nothing is sent between
// DisableControls and the matching EnableControls, which then sends one reset.
class TDataSetObserver
{
public:
    virtual ~TDataSetObserver() = default;
    // Anything may have changed, the field objects included: opened, closed,
    // a new filter, Refresh, or changes while the controls were disabled.
    virtual void dataSetReset(TDataSet *) {}
    // Another row became current, or the same one was found again.
    virtual void cursorMoved(TDataSet *) {}
    // The row now at `row` was not shown before (a new record, an insert).
    virtual void rowInserted(TDataSet *, int /*row*/) {}
    // The row that was at `row` is shown no more (deleted, cancelled,
    // refused by the filter after a post).
    virtual void rowRemoved(TDataSet *, int /*row*/) {}
    // The values shown in `row` changed (a post, a cancelled edit).
    virtual void rowChanged(TDataSet *, int /*row*/) {}
    // A value of the current record changed; field is null for the whole record.
    virtual void recordChanged(TDataSet *, TField *) {}
    virtual void stateChanged(TDataSet *) {}
    virtual void dataSetDestroyed(TDataSet *) {}
};

using TDataSetNotifyEvent = std::function<void(TDataSet *)>;
using TFilterRecordEvent = std::function<void(TDataSet *, bool &accept)>;

// The dataset base: states, a cursor over records held in memory, fields,
// editing, bookmarks, filtering and the events of the class library's
// datasets. Where the records live is left to a concrete dataset through the
// protected record-store operations below.
class TDataSet : public QObject
{
    Q_OBJECT
public:
    explicit TDataSet(QObject *owner = nullptr);
    ~TDataSet() override;

    void Open();
    void Close();
    bool Active() const { return m_state != dsInactive; }
    void setActive(bool value) { value ? Open() : Close(); }
    TDataSetState State() const { return m_state; }

    void First();
    void Last();
    void Next() { MoveBy(1); }
    void Prior() { MoveBy(-1); }
    // Posts a pending edit or insert first, even for a distance of 0.
    int MoveBy(int distance);
    bool Bof() const { return m_bof; }
    bool Eof() const { return m_eof; }
    bool IsEmpty() const { return m_bof && m_eof; }
    int RecNo() const;
    void setRecNo(int value);
    // Records held, whatever the filter.
    int RecordCount() const;

    void Edit();
    void Insert(); // before the current record
    void Append();
    void Post();
    void Cancel();
    void Delete();
    // Ends an edit or insert: posts it when a field was written, else cancels.
    void CheckBrowseMode();
    bool Modified() const { return m_modified; }

    TFieldDefs FieldDefs{this};
    int FieldCount() const { return int(m_fields.size()); }
    TField *Fields(int i) const { return m_fields[size_t(i)].get(); }
    TField *FindField(const QString &name) const;
    TField *FieldByName(const QString &name) const; // raises "Field '%s' not found"

    TBookmark GetBookmark() const;
    // False, staying where it is, when the record is gone or filtered out.
    bool GotoBookmark(const TBookmark &bookmark);
    bool BookmarkValid(const TBookmark &bookmark) const;
    int CompareBookmarks(const TBookmark &a, const TBookmark &b) const;

    // keyFields "A;B"; keyValues one value or a QVariantList of one per field.
    virtual bool Locate(const QString &keyFields, const QVariant &keyValues,
                        TLocateOptions options = {});

    bool Filtered() const { return m_filtered; }
    void setFiltered(bool value);
    const TFilterRecordEvent &OnFilterRecord() const { return m_onFilterRecord; }
    void setOnFilterRecord(const TFilterRecordEvent &handler);

    // ---- What a view shows ------------------------------------------------
    // The records the filter lets through, in store order, and while
    // inserting the new record in the place it was begun. The filter's
    // verdicts are kept until a record changes or the filter does. None of
    // these moves the cursor or fires an event.
    int ViewRowCount();
    // The current record's row; -1 on a closed or empty dataset.
    int ViewCurrentRow();
    // The stored record, the edit buffer for the record being edited, the
    // new record while inserting; NULL outside the rows.
    QVariant ViewValue(int row, int fieldNo);
    // Makes a row current as a move does (a pending edit is posted first).
    void setViewCurrentRow(int row);
    // Forgets the filter's verdicts and resets the views, staying on the
    // current record when the filter still lets it through (else the next,
    // else the previous): for a filter that depends on something outside
    // the dataset.
    void Refresh();

    void addObserver(TDataSetObserver *observer);
    void removeObserver(TDataSetObserver *observer);
    // Runs the action once every observer has heard of what is being
    // notified now, at once when nothing is: an observer that acts on the
    // news (opens a query, moves another dataset) does it outside the
    // notification.
    void afterNotification(std::function<void()> action);
    void DisableControls();
    void EnableControls();
    bool ControlsDisabled() const { return m_disableCount > 0; }

    // A Before... handler stops its operation by throwing (EAbort silently).
    TDataSetNotifyEvent BeforeOpen, AfterOpen, BeforeClose, AfterClose;
    TDataSetNotifyEvent BeforeInsert, AfterInsert, BeforeEdit, AfterEdit;
    TDataSetNotifyEvent BeforePost, AfterPost, BeforeCancel, AfterCancel;
    TDataSetNotifyEvent BeforeDelete, AfterDelete, BeforeScroll, AfterScroll;
    TDataSetNotifyEvent OnNewRecord;

protected:
    // ---- The record store, supplied by a concrete dataset ----------------
    // Records are addressed by their index in the store's order (0-based).
    // Makes the records available and fills FieldDefs when it has to.
    virtual void openCursor() = 0;
    // Drops the records. Never called on an inactive dataset.
    virtual void closeCursor() = 0;
    virtual int storeCount() const = 0;
    virtual QVariant storedValue(int index, int fieldNo) const = 0;
    // A stored value as the field gives it (an empty text NULL where the
    // dataset reads it so).
    QVariant presented(int fieldNo, const QVariant &v) const;
    bool readsAsNull(int fieldNo, const QVariant &v) const;
    // Post of an edited record. The buffer may be changed (values the store
    // fills in itself); a failure raises and leaves the dataset editing.
    virtual void storeEdit(int index, TRecordBuffer &buffer) = 0;
    // Post of a new record before `index` (storeCount() appends); answers the
    // index the record got.
    virtual int storeInsert(int index, TRecordBuffer &buffer) = 0;
    virtual void storeDelete(int index) = 0;
    virtual TBookmark bookmarkAt(int index) const = 0;
    // -1 when no record carries the bookmark.
    virtual int recordOfBookmark(const TBookmark &bookmark) const = 0;
    virtual bool bookmarkStillValid(const TBookmark &bookmark) const;
    virtual int compareBookmarks(const TBookmark &a, const TBookmark &b) const;
    virtual bool canModify() const { return true; }
    // A fresh record's values before OnNewRecord; all NULL by default.
    virtual void initRecord(TRecordBuffer &) {}
    // What an edit's buffer starts from. A store may hand its own stand-in
    // for a value it reads only when asked (a blob), which bufferValue turns
    // into the value whenever the field is read; storeEdit then gets the
    // stand-in back for every field the edit left alone.
    virtual QVariant editValue(int index, int fieldNo) const { return storedValue(index, fieldNo); }
    virtual QVariant bufferValue(const QVariant &held) const { return held; }

    // ---- Helpers for concrete datasets -----------------------------------
    int currentIndex() const { return m_cur; }
    // The filter's verdict (always true unless Filtered with a handler).
    bool recordVisible(int index);
    // Makes `index` current with the scroll events and notifications.
    void moveToRecord(int index, bool bof = false);
    // Makes `index` current silently, for an operation that sends its own
    // events once it is over (a scan that reports only its result).
    void placeCursor(int index, bool bof, bool eof);
    // The store changed outside the dataset's own operations: settle on
    // `index` or the nearest visible record and tell the views.
    void resync(int index);
    // Text fields read an empty text as NULL (the in-memory table's rule).
    void setEmptyTextIsNull(bool value) { m_emptyTextIsNull = value; }
    // Closes without events and without raising: for destructors of concrete
    // datasets and for a transaction that ends under an open dataset.
    void closeWithoutEvents();

    void notifyCursorMoved();

private:
    friend class TField;
    QVariant fieldValue(int fieldNo) const;
    void setFieldValue(int fieldNo, const QVariant &value);

    void checkActive() const;
    void checkCanModify() const;
    void checkRequiredFields() const;
    void beginInsert(bool append);
    void dropNewRecord();
    void bindFields();
    void setState(TDataSetState state);
    void fire(const TDataSetNotifyEvent &event);
    int nextVisible(int from);
    int priorVisible(int from);
    int settle(int index, bool preferPrior);
    void firstAfterReset();

    // The filter's verdicts (datasetview.cpp).
    bool filtering() const { return m_filtered && m_onFilterRecord; }
    bool askFilter(int index);
    bool verdict(int index);
    void dropVerdicts();
    void buildShown();
    int shownCount();
    int shownBefore(int index);
    int pendingRow();
    int storeIndexOfViewRow(int row);
    void storedRowInserted(int index);
    void storedRowRemoved(int index);
    void storedRowChanged(int index);

    // Row numbers are worked out only for views that listen now; otherwise
    // the views only learn that something changed.
    bool viewsWatching() const { return m_disableCount == 0 && !m_observers.isEmpty(); }
    void markViewsStale();
    void notifyReset();
    void notifyRowInserted(int row);
    void notifyRowRemoved(int row);
    void notifyRowChanged(int row);
    void notifyState();
    void notifyRecord(TField *field);
    template <typename F> void forObservers(F f);

    TDataSetState m_state = dsInactive;
    int m_cur = -1;
    bool m_bof = true;
    bool m_eof = true;
    bool m_modified = false;
    TRecordBuffer m_buffer; // the record being edited or inserted
    int m_insertAt = 0;
    int m_savedCur = -1;
    bool m_savedBof = true, m_savedEof = true;
    int m_filterIndex = -1;
    bool m_filtered = false;
    TFilterRecordEvent m_onFilterRecord;
    // Per stored record: -1 not asked yet, 0 refused, 1 let through. Empty
    // when nothing is known. m_shown lists the records let through, once
    // every record was asked.
    std::vector<qint8> m_verdicts;
    std::vector<int> m_shown;
    bool m_shownBuilt = false;
    bool m_emptyTextIsNull = false;
    TFieldDefs m_boundDefs;
    std::vector<std::unique_ptr<TField>> m_fields;
    QList<TDataSetObserver *> m_observers;
    int m_disableCount = 0;
    TDataSetState m_disableState = dsInactive;
    bool m_pendingChange = false;
    int m_notifying = 0;
    std::vector<std::function<void()>> m_afterNotification;
};
