#include "ibdatabase.h"

#include "fbapi.h"
#include "win1252.h"

#include <ibase.h>

#include <QElapsedTimer>
#include <QRegularExpression>

using namespace Firebird;

namespace {

// Values of "USER \"x\"" style creation lines.
QString creationValue(const QStringList &params, const QString &word)
{
    static const QRegularExpression re(QStringLiteral("^\\s*(\\w+)\\s+\"?(.*?)\"?\\s*$"));
    for (const QString &line : params) {
        const auto m = re.match(line);
        if (m.hasMatch() && m.captured(1).compare(word, Qt::CaseInsensitive) == 0)
            return m.captured(2);
    }
    return {};
}

// Linux clients have no Windows network protocol: "\\server\path" is handed
// to the client as "server:path".
QByteArray clientName(const QString &name)
{
    QString n = name;
    if (n.startsWith(QLatin1String("\\\\"))) {
        n = n.mid(2);
        const int slash = n.indexOf(QLatin1Char('\\'));
        if (slash > 0)
            n = n.left(slash) + QLatin1Char(':') + n.mid(slash + 1);
    }
    return n.toLocal8Bit();
}

} // namespace

int TIBDatabase::s_connectTimeout = TIBDatabase::DefaultConnectTimeout;

void TIBDatabase::setConnectTimeout(int seconds)
{
    s_connectTimeout = seconds > 0 ? seconds : DefaultConnectTimeout;
}

TIBDatabase::TIBDatabase(QObject *owner)
    : QObject(owner)
{
}

TIBDatabase::~TIBDatabase()
{
    try {
        Close();
    } catch (const EIBError &) {
        // Nothing sensible to report while being destroyed.
    }
    for (TIBTransaction *t : qAsConst(m_transactions))
        t->m_database = nullptr;
}

QString TIBDatabase::paramValue(const QString &key) const
{
    for (const QString &line : Params) {
        const int eq = line.indexOf(QLatin1Char('='));
        if (eq > 0 && line.left(eq).trimmed().compare(key, Qt::CaseInsensitive) == 0)
            return line.mid(eq + 1);
    }
    return {};
}

IAttachment *TIBDatabase::attachment() const
{
    if (!m_attachment)
        throw EIBError(QStringLiteral("Database non aperto"));
    return m_attachment;
}

void TIBDatabase::Open()
{
    if (!m_attachment)
        attach(false);
}

void TIBDatabase::CreateDatabase()
{
    Close();
    attach(true);
}

void TIBDatabase::attach(bool create)
{
    QElapsedTimer clock;
    clock.start();
    try {
        attachOnce(create);
    } catch (const EIBError &e) {
        // The client reports a server that never answered as a refusal or a
        // network failure; only the time taken tells them apart.
        const bool silent =
            e.hasCode(IBErrorCodes::ConnectRejected) || e.hasCode(IBErrorCodes::NetworkError);
        if (!silent || clock.elapsed() < qint64(s_connectTimeout) * 1000 - 250)
            throw;
        throw EIBError(
            QStringLiteral("Il server non ha risposto entro %1 secondi\n").arg(s_connectTimeout) +
                e.message(),
            e.codes(), e.osErrno());
    }
}

