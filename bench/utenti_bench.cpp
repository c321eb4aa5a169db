// Opening the users editor rebuilds every user's parameter text from its
// TABPRAVLIN rows, then shows the users. On a user database of 1,000 users
// with ten companies of ten parameters each, the whole opening (the editor
// built offscreen, its grid filled, then destroyed) is measured against a
// floor in the same run on the same file: one SELECT of every row, the
// texts built in memory, one prepared UPDATE per user committed on its own,
// then the users' query fetched. Repetitions are interleaved; the medians
// must stay within 2.5x.
#include "dbgrid.h"
#include "ibquery.h"
#include "ibsql.h"
#include "messages.h"
#include "pathutil.h"
#include "pravlin.h"
#include "tabform.h"
#include "utentiform.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kUtenti = 1000;
constexpr int kDitte = 10;
constexpr int kParametri = 10;
constexpr double kRapportoMassimo = 2.5;

struct Banco
{
    std::unique_ptr<QTemporaryDir> cartella;
    std::unique_ptr<TTabForm> archivio;
    TTabForm *variabile = nullptr;
};

Banco *banco = nullptr;

// About 30 characters, an apostrophe among them.
QString valoreDi(int utente, int ditta, int parametro)
{
    return QStringLiteral("C:\\Suite\\Dati\\D%1\\l'archivio%2_%3\\")
        .arg(ditta)
        .arg(parametro)
        .arg(utente % 97);
}

void riempi(TIBDatabase *db)
{
    TIBTransaction tr;
    tr.setDefaultDatabase(db);
    TIBSQL utente;
    utente.setDatabase(db);
    utente.setTransaction(&tr);
    utente.SQL =
        QStringList{"INSERT INTO UTENTI (CODICE,NOMEUTENTE,PWDUTENTE,DITTA,PROFILOSICUREZZA,"
                    "PROGETTO) VALUES (:C,:N,:P,:D,1,1)"};
    TIBSQL riga;
    riga.setDatabase(db);
    riga.setTransaction(&tr);
    riga.SQL = QStringList{"INSERT INTO TABPRAVLIN (UTENTE,INTESTAZIONE,PARAMETRO,VALORE,"
                           "PROGRESSIVO) VALUES (:U,:I,:P,:V,:O)"};
    for (int u = 1; u <= kUtenti; ++u) {
        utente.ParamByName("C").setAsInteger(u);
        utente.ParamByName("N").setAsString(QStringLiteral("Utente %1").arg(u));
        utente.ParamByName("P").setAsString(QStringLiteral("pwd%1").arg(u));
        utente.ParamByName("D").setAsString(QStringLiteral("Ditta 00"));
        utente.ExecQuery();
        int progressivo = 0;
        for (int d = kDitte - 1; d >= 0; --d) {
            for (int p = 0; p < kParametri; ++p) {
                riga.ParamByName("U").setAsInteger(u);
                riga.ParamByName("I").setAsString(
                    QStringLiteral("Ditta %1").arg(d, 2, 10, QChar('0')));
                riga.ParamByName("P").setAsString(QStringLiteral("Parametro %1").arg(p));
                riga.ParamByName("V").setAsString(valoreDi(u, d, p).replace('\'', QChar(0xB4)));
                riga.ParamByName("O").setAsInteger(++progressivo);
                riga.ExecQuery();
            }
        }
    }
    tr.Commit();
}

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
    banco = new Banco;
    Messages::setResponder([](const TMessage &m) {
        std::fprintf(stderr, "box: %s\n", qPrintable(m.text));
        return int(mrOk);
    });
    // Disk flushes would hide the comparison: memory when there is one.
    const QString base =
        QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
    banco->cartella =
        std::make_unique<QTemporaryDir>(base + QStringLiteral("/utenti_bench-XXXXXX"));
    setProgramFolder(banco->cartella->path() + QLatin1Char('/'));
    banco->archivio = std::make_unique<TTabForm>();
    banco->variabile = banco->archivio.get();
    if (!banco->archivio->ConnettiDatabaseArchivi())
        qFatal("no user database");
    riempi(banco->archivio->IBDatabase1);
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
        pavimento(banco->archivio->IBDatabase1, banco->archivio->IBTransaction1);
}
BENCHMARK(BM_PavimentoUnaSelectEAggiornamenti)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(5)
    ->UseRealTime();

// Keeps the medians while printing as usual.
class Medie : public benchmark::ConsoleReporter
{
public:
    Medie()
        : ConsoleReporter(isatty(fileno(stdout)) ? OO_Defaults : OO_Tabular)
    {
    }
    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &r : runs) {
            if (r.run_type == Run::RT_Aggregate && r.aggregate_name == "median")
                mediane[r.run_name.function_name] = r.GetAdjustedRealTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> mediane;
};

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::vector<char *> argomenti(argv, argv + argc);
    bool scelto = false;
    for (int i = 1; i < argc; ++i)
        scelto = scelto || std::strstr(argv[i], "random_interleaving") != nullptr;
    char interleaving[] = "--benchmark_enable_random_interleaving=true";
    if (!scelto)
        argomenti.push_back(interleaving);
    int n = int(argomenti.size());
    benchmark::Initialize(&n, argomenti.data());
    if (benchmark::ReportUnrecognizedArguments(n, argomenti.data()))
        return 1;

    preparaBanco();
    Medie reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    banco->archivio.reset();
    setProgramFolder(QString());

    const auto editor = reporter.mediane.find("BM_AperturaGestioneUtenti");
    const auto floor = reporter.mediane.find("BM_PavimentoUnaSelectEAggiornamenti");
    if (editor == reporter.mediane.end() || floor == reporter.mediane.end())
        return 0;
    const double rapporto = editor->second / floor->second;
    std::printf("Opening Gestione utenti / floor (medians): %.2f (target <= %.1f)\n", rapporto,
                kRapportoMassimo);
    return rapporto <= kRapportoMassimo ? 0 : 1;
}
