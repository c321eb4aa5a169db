// Company replication: one company section of 100 parameters copied from one
// user to 1,000 users (each text read, the section replaced, the text
// written, the company's rows deleted and inserted again, one commit),
// against a raw floor in the same run on the same file: the same 1,000
// PRAVLIN blob updates and 100,000 TABPRAVLIN inserts as statements prepared
// once on the Firebird client's own interfaces, in one transaction, each
// user's rows of the company deleted before its inserts (one DELETE of all
// of them first is far slower on disk); the texts are worked out before the
// timing. Both sides leave the same texts and rows. The database lives once
// in memory (/dev/shm) and once on disk; repetitions are interleaved and the
// medians must stay within 1.5x in each.
#include "benchsupport.h"
#include "fbapi.h"
#include "ibsql.h"
#include "pathutil.h"
#include "pravlin.h"
#include "pravlinsezioni.h"
#include "pravlintext.h"
#include "replicazione.h"
#include "tabform.h"
#include "win1252.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>

using namespace Firebird;

namespace {

constexpr int kUtenti = 1000; // destinations; user 1 is the source
constexpr int kDitte = 2;
constexpr int kParametri = 100;
constexpr double kRapportoMassimo = 1.5;
const QString kDitta = QStringLiteral("Ditta 00");

struct Banco
{
    explicit Banco(const QString &cartella)
        : archivio(QString(), cartella)
    {
        BenchSupport::fillUsers(archivio.db(), kUtenti + 1, kDitte, kParametri);
        scriviTesti();
        for (int u = 2; u <= kUtenti + 1; ++u)
            destinazioni << QString::number(u);
        // The first run appends nothing and replaces every section: from
        // then on each side rewrites the same content.
        replica();
        const QString sezione = sezioneOrigine();
        righe = Pravlin::DividiPravlin(sezione);
        for (int u = 2; u <= kUtenti + 1; ++u)
            testi[u] = Win1252::encode(Pravlin::SostituisciSezioneDitta(testo(u), kDitta, sezione));
    }

    // Each user's text from its rows, as the users editor's opening leaves it.
    void scriviTesti()
    {
        TIBTransaction tr;
        tr.setDefaultDatabase(archivio.db());
        TIBSQL q;
        q.setDatabase(archivio.db());
        q.setTransaction(&tr);
        q.SQL = QStringList{"SELECT UTENTE,INTESTAZIONE,PARAMETRO,VALORE FROM TABPRAVLIN",
                            "ORDER BY UTENTE,INTESTAZIONE,PROGRESSIVO"};
        std::map<int, QVector<TPravlin>> perUtente;
        for (q.ExecQuery(); !q.Eof(); q.Next())
            perUtente[q.Fields(0).AsInteger()].append(
                {q.Fields(1).AsString(), q.Fields(2).AsString(), q.Fields(3).AsString()});
        q.Close();
        TIBSQL u;
        u.setDatabase(archivio.db());
        u.setTransaction(&tr);
        u.SQL = QStringList{"UPDATE UTENTI SET PRAVLIN=:PRAVLIN WHERE CODICE=:CODICE"};
        for (const auto &[codice, voci] : perUtente) {
            u.ParamByName("PRAVLIN").setAsString(Pravlin::ComponiPravlin(voci));
            u.ParamByName("CODICE").setAsInteger(codice);
            u.ExecQuery();
        }
        tr.Commit();
    }

    QString testo(int utente)
    {
        TReplicazioneComponent r;
        r.SetDatabase(archivio.db());
        return r.LeggiPravlin(utente);
    }

    QString sezioneOrigine()
    {
        TReplicazioneComponent r;
        r.SetDatabase(archivio.db());
        r.Ditta = kDitta;
        QString sezione;
        r.LeggiSezioneDitta(1, sezione);
        return sezione;
    }

    void replica()
    {
        TReplicazioneComponent r;
        r.SetDatabase(archivio.db());
        r.UtenteOrigine = 1;
        r.Ditta = kDitta;
        r.UtentiDestinazione = destinazioni;
        r.Verifica();
        r.Esegui();
    }

