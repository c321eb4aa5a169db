#include "currentrecord.h"

#include "dataset.h"
#include "guard.h"

#include <QObject>
#include <QPointer>

namespace {

class TCurrentRecordWatch : public QObject, public TDataSetObserver
{
public:
    TCurrentRecordWatch(TDataSet *dataSet, const QString &field, QObject *context,
                        std::function<void()> handler)
        : QObject(context)
        , m_dataSet(dataSet)
        , m_field(field)
        , m_handler(std::move(handler))
    {
        m_dataSet->addObserver(this);
    }
    ~TCurrentRecordWatch() override
    {
        if (m_dataSet)
            m_dataSet->removeObserver(this);
    }

private:
    void dataSetReset(TDataSet *) override
    {
        if (m_dataSet->Active())
            schedule();
    }
    void cursorMoved(TDataSet *) override { schedule(); }
    void rowChanged(TDataSet *, int row) override
    {
        if (row == m_dataSet->ViewCurrentRow())
            schedule();
    }
    void recordChanged(TDataSet *, TField *field) override
    {
        if (!field || field == m_dataSet->FindField(m_field))
            schedule();
    }
    void dataSetDestroyed(TDataSet *) override { m_dataSet = nullptr; }

    // Several pieces of news in one notification make one call.
    void schedule()
    {
        if (m_pending)
            return;
        m_pending = true;
        QPointer<TCurrentRecordWatch> self(this);
        m_dataSet->afterNotification([self] {
            if (!self)
                return;
            self->m_pending = false;
            if (self->m_dataSet && self->m_dataSet->Active())
                Guard::run(self->m_handler);
        });
    }

    TDataSet *m_dataSet;
    const QString m_field;
    const std::function<void()> m_handler;
    bool m_pending = false;
};

} // namespace

void onCurrentRecord(TDataSet *dataSet, const QString &field, QObject *context,
                     std::function<void()> handler)
{
    new TCurrentRecordWatch(dataSet, field, context, std::move(handler));
}
