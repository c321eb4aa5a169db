// Opening the users editor rebuilds every user's parameter text from its
// TABPRAVLIN rows, then shows the users. On a user database of 1,000 users
// with ten companies of ten parameters each, the whole opening (the editor
// built offscreen, its grid filled, then destroyed) is measured against a
// floor in the same run on the same file: one SELECT of every row, the
// texts built in memory, one prepared UPDATE per user committed on its own,
// then the users' query fetched. Repetitions are interleaved; the medians
// must stay within 2.5x.
#include "benchsupport.h"
#include "dbgrid.h"
#include "ibquery.h"
#include "ibsql.h"
#include "messages.h"
#include "pathutil.h"
#include "pravlintext.h"
#include "tabform.h"
#include "utentiform.h"

#include <QApplication>
#include <QDir>
#include <cstdio>
#include <map>
#include <memory>

namespace {

constexpr int kUtenti = 1000;
constexpr int kDitte = 10;
constexpr int kParametri = 10;
constexpr double kRapportoMassimo = 2.5;

// Disk flushes would hide the comparison: memory when there is one.
QString cartellaVeloce()
{
    return QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm")
                                                     : QDir::tempPath();
}

struct Banco
{
    BenchSupport::UserDatabase archivio{QString(), cartellaVeloce()};
    TTabForm *variabile = archivio.tab.get();
};

Banco *banco = nullptr;

// The floor: every row in one pass, the texts in memory, one bound update
// per user each committed, then the users' query.
void pavimento(TIBDatabase *db, TIBTransaction *condivisa)
{
    TIBTransaction tr;
    tr.setDefaultDatabase(db);
    TIBSQL q;
    q.setDatabase(db);
    q.setTransaction(&tr);
    q.SQL = QStringList{"SELECT UTENTE,INTESTAZIONE,PARAMETRO,VALORE FROM TABPRAVLIN",
                        "ORDER BY UTENTE,INTESTAZIONE,PROGRESSIVO"};
    std::map<int, QVector<TPravlin>> righe;
    for (q.ExecQuery(); !q.Eof(); q.Next())
        righe[q.Fields(0).AsInteger()].append(
            {q.Fields(1).AsString(), q.Fields(2).AsString(), q.Fields(3).AsString()});
    q.Close();
    tr.Commit();

    TIBSQL u;
    u.setDatabase(db);
    u.setTransaction(&tr);
    u.SQL = QStringList{"UPDATE UTENTI SET PRAVLIN=:PRAVLIN WHERE", "CODICE=:CODICE"};
    u.Prepare();
    for (const auto &[codice, voci] : righe) {
        const QString testo = Pravlin::ComponiPravlin(voci);
        TIBValue &pravlin = u.ParamByName("PRAVLIN");
        if (testo.isEmpty())
            pravlin.Clear();
        else
            pravlin.setAsString(testo);
        u.ParamByName("CODICE").setAsInteger(codice);
        u.ExecQuery();
        tr.Commit();
    }

    TIBQuery utenti;
    utenti.setDatabase(db);
    utenti.setTransaction(condivisa);
    utenti.SQL = QStringList{"SELECT * FROM UTENTI ORDER BY CODICE"};
    utenti.Open();
    benchmark::DoNotOptimize(utenti.RecordCount());
    utenti.Close();
}

void preparaBanco()
{
    Messages::setResponder([](const TMessage &m) {
        std::fprintf(stderr, "box: %s\n", qPrintable(m.text));
        return int(mrOk);
    });
    banco = new Banco;
    BenchSupport::fillUsers(banco->archivio.db(), kUtenti, kDitte, kParametri, true);
    // The untimed first opening writes every text once.
    TUtentiForm(nullptr, banco->variabile);
}

void BM_AperturaGestioneUtenti(benchmark::State &state)
{
    for (auto _ : state) {
        TUtentiForm editor(nullptr, banco->variabile);
        editor.show();
        QApplication::processEvents();
        if (editor.GridUtenti->model()->rowCount() != kUtenti)
            state.SkipWithError("the grid is not filled");
    }
}
BENCHMARK(BM_AperturaGestioneUtenti)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(5)
    ->UseRealTime();

void BM_PavimentoUnaSelectEAggiornamenti(benchmark::State &state)
{
    for (auto _ : state)
        pavimento(banco->archivio.db(), banco->archivio.tr());
}
BENCHMARK(BM_PavimentoUnaSelectEAggiornamenti)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(5)
    ->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (!BenchSupport::initialize(argc, argv))
        return 1;

    preparaBanco();
    BenchSupport::Medians reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    // The database lives in memory: its folder must go with it.
    delete banco;
    banco = nullptr;
    setProgramFolder(QString());

    const std::optional<double> rapporto =
        reporter.ratio("BM_AperturaGestioneUtenti", "BM_PavimentoUnaSelectEAggiornamenti");
    if (!rapporto)
        return 0; // a filter left one side out: nothing to compare
    return BenchSupport::reportRatio("Opening Gestione utenti / floor", *rapporto, kRapportoMassimo)
               ? 0
               : 1;
}