    // Every text and row, as one digest: both sides must leave the same.
    QByteArray impronta()
    {
        TIBTransaction tr;
        tr.setDefaultDatabase(archivio.db());
        TIBSQL q;
        q.setDatabase(archivio.db());
        q.setTransaction(&tr);
        QCryptographicHash h(QCryptographicHash::Sha1);
        for (const char *sql :
             {"SELECT CODICE, PRAVLIN FROM UTENTI ORDER BY CODICE",
              "SELECT UTENTE, INTESTAZIONE, PARAMETRO, VALORE, PROGRESSIVO, VALORE IS NULL "
              "FROM TABPRAVLIN ORDER BY UTENTE, INTESTAZIONE, PARAMETRO"}) {
            q.Close();
            q.SQL = QStringList{QString::fromLatin1(sql)};
            for (q.ExecQuery(); !q.Eof(); q.Next())
                for (int i = 0; i < q.FieldCount(); ++i)
                    h.addData((q.Fields(i).AsString() + QLatin1Char('|')).toUtf8());
        }
        q.Close();
        tr.Commit();
        return h.result().toHex();
    }

    BenchSupport::UserDatabase archivio;
    QStringList destinazioni;
    QVector<TPravlin> righe;
    std::map<int, QByteArray> testi;
};

// ---- The raw floor -----------------------------------------------------------------

// An input message laid out as the engine describes the statement's parameters.
class Messaggio
{
public:
    Messaggio(IStatement *istruzione, ThrowStatusWrapper *st)
        : meta(istruzione->getInputMetadata(st))
        , dati(int(meta->getMessageLength(st)), '\0')
        , m_st(st)
    {
    }
    ~Messaggio() { meta->release(); }

    void intero(unsigned i, int valore)
    {
        char *p = dati.data() + meta->getOffset(m_st, i);
        if (meta->getType(m_st, i) == SQL_SHORT) {
            const ISC_SHORT v = ISC_SHORT(valore);
            std::memcpy(p, &v, sizeof v);
        } else {
            const ISC_LONG v = valore;
            std::memcpy(p, &v, sizeof v);
        }
    }
    void testo(unsigned i, const QByteArray &byte)
    {
        char *p = dati.data() + meta->getOffset(m_st, i);
        const ISC_USHORT n = ISC_USHORT(byte.size());
        std::memcpy(p, &n, sizeof n);
        std::memcpy(p + sizeof n, byte.constData(), n);
    }
    void quad(unsigned i, const ISC_QUAD &id)
    {
        std::memcpy(dati.data() + meta->getOffset(m_st, i), &id, sizeof id);
    }

