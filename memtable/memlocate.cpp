// Locate of the in-memory table: a linear scan over the records themselves.
#include "memorydata.h"

#include "locatekey.h"

bool TRxMemoryData::locateMatch(const QString &keyFields, const QVariant &keyValues,
                                TLocateOptions options, int &found, bool &bof)
{
    const std::vector<TLocateKey> keys = TLocateKey::prepare(*this, keyFields, keyValues, options);
    QVariant unpacked;
    const auto matches = [&](int index) {
        const TMemoryRecord &record = *m_records[size_t(index)];
        for (const TLocateKey &k : keys) {
            const QVariant &value =
                m_compact ? (unpacked = valueOf(record, k.fieldNo())) : record.Data[k.fieldNo()];
            if (!k.matches(value))
                return false;
        }
        return true;
    };

    const int current = currentIndex();
    if (current >= 0 && matches(current)) {
        found = current;
        bof = Bof();
        return true;
    }
    // The filter is asked only about records that match: it is the costly
    // test, and a refused record is skipped either way.
    const int count = int(m_records.size());
    for (int i = 0; i < count; ++i) {
        if (!matches(i) || !recordVisible(i))
            continue;
        found = i;
        bof = true; // the first visible record, as a walk from First leaves it
        for (int j = 0; j < i && bof; ++j)
            bof = !recordVisible(j);
        return true;
    }
    return false;
}

bool TRxMemoryData::Locate(const QString &keyFields, const QVariant &keyValues,
                           TLocateOptions options)
{
    if (BeforeScroll)
        BeforeScroll(this);
    CheckBrowseMode();
    if (IsEmpty())
        return false;
    int found = -1;
    bool bof = false;
    // The scan never moves the cursor, so when nothing matches the current
    // record, always a valid bookmark, simply stays current.
    if (!locateMatch(keyFields, keyValues, options, found, bof))
        return false;
    if (found != currentIndex())
        placeCursor(found, bof, false);
    notifyCursorMoved();
    if (AfterScroll)
        AfterScroll(this);
    return true;
}
