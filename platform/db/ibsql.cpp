#include "ibsql.h"

#include "dbwait.h"
#include "fbapi.h"
#include "ibmessage.h"
#include "ibrows.h"
#include "sqlparams.h"
#include "win1252.h"

#include <ibase.h>

#include <cstring>
#include <string>
#include <vector>

using namespace Firebird;

bool TSQLField::isBlob() const
{
    return SQLType == SQL_BLOB;
}

TIBValue &TSQLParams::ByName(const QString &name)
{
    if (TIBValue *p = FindParam(name))
        return *p;
    throw EIBError(QStringLiteral("Parametro %1 non trovato").arg(name));
}

TIBValue *TSQLParams::FindParam(const QString &name)
{
    for (TIBValue &p : m_params) {
        if (p.Name.compare(name, Qt::CaseInsensitive) == 0)
            return &p;
    }
    return nullptr;
}

void TSQLParams::setNames(const QStringList &names)
{
    QVector<TIBValue> next;
    for (const QString &n : names) {
        bool seen = false;
        for (const TIBValue &p : next)
            seen |= !n.isEmpty() && p.Name == n;
        if (seen)
            continue;
        // A value set before the text changed survives under the same name.
        const TIBValue *old = n.isEmpty() ? nullptr : FindParam(n);
        next.append(old ? *old : TIBValue(n));
    }
    m_params = next;
}

void TSQLParams::ClearValues()
{
    for (TIBValue &p : m_params)
        p.Clear();
}

// ---------------------------------------------------------------------------

struct TIBSQL::Impl
{
    QString preparedText;
    // The lines prepared: while SQL is still this list, the statement runs
    // again without the text being joined and compared.
    QStringList preparedLines;
    QStringList positionalNames; // name of each "?" in order
    // For each "?", the parameter that gives its value: the first of its name.
    QVector<int> valueOf;
    QVector<const TIBValue *> values; // each run's, kept to spare an allocation
    IStatement *statement = nullptr;
    IMessageMetadata *inMeta = nullptr;
    IMessageMetadata *outMeta = nullptr;
    IResultSet *cursor = nullptr;
    unsigned type = 0;
    std::vector<unsigned char> outBuffer;
    std::vector<IBMessage::Column> columns;
    // The last text read in each column, as bytes and as value: a text that
    // repeats from row to row (a library's name on every menu entry) is
    // shared by the fields, and by whatever a reader keeps of them, instead
    // of decoded again.
    std::vector<std::string> lastText;
    std::vector<QVariant> lastValue;
    // Rows read and texts found repeated in each column, over its first
    // kRowsWeighed rows: a column that seldom repeats is read straight.
    std::vector<int> rowsWeighed;
    std::vector<int> repeats;
    std::unique_ptr<IBMessage::InputMessage> input;
    Fb::Status fetchStatus; // one for every row of a cursor
    Fb::Status execStatus;  // one for every run
    // The rows the last run changed, asked of the engine only when someone
    // wants them: a statement run for each of many rows spares the call.
    qint64 rowsAffected = -1;
    bool rowsPending = false;

    void takeRowsAffected()
    {
        if (!rowsPending || !statement)
            return;
        rowsPending = false;
        try {
            execStatus.run(
                [&] { rowsAffected = qint64(statement->getAffectedRecords(&execStatus)); });
        } catch (const EIBError &) {
            rowsAffected = -1;
        }
    }

    void closeCursor()
    {
        if (!cursor)
            return;
        Fb::Status st;
        try {
            st.run([&] { cursor->close(&st); });
        } catch (const EIBError &) {
            cursor->release();
        }
        cursor = nullptr;
    }

    // The count of the last run is taken first, while the statement is
    // there to answer, unless nobody can ask for it any more.
    void release(bool keepCount = true)
    {
        if (keepCount)
            takeRowsAffected();
        rowsPending = false;
        closeCursor();
        input.reset();
        if (inMeta)
            inMeta->release();
        if (outMeta)
            outMeta->release();
        if (statement)
            statement->release();
        inMeta = outMeta = nullptr;
        statement = nullptr;
        preparedText.clear();
        preparedLines.clear();
    }
};

