// Opening the users editor rebuilds every user's parameter text from its
// TABPRAVLIN rows, then shows the users. On a user database of 1,000 users
// with ten companies of ten parameters each, kept in memory and on disk, the
// whole opening (the editor built offscreen, its grid filled, then destroyed)
// is measured against a floor run straight through the Firebird client in the
// same run on the same file: the users' codes, one SELECT of every row, the
// texts built in memory and compared with the stored ones, one update
// (committed on its own) for each text that differs, then the users' query
// fetched. Both sides must leave the same texts, byte for byte. Every
// repetition starts settled: the windows of the last one gone, the old row
// versions read. Repetitions are interleaved; the medians must stay within
// 1.5x.
#include "benchsupport.h"
#include "dbgrid.h"
#include "ibsql.h"
#include "messages.h"
#include "pathutil.h"
#include "pravlintext.h"
#include "rawsql.h"
#include "tabform.h"
#include "utentiform.h"
#include "win1252.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QThread>
#include <cstdio>
#include <map>
#include <memory>

using BenchSupport::RawStatement;

namespace {

constexpr int kUtenti = 1000;
constexpr int kDitte = 10;
constexpr int kParametri = 10;
constexpr double kRapportoMassimo = 1.5;

struct Banco
{
    explicit Banco(const QString &cartella)
        : archivio(QString(), cartella)
    {
    }
    BenchSupport::UserDatabase archivio;
    TTabForm *variabile = archivio.tab.get();
};

Banco *banco = nullptr;

// Every user's text as the rows make it, in the connection's bytes.
std::map<int, QByteArray> testiDalleRighe(TIBDatabase *db, TIBTransaction *tr)
{
    std::map<int, QByteArray> testi;
    {
        RawStatement codici(db, tr, "SELECT DISTINCT(CODICE) FROM UTENTI");
        for (codici.open(); codici.next();)
            testi[int(codici.integer(0))];
    }
    RawStatement q(db, tr,
                   "SELECT UTENTE,INTESTAZIONE,PARAMETRO,VALORE FROM TABPRAVLIN "
                   "WHERE INTESTAZIONE IS NOT NULL ORDER BY UTENTE,INTESTAZIONE,PROGRESSIVO");
    std::map<int, QVector<TPravlin>> righe;
    for (q.open(); q.next();)
        righe[int(q.integer(0))].append(
            {Win1252::decode(q.text(1)), Win1252::decode(q.text(2)), Win1252::decode(q.text(3))});
    for (auto &[codice, testo] : testi)
        testo = Win1252::encode(Pravlin::ComponiPravlin(righe[codice]));
    return testi;
}

std::map<int, QByteArray> testiMemorizzati(TIBDatabase *db, TIBTransaction *tr)
{
    RawStatement q(db, tr, "SELECT CODICE,PRAVLIN FROM UTENTI");
    std::map<int, QByteArray> testi;
    for (q.open(); q.next();)
        testi[int(q.integer(0))] = q.blob(1);
    return testi;
}

// The floor: the texts from one pass over the rows, each compared with the
// stored one and written, committed on its own, only where it differs; then
// the users' query.
void pavimento(TIBDatabase *db)
{
    TIBTransaction tr;
    tr.setDefaultDatabase(db);
    const std::map<int, QByteArray> testi = testiDalleRighe(db, &tr);
    const std::map<int, QByteArray> memorizzati = testiMemorizzati(db, &tr);
    tr.Commit();
    {
        RawStatement u(db, &tr, "UPDATE UTENTI SET PRAVLIN=? WHERE CODICE=?");
        for (const auto &[codice, testo] : testi) {
            const auto m = memorizzati.find(codice);
            if (m != memorizzati.end() && m->second == testo)
                continue;
            if (testo.isEmpty())
                u.setNull(0);
            else
                u.setText(0, testo);
            u.setInteger(1, codice);
            u.execute();
            tr.Commit();
            tr.StartTransaction();
        }
    }
    {
        RawStatement utenti(db, &tr, "SELECT * FROM UTENTI ORDER BY CODICE");
        int n = 0;
        for (utenti.open(); utenti.next();)
            ++n;
        benchmark::DoNotOptimize(n);
    }
    tr.Commit();
}

// The same start for every repetition: the last one's windows gone, the
// row versions it left read once, a moment for the engine's own threads.
void assesta()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QApplication::processEvents();
    TIBDatabase *db = banco->archivio.db();
    TIBTransaction tr;
    tr.setDefaultDatabase(db);
    for (const char *sql : {"SELECT COUNT(*) FROM UTENTI", "SELECT COUNT(*) FROM TABPRAVLIN"}) {
        RawStatement q(db, &tr, sql);
        q.open();
        q.next();
    }
    tr.Commit();
    QThread::msleep(50);
}