void TIBDatabase::attachOnce(bool create)
{
    Fb::Status st;
    st.run([&] {
        Fb::Ref<IXpbBuilder> dpb(Fb::util()->getXpbBuilder(&st, IXpbBuilder::DPB, nullptr, 0));
        QString user = create ? creationValue(Params, QStringLiteral("USER")) : QString();
        QString password = create ? creationValue(Params, QStringLiteral("PASSWORD")) : QString();
        if (user.isEmpty())
            user = paramValue(QStringLiteral("user_name"));
        if (password.isEmpty())
            password = paramValue(QStringLiteral("password"));
        if (!user.isEmpty())
            dpb->insertString(&st, isc_dpb_user_name, Win1252::encode(user).constData());
        if (!password.isEmpty())
            dpb->insertString(&st, isc_dpb_password, Win1252::encode(password).constData());
        dpb->insertString(&st, isc_dpb_lc_ctype, "WIN1252");
        dpb->insertInt(&st, isc_dpb_sql_dialect, SQLDialect);
        // Without it a server that accepts the connection and never answers
        // holds the caller for the client's default of 180 seconds.
        dpb->insertInt(&st, isc_dpb_connect_timeout, s_connectTimeout);
        if (create) {
            const QString pageSize = creationValue(Params, QStringLiteral("PAGE_SIZE"));
            dpb->insertInt(&st, isc_dpb_page_size, pageSize.isEmpty() ? 4096 : pageSize.toInt());
        }
        // Paths are passed as bytes; a file name is never part of a statement text.
        const QByteArray name = clientName(DatabaseName);
        IProvider *provider = Fb::master()->getDispatcher();
        const auto len = dpb->getBufferLength(&st);
        const auto *buf = dpb->getBuffer(&st);
        IAttachment *att = nullptr;
        try {
            att = create ? provider->createDatabase(&st, name.constData(), len, buf)
                         : provider->attachDatabase(&st, name.constData(), len, buf);
        } catch (...) {
            provider->release();
            throw;
        }
        provider->release();
        m_attachment = att;
    });
}

void TIBDatabase::Close()
{
    if (!m_attachment)
        return;
    // The class library committed what was still open before disconnecting.
    for (TIBTransaction *t : qAsConst(m_transactions)) {
        if (t->InTransaction())
            t->Commit();
    }
    const auto clients = m_clients;
    for (TIBClient *c : clients)
        c->databaseClosing(this);
    Fb::Status st;
    IAttachment *att = m_attachment;
    m_attachment = nullptr;
    try {
        st.run([&] { att->detach(&st); });
    } catch (const EIBError &) {
        att->release();
        throw;
    }
}

void TIBDatabase::addClient(TIBClient *client)
{
    if (!m_clients.contains(client))
        m_clients.append(client);
}

void TIBDatabase::removeClient(TIBClient *client)
{
    m_clients.removeAll(client);
}

// ---------------------------------------------------------------------------

TIBTransaction::TIBTransaction(QObject *owner)
    : QObject(owner)
{
}

TIBTransaction::~TIBTransaction()
{
    if (m_transaction) {
        try {
            Rollback();
        } catch (const EIBError &) {
            m_transaction->release();
            m_transaction = nullptr;
        }
    }
    setDefaultDatabase(nullptr);
}

void TIBTransaction::setDefaultDatabase(TIBDatabase *db)
{
    if (db == m_database)
        return;
    if (m_database) {
        m_database->m_transactions.removeAll(this);
        if (m_database->DefaultTransaction == this)
            m_database->DefaultTransaction = nullptr;
    }
    m_database = db;
    if (m_database) {
        m_database->m_transactions.append(this);
        if (!m_database->DefaultTransaction)
            m_database->DefaultTransaction = this;
    }
}