// Changing the database drops the prepared statement, changing the
// transaction the open cursor.
TIBSQL::TIBSQL(QObject *owner)
    : QObject(owner)
    , m_binding(
          this, [this] { freeStatement(); }, [this] { Close(); })
    , d(std::make_unique<Impl>())
{
}

TIBSQL::~TIBSQL()
{
    d->release(false);
}

bool TIBSQL::Open() const
{
    return d->cursor != nullptr;
}

bool TIBSQL::Prepared() const
{
    return d->statement != nullptr;
}

qint64 TIBSQL::RowsAffected() const
{
    d->takeRowsAffected();
    return d->rowsAffected;
}

void TIBSQL::syncParams()
{
    const QString text = SQL.join(QLatin1Char('\n'));
    if (text == m_scannedText)
        return;
    m_scannedText = text;
    if (ParamCheck)
        m_params.setNames(parseSqlParams(text).names);
}

TSQLParams &TIBSQL::Params()
{
    syncParams();
    return m_params;
}

void TIBSQL::freeStatement()
{
    d->release();
    m_eof = true;
}

void TIBSQL::Prepare()
{
    m_binding.checkReady();
    if (d->statement && SQL == d->preparedLines)
        return;
    const QString text = SQL.join(QLatin1Char('\n'));
    if (d->statement && text == d->preparedText) {
        d->preparedLines = SQL;
        return;
    }
    freeStatement();

    ParsedSql parsed = ParamCheck ? parseSqlParams(text) : ParsedSql{text, {}};
    const QByteArray bytes = Win1252::encode(parsed.text);
    Transaction()->ensureStarted();

    Fb::Status st;
    st.run([&] {
        d->statement = Database()->attachment()->prepare(
            &st, Transaction()->handle(), unsigned(bytes.size()), bytes.constData(),
            unsigned(Database()->SQLDialect), IStatement::PREPARE_PREFETCH_METADATA);
        d->type = d->statement->getType(&st);
        d->inMeta = d->statement->getInputMetadata(&st);
        d->outMeta = d->statement->getOutputMetadata(&st);

        const unsigned inCount = d->inMeta->getCount(&st);
        if (!ParamCheck) {
            parsed.names.clear();
            for (unsigned i = 0; i < inCount; ++i)
                parsed.names.append(QString());
        }
        d->positionalNames = parsed.names;
        m_params.setNames(parsed.names);
        d->valueOf.clear();
        for (int i = 0; i < parsed.names.size(); ++i) {
            const QString &name = parsed.names.at(i);
            int first = i;
            if (!name.isEmpty()) {
                for (first = 0; first < i; ++first) {
                    if (parsed.names.at(first).compare(name, Qt::CaseInsensitive) == 0)
                        break;
                }
            }
            d->valueOf.append(first);
        }
        // The names now stand for this text: a later change of it is scanned anew.
        m_scannedText = text;

        const unsigned outCount = d->outMeta->getCount(&st);
        d->outBuffer.assign(d->outMeta->getMessageLength(&st), 0);
        m_fields.clear();
        d->columns.clear();
        d->lastText.assign(outCount, std::string());
        d->lastValue.assign(outCount, QVariant());
        d->rowsWeighed.assign(outCount, 0);
        d->repeats.assign(outCount, 0);
        for (unsigned i = 0; i < outCount; ++i) {
            d->columns.push_back(IBMessage::describe(&st, d->outMeta, i));
            TSQLField f(Win1252::decode(QByteArray(d->outMeta->getAlias(&st, i))));
            f.SQLType = int(d->outMeta->getType(&st, i) & ~1u);
            f.SubType = d->outMeta->getSubType(&st, i);
            f.Size = int(d->outMeta->getLength(&st, i));
            f.Scale = d->outMeta->getScale(&st, i);
            f.RelationName = QString::fromLatin1(d->outMeta->getRelation(&st, i));
            m_fields.append(f);
        }
    });
    d->preparedText = text;
    d->preparedLines = SQL;
}