// Both sides' texts must be those the rows make, byte for byte.
bool testiGiusti(const char *chi)
{
    TIBDatabase *db = banco->archivio.db();
    TIBTransaction tr;
    tr.setDefaultDatabase(db);
    const std::map<int, QByteArray> attesi = testiDalleRighe(db, &tr);
    const std::map<int, QByteArray> scritti = testiMemorizzati(db, &tr);
    tr.Commit();
    if (attesi.size() == size_t(kUtenti) && attesi == scritti)
        return true;
    for (const auto &[codice, testo] : attesi) {
        const QByteArray scritto = scritti.count(codice) ? scritti.at(codice) : QByteArray();
        if (scritto != testo) {
            std::printf("%s left texts other than the floor's: user %d, %d bytes against %d "
                        "(%s against %s)\n",
                        chi, codice, int(scritto.size()), int(testo.size()),
                        scritto.left(60).toPercentEncoding().constData(),
                        testo.left(60).toPercentEncoding().constData());
            return false;
        }
    }
    std::printf("%s left %d texts for %d users\n", chi, int(scritti.size()), int(attesi.size()));
    return false;
}

bool testiUguali = true;

void preparaBanco(const QString &cartella)
{
    banco = new Banco(cartella);
    BenchSupport::fillUsers(banco->archivio.db(), kUtenti, kDitte, kParametri, true);
    // The editor reads the users' codes in the shared transaction: its
    // snapshot must see the users just made.
    TIBTransaction *condivisa = banco->archivio.tr();
    if (condivisa->InTransaction())
        condivisa->Commit();
    condivisa->StartTransaction();
    // The untimed first opening writes every text once.
    TUtentiForm(nullptr, banco->variabile);
    testiUguali = testiGiusti("the first opening") && testiUguali;
}

void BM_AperturaGestioneUtenti(benchmark::State &state)
{
    for (auto _ : state) {
        assesta();
        QElapsedTimer t;
        t.start();
        {
            TUtentiForm editor(nullptr, banco->variabile);
            editor.show();
            QApplication::processEvents();
            if (editor.GridUtenti->model()->rowCount() != kUtenti)
                state.SkipWithError("the grid is not filled");
        }
        state.SetIterationTime(t.nsecsElapsed() / 1e9);
    }
    testiUguali = testiGiusti("the opening") && testiUguali;
}
BENCHMARK(BM_AperturaGestioneUtenti)->Apply(BenchSupport::repeated)->UseManualTime();

void BM_PavimentoUnaSelectEAggiornamenti(benchmark::State &state)
{
    for (auto _ : state) {
        assesta();
        QElapsedTimer t;
        t.start();
        pavimento(banco->archivio.db());
        state.SetIterationTime(t.nsecsElapsed() / 1e9);
    }
    testiUguali = testiGiusti("the floor") && testiUguali;
}
BENCHMARK(BM_PavimentoUnaSelectEAggiornamenti)->Apply(BenchSupport::repeated)->UseManualTime();

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (!BenchSupport::initialize(argc, argv))
        return 1;
    Messages::setResponder([](const TMessage &m) {
        std::fprintf(stderr, "box: %s\n", qPrintable(m.text));
        return int(mrOk);
    });

    BenchSupport::Medians reporter;
    bool entro = true;
    for (const BenchSupport::Place &luogo : BenchSupport::places()) {
        preparaBanco(luogo.folder);
        benchmark::RunSpecifiedBenchmarks(&reporter);
        // The database's folder goes with it.
        delete banco;
        banco = nullptr;
        setProgramFolder(QString());
        const std::optional<double> rapporto =
            reporter.ratio("BM_AperturaGestioneUtenti", "BM_PavimentoUnaSelectEAggiornamenti");
        if (rapporto)
            entro = BenchSupport::reportRatio("Opening Gestione utenti / floor, " +
                                                  luogo.name.toStdString(),
                                              *rapporto, kRapportoMassimo) &&
                    entro;
    }
    benchmark::Shutdown();
    return entro && testiUguali ? 0 : 1;
}