QByteArray TIBTransaction::buildTpb(bool *waits) const
{
    struct Option
    {
        const char *name;
        char tag;
    };
    static const Option options[] = {{"consistency", isc_tpb_consistency},
                                     {"concurrency", isc_tpb_concurrency},
                                     {"shared", isc_tpb_shared},
                                     {"protected", isc_tpb_protected},
                                     {"exclusive", isc_tpb_exclusive},
                                     {"wait", isc_tpb_wait},
                                     {"nowait", isc_tpb_nowait},
                                     {"read", isc_tpb_read},
                                     {"write", isc_tpb_write},
                                     {"read_committed", isc_tpb_read_committed},
                                     {"rec_version", isc_tpb_rec_version},
                                     {"no_rec_version", isc_tpb_no_rec_version},
                                     {"no_auto_undo", isc_tpb_no_auto_undo}};

    QByteArray tpb(1, char(isc_tpb_version3));
    bool isolation = false, lockResolution = false, access = false;
    for (QString p : Params) {
        p = p.trimmed().toLower();
        if (p.isEmpty())
            continue;
        if (p.startsWith(QLatin1String("isc_tpb_")))
            p = p.mid(8);
        if (p.startsWith(QLatin1String("lock_timeout="))) {
            // Seconds a wait lasts before the statement fails with a lock time-out.
            bool ok = false;
            const int seconds = p.mid(13).trimmed().toInt(&ok);
            if (!ok || seconds <= 0)
                throw EIBError(QStringLiteral("Parametro di transazione non valido: %1").arg(p));
            tpb.append(char(isc_tpb_lock_timeout));
            tpb.append(char(4));
            for (int k = 0; k < 4; ++k)
                tpb.append(char((seconds >> (8 * k)) & 0xff));
            continue;
        }
        bool known = false;
        for (const Option &o : options) {
            if (p == QLatin1String(o.name)) {
                tpb.append(o.tag);
                known = true;
                isolation |= o.tag == isc_tpb_consistency || o.tag == isc_tpb_concurrency ||
                             o.tag == isc_tpb_read_committed;
                lockResolution |= o.tag == isc_tpb_wait || o.tag == isc_tpb_nowait;
                if (waits && (o.tag == isc_tpb_wait || o.tag == isc_tpb_nowait))
                    *waits = o.tag == isc_tpb_wait;
                access |= o.tag == isc_tpb_read || o.tag == isc_tpb_write;
            }
        }
        if (!known)
            throw EIBError(QStringLiteral("Parametro di transazione sconosciuto: %1").arg(p));
    }
    if (!isolation)
        tpb.append(char(isc_tpb_concurrency));
    if (!lockResolution) {
        tpb.append(char(isc_tpb_wait));
        if (waits)
            *waits = true;
    }
    if (!access)
        tpb.append(char(isc_tpb_write));
    return tpb;
}

void TIBTransaction::StartTransaction()
{
    if (!m_database)
        throw EIBError(QStringLiteral("La transazione non ha un database"));
    if (m_transaction)
        throw EIBError(QStringLiteral("La transazione è già attiva"));
    bool waits = false;
    const QByteArray tpb = buildTpb(&waits);
    IAttachment *att = m_database->attachment();
    Fb::Status st;
    m_transaction = st.run([&] {
        return att->startTransaction(&st, unsigned(tpb.size()),
                                     reinterpret_cast<const unsigned char *>(tpb.constData()));
    });
    m_waits = waits;
}

void TIBTransaction::ensureStarted()
{
    if (!m_transaction)
        StartTransaction();
}

void TIBTransaction::setActive(bool value)
{
    if (value && !m_transaction)
        StartTransaction();
    else if (!value && m_transaction)
        Commit();
}

void TIBTransaction::notifyEnding()
{
    const auto clients = m_clients;
    for (TIBClient *c : clients)
        c->transactionEnding(this);
}

void TIBTransaction::end(bool commit)
{
    if (!m_transaction)
        throw EIBError(QStringLiteral("La transazione non è attiva"));
    notifyEnding();
    Fb::Status st;
    st.run([&] { commit ? m_transaction->commit(&st) : m_transaction->rollback(&st); });
    // On success the client has released the handle itself.
    m_transaction = nullptr;
}

void TIBTransaction::Commit()
{
    end(true);
}

void TIBTransaction::Rollback()
{
    end(false);
}

void TIBTransaction::CommitRetaining()
{
    if (!m_transaction)
        throw EIBError(QStringLiteral("La transazione non è attiva"));
    Fb::Status st;
    st.run([&] { m_transaction->commitRetaining(&st); });
}

void TIBTransaction::RollbackRetaining()
{
    if (!m_transaction)
        throw EIBError(QStringLiteral("La transazione non è attiva"));
    Fb::Status st;
    st.run([&] { m_transaction->rollbackRetaining(&st); });
}

void TIBTransaction::addClient(TIBClient *client)
{
    if (!m_clients.contains(client))
        m_clients.append(client);
}

void TIBTransaction::removeClient(TIBClient *client)
{
    m_clients.removeAll(client);
}