void TIBSQL::ExecQuery()
{
    Prepare();
    Close();
    Transaction()->ensureStarted();
    IAttachment *att = Database()->attachment();
    ITransaction *tra = Transaction()->handle();

    QVector<const TIBValue *> &values = d->values;
    values.clear();
    for (const int i : d->valueOf)
        values.append(&m_params[i]);
    if (!d->input)
        d->input = std::make_unique<IBMessage::InputMessage>(d->inMeta);
    IBMessage::InputMessage &input = *d->input;
    input.build(values, d->positionalNames, att, tra);

    Fb::Status &st = d->execStatus;
    const DbWait::Scope waiting(Transaction()->Waits());
    d->rowsPending = false;
    d->rowsAffected = -1;
    st.run([&] {
        const bool select =
            d->type == isc_info_sql_stmt_select || d->type == isc_info_sql_stmt_select_for_upd;
        if (select) {
            d->cursor =
                d->statement->openCursor(&st, tra, input.meta(), input.buffer(), d->outMeta, 0);
        } else {
            const bool hasOutput = d->outMeta->getCount(&st) > 0;
            d->statement->execute(&st, tra, input.meta(), input.buffer(),
                                  hasOutput ? d->outMeta : nullptr,
                                  hasOutput ? d->outBuffer.data() : nullptr);
            d->rowsPending = true;
            if (hasOutput) {
                readRow();
                m_eof = false;
            }
        }
    });
    if (d->cursor)
        fetch();
}

void TIBSQL::fetch()
{
    Fb::Status &st = d->fetchStatus;
    const int rc = st.run([&] { return d->cursor->fetchNext(&st, d->outBuffer.data()); });
    m_eof = rc != IStatus::RESULT_OK;
    if (!m_eof && !RowsTaken)
        readRow();
}

// A text equal to the column's last one shares its string; a column whose
// texts seldom repeat over its first rows is read straight, uncompared.
void TIBSQL::columnValue(int i, IAttachment *att, ITransaction *tra, QVariant &out)
{
    const unsigned char *buf = d->outBuffer.data();
    const IBMessage::Column &c = d->columns[size_t(i)];
    const char *text = nullptr;
    size_t length = 0;
    if (!IBMessage::textOf(c, buf, text, length)) {
        out = IBMessage::readColumn(c, buf, att, tra, BlobIds);
        return;
    }
    constexpr int kRowsWeighed = 64;
    int &weighed = d->rowsWeighed[size_t(i)];
    int &repeats = d->repeats[size_t(i)];
    if (weighed == kRowsWeighed && repeats * 4 < kRowsWeighed) {
        out = IBMessage::readColumn(c, buf, att, tra, BlobIds);
        return;
    }
    std::string &last = d->lastText[size_t(i)];
    QVariant &value = d->lastValue[size_t(i)];
    if (!value.isValid() || last.size() != length || std::memcmp(last.data(), text, length) != 0) {
        value = IBMessage::readColumn(c, buf, att, tra, BlobIds);
        last.assign(text, length);
    } else if (weighed < kRowsWeighed) {
        ++repeats;
    }
    if (weighed < kRowsWeighed)
        ++weighed;
    out = value;
}

void TIBSQL::readRow()
{
    IAttachment *att = Database()->attachment();
    ITransaction *tra = Transaction()->handle();
    QVariant v;
    for (int i = 0; i < m_fields.size(); ++i) {
        columnValue(i, att, tra, v);
        m_fields[i].setValue(std::move(v));
    }
}

void TIBSQL::TakeRows(IBRows &rows)
{
    rows.reset(d->columns);
    while (!m_eof) {
        rows.append(d->outBuffer.data());
        if (!d->cursor)
            break; // a procedure's single output row
        fetch();
    }
}

void TIBSQL::Next()
{
    if (!d->cursor || m_eof)
        return;
    fetch();
}

void TIBSQL::Close()
{
    d->closeCursor();
    m_eof = true;
}

TSQLField *TIBSQL::FindField(const QString &name)
{
    for (TSQLField &f : m_fields) {
        if (f.Name.compare(name, Qt::CaseInsensitive) == 0)
            return &f;
    }
    return nullptr;
}

TSQLField &TIBSQL::FieldByName(const QString &name)
{
    if (TSQLField *f = FindField(name))
        return *f;
    throw EIBError(QStringLiteral("Campo '%1' non trovato").arg(name));
}

void TIBSQL::transactionEnding(TIBTransaction *)
{
    Close();
}

void TIBSQL::databaseClosing(TIBDatabase *)
{
    freeStatement();
}