    IMessageMetadata *meta;
    QByteArray dati; // null indicators stay 0: no NULLs are sent

private:
    ThrowStatusWrapper *m_st;
};

void pavimento(Banco &b)
{
    Fb::Status status;
    ThrowStatusWrapper *st = &status;
    status.run([&] {
        IAttachment *att = b.archivio.db()->attachment();
        ITransaction *tr = att->startTransaction(st, 0, nullptr);
        IStatement *aggiorna =
            att->prepare(st, tr, 0, "UPDATE UTENTI SET PRAVLIN=? WHERE CODICE=?", 3, 0);
        IStatement *inserisci =
            att->prepare(st, tr, 0,
                         "INSERT INTO TABPRAVLIN(UTENTE,INTESTAZIONE,PARAMETRO,VALORE,PROGRESSIVO) "
                         "VALUES(?,?,?,?,?)",
                         3, 0);
        IStatement *cancella = att->prepare(
            st, tr, 0, "DELETE FROM TABPRAVLIN WHERE UTENTE=? AND INTESTAZIONE=?", 3, 0);
        Messaggio m1(aggiorna, st), m2(inserisci, st), m3(cancella, st);
        // The values of the rows, the same for every user.
        QVector<QByteArray> nomi, valori;
        for (const TPravlin &p : b.righe) {
            nomi << Win1252::encode(p.Parametro);
            valori << Win1252::encode(Pravlin::ValoreTabella(p.Valore));
        }
        const QByteArray ditta = Win1252::encode(kDitta);
        for (const auto &[codice, testo] : b.testi) {
            ISC_QUAD id;
            IBlob *blob = att->createBlob(st, tr, &id, 0, nullptr);
            for (int da = 0; da < testo.size(); da += 32768)
                blob->putSegment(st, unsigned(qMin(32768, int(testo.size()) - da)),
                                 testo.constData() + da);
            blob->close(st);
            m1.quad(0, id);
            m1.intero(1, codice);
            aggiorna->execute(st, tr, m1.meta, m1.dati.data(), nullptr, nullptr);
            m3.intero(0, codice);
            m3.testo(1, ditta);
            cancella->execute(st, tr, m3.meta, m3.dati.data(), nullptr, nullptr);
            m2.intero(0, codice);
            m2.testo(1, ditta);
            for (int n = 0; n < nomi.size(); ++n) {
                m2.testo(2, nomi[n]);
                m2.testo(3, valori[n]);
                m2.intero(4, n + 1);
                inserisci->execute(st, tr, m2.meta, m2.dati.data(), nullptr, nullptr);
            }
        }
        tr->commit(st);
        aggiorna->free(st);
        inserisci->free(st);
        cancella->free(st);
    });
}

std::unique_ptr<Banco> memoria, disco;
std::map<std::string, QByteArray> impronte;

void replica(benchmark::State &state, Banco &b, const char *nome)
{
    for (auto _ : state)
        b.replica();
    impronte[nome] = b.impronta();
}

void pavimento(benchmark::State &state, Banco &b, const char *nome)
{
    for (auto _ : state)
        pavimento(b);
    impronte[nome] = b.impronta();
}

void BM_ReplicaMemoria(benchmark::State &s)
{
    replica(s, *memoria, __func__);
}
void BM_PavimentoMemoria(benchmark::State &s)
{
    pavimento(s, *memoria, __func__);
}
void BM_ReplicaDisco(benchmark::State &s)
{
    replica(s, *disco, __func__);
}
void BM_PavimentoDisco(benchmark::State &s)
{
    pavimento(s, *disco, __func__);
}
BENCHMARK(BM_ReplicaMemoria)->Apply(BenchSupport::repeated)->UseRealTime();
BENCHMARK(BM_PavimentoMemoria)->Apply(BenchSupport::repeated)->UseRealTime();
BENCHMARK(BM_ReplicaDisco)->Apply(BenchSupport::repeated)->UseRealTime();
BENCHMARK(BM_PavimentoDisco)->Apply(BenchSupport::repeated)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (!BenchSupport::initialize(argc, argv))
        return 1;
    BenchSupport::reportErrorBoxes();
    const QString inMemoria =
        QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
    // Beside the program: a real disk where /tmp might not be.
    memoria = std::make_unique<Banco>(inMemoria);
    disco = std::make_unique<Banco>(QCoreApplication::applicationDirPath());

    BenchSupport::Medians reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    memoria.reset();
    disco.reset();
    setProgramFolder(QString());

    bool uguali = true;
    for (const char *luogo : {"Memoria", "Disco"}) {
        const auto r = impronte.find(std::string("BM_Replica") + luogo);
        const auto p = impronte.find(std::string("BM_Pavimento") + luogo);
        if (r != impronte.end() && p != impronte.end() && r->second != p->second) {
            std::printf("%s: the replication and the floor left different rows\n", luogo);
            uguali = false;
        }
    }
    bool entro = true;
    for (const char *luogo : {"Memoria", "Disco"}) {
        const auto rapporto =
            reporter.ratio(std::string("BM_Replica") + luogo, std::string("BM_Pavimento") + luogo);
        if (rapporto)
            entro = BenchSupport::reportRatio(std::string("Replica ditte / raw floor, ") +
                                                  (luogo[0] == 'M' ? "in memory" : "on disk"),
                                              *rapporto, kRapportoMassimo) &&
                    entro;
    }
    return uguali && entro ? 0 : 1;
}
