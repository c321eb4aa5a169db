// The menu grid editor on a program of 30,000 entries, on an embedded user
// database and on one reached through a private Firebird server, each
// against a floor measured in the same run on the same file:
// - opening (the query, the window and its first paint, offscreen) against
//   one raw fetch of the same rows;
// - "Inserisci" near the top followed by the save, against the same
//   statements run raw: the same UPDATEs and the INSERT, the same commits and
//   as many raw fetches as the editor reopens its query.
// Every measured step is undone, untimed, before the next one, so each starts
// from the same menu. Repetitions are interleaved; the medians must stay
// within 2x for the opening and 1.5x for "Inserisci" and the save.
#include "dbgrid.h"
#include "ibquery.h"
#include "ibsql.h"
#include "inifile.h"
#include "menuprogrammaform.h"
#include "messages.h"
#include "pathutil.h"
#include "schemaupgrade.h"
#include "tabform.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kVoci = 30000;
constexpr double kMassimoApertura = 2.0;
constexpr double kMassimoInserisci = 1.5;
const QString kProgramma = QStringLiteral("1");

// One user database with its archive object, embedded or through the server.
struct Banco
{
    QString nome;
    QTemporaryDir cartella;
    std::unique_ptr<TTabForm> archivio;
    TTabForm *variabile = nullptr;
    std::unique_ptr<TMenuProgrammaForm> editor; // kept open for "Inserisci"
    int riaperture = 0;                         // of one "Inserisci" and save

    TIBDatabase *db() const { return archivio->IBDatabase1; }
    TIBTransaction *tr() const { return archivio->IBTransaction1; }
};

std::vector<std::unique_ptr<Banco>> banchi;
QString cartellaServer;

void esegui(Banco &b, const QStringList &sql, bool paramCheck = true)
{
    TIBSQL q;
    q.setDatabase(b.db());
    q.setTransaction(b.tr());
    q.ParamCheck = paramCheck;
    q.SQL = sql;
    q.ExecQuery();
    q.Close();
}

void conferma(Banco &b)
{
    if (b.tr()->InTransaction())
        b.tr()->Commit();
    b.tr()->StartTransaction();
}

// A tree of entries: every entry under one of the ten before it, a window
// script on one in twenty; grants of two profiles and translations of the
// first thousand entries.
void riempi(Banco &b)
{
    esegui(b, {"ALTER TABLE DETTMENU ADD PARAMETRIBLOB BLOB SUB_TYPE TEXT"});
    conferma(b);
    esegui(b,
           {"EXECUTE BLOCK AS DECLARE I INTEGER = 1; BEGIN",
            "WHILE (I <= " + QString::number(kVoci) + ") DO BEGIN",
            "INSERT INTO DETTMENU (PROGRAMMA, MENU, MENUPREC, LIVELLOMENU, DESCRIZIONE, DLL,",
            "FUNZIONE, LIVELLO2VERSIONE, VISIBILE, VOCERAPIDA, PARAMETRIBLOB) VALUES (1, :I,",
            "IIF(:I > 10, :I - MOD(:I, 10) - 1, NULL), MOD(:I, 4), 'Voce di menu ' || :I,",
            "'Libreria' || MOD(:I, 50) || '.dll', 'Funzione' || :I || 'X', MOD(:I, 2), 1, 0,",
            "IIF(MOD(:I, 20) = 0, '<CSDForm><Tabella>ARCHIVIO' || :I || '</Tabella></CSDForm>',",
            "NULL));", "IF (:I <= 1000) THEN BEGIN",
            "INSERT INTO DETTPROF (PROFILO, PROGRAMMA, MENU, LIVELLO) VALUES (1, 1, :I, 1);",
            "INSERT INTO DETTPROF (PROFILO, PROGRAMMA, MENU, LIVELLO) VALUES (2, 1, :I * 7, 2);",
            "INSERT INTO LINGUEMENU (PROGRAMMA, MENU, MENUPREC, LINGUA, DESCRIZIONE)",
            "VALUES (1, :I, IIF(:I > 10, :I - MOD(:I, 10) - 1, NULL), 2, 'Entry ' || :I);", "END",
            "I = I + 1; END END"},
           false);
    conferma(b);
}

std::unique_ptr<Banco> apriBanco(const QString &nome, const QString &server)
{
    auto b = std::make_unique<Banco>();
    b->nome = nome;
    const QString cartella = b->cartella.path() + QLatin1Char('/');
    QDir(cartella).mkpath(QStringLiteral("user"));
    if (!server.isEmpty()) {
        TIniFile ini(cartella + QStringLiteral("user/dati.ini"));
        ini.WriteString(QStringLiteral("CONFIG"), QStringLiteral("Nome Server"), server);
        ini.WriteString(QStringLiteral("CONFIG"), QStringLiteral("Alias"),
                        cartella + QStringLiteral("user/user.fdb"));
    }
    setProgramFolder(cartella);
    b->archivio = std::make_unique<TTabForm>();
    b->variabile = b->archivio.get();
    if (!b->archivio->ConnettiDatabaseArchivi())
        qFatal("no user database for %s", qPrintable(nome));
    SchemaUpgrade::AggiornaTracciati12072012(b->archivio->QueryAux);
    conferma(*b);
    riempi(*b);
    return b;
}

// ---- Opening ---------------------------------------------------------------------

// What the opening reads, fetched raw: every value of every row.
qint64 fetchGrezzo(Banco &b)
{
    TIBSQL q;
    q.setDatabase(b.db());
    q.setTransaction(b.tr());
    q.SQL =
        QStringList{"SELECT * FROM DETTMENU WHERE PROGRAMMA=:PROGRAMMA", "ORDER BY PROGRAMMA,MENU"};
    q.ParamByName(QStringLiteral("PROGRAMMA")).setValue(kProgramma);
    QVector<QVector<QVariant>> righe;
    for (q.ExecQuery(); !q.Eof(); q.Next()) {
        QVector<QVariant> riga(q.FieldCount());
        for (int i = 0; i < q.FieldCount(); ++i)
            riga[i] = q.Fields(i).Value();
        righe.append(riga);
    }
    q.Close();
    return righe.size();
}

void BM_Apertura(benchmark::State &state, Banco *b)
{
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        auto editor = std::make_unique<TMenuProgrammaForm>(nullptr, b->variabile, kProgramma);
        editor->show();
        const QPixmap prima = editor->grab();
        state.SetIterationTime(t.nsecsElapsed() / 1e9);
        if (editor->QueryDettMenu->RecordCount() != kVoci || prima.isNull())
            state.SkipWithError("the editor did not show the whole menu");
    }
}

void BM_AperturaPavimento(benchmark::State &state, Banco *b)
{
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        const qint64 n = fetchGrezzo(*b);
        state.SetIterationTime(t.nsecsElapsed() / 1e9);
        if (n != kVoci)
            state.SkipWithError("the raw fetch did not read the whole menu");
    }
}

// ---- Inserisci and the save ---------------------------------------------------------------

// Untimed: the entry inserted at 2 goes and every code behind it comes back.
void disfaInserimento(Banco &b)
{
    const QString p = QStringLiteral("(PROGRAMMA=1)AND");
    esegui(b, {"DELETE FROM DETTMENU WHERE", p, "(MENU=2)"});
    for (const char *t : {"DETTMENU", "DETTPROF", "LINGUEMENU"})
        esegui(b, {QStringLiteral("UPDATE %1 SET MENU=MENU-1 WHERE").arg(t), p, "(MENU>2)",
                   "ORDER BY MENU"});
    for (const char *t : {"DETTMENU", "LINGUEMENU"})
        esegui(b, {QStringLiteral("UPDATE %1 SET MENUPREC=MENUPREC-1 WHERE").arg(t), p,
                   "(MENUPREC>2)"});
    conferma(b);
    // The old versions are read once now, not inside the next measurement.
    for (const char *t : {"DETTMENU", "DETTPROF", "LINGUEMENU"})
        esegui(b, {QStringLiteral("SELECT COUNT(*) FROM %1").arg(t)});
    conferma(b);
}

void inserisciESalva(TMenuProgrammaForm &f)
{
    f.ButtonInserisciClick();
    f.QueryDettMenu->FieldByName(QStringLiteral("DESCRIZIONE"))->setValue(QStringLiteral("Nuova"));
    if (!f.Memorizzazione())
        qFatal("the new entry was refused");
}

void preparaEditor(Banco &b)
{
    b.editor = std::make_unique<TMenuProgrammaForm>(nullptr, b.variabile, kProgramma);
    b.editor->show();
    int aperture = 0;
    b.editor->QueryDettMenu->AfterOpen = [&aperture](TDataSet *) { ++aperture; };
    b.editor->QueryDettMenu->Locate(QStringLiteral("MENU"), 2);
    inserisciESalva(*b.editor);
    b.editor->QueryDettMenu->AfterOpen = nullptr;
    b.riaperture = aperture;
    std::fprintf(stderr, "%s: the editor reopens its query %d times for one insert and save\n",
                 qPrintable(b.nome), aperture);
    disfaInserimento(b);
}

void BM_Inserisci(benchmark::State &state, Banco *b)
{
    TMenuProgrammaForm &f = *b->editor;
    for (auto _ : state) {
        // A floor's commit closes the editor's query, as any hard commit does.
        f.ButtonAggiornaClick();
        f.QueryDettMenu->Locate(QStringLiteral("MENU"), 2);
        QElapsedTimer t;
        t.start();
        inserisciESalva(f);
        state.SetIterationTime(t.nsecsElapsed() / 1e9);
        if (f.QueryDettMenu->RecordCount() != kVoci + 1)
            state.SkipWithError("the new entry is missing");
        disfaInserimento(*b);
    }
}

void BM_InserisciPavimento(benchmark::State &state, Banco *b)
{
    const QString p = QStringLiteral("(PROGRAMMA=:PROGRAMMA)AND");
    const auto sposta = [&](const QStringList &sql) {
        TIBSQL q;
        q.setDatabase(b->db());
        q.setTransaction(b->tr());
        q.SQL = sql;
        q.ParamByName(QStringLiteral("PROGRAMMA")).setValue(1);
        q.ParamByName(QStringLiteral("MENU")).setValue(2);
        q.ExecQuery();
    };
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        int fetch = 0;
        const auto riapri = [&] {
            fetchGrezzo(*b);
            ++fetch;
        };
        conferma(*b);
        riapri();
        for (const char *tab : {"DETTMENU", "LINGUEMENU"})
            sposta({QStringLiteral("UPDATE %1 SET MENUPREC=MENUPREC+1 WHERE").arg(tab), p,
                    "(MENUPREC>=:MENU)"});
        for (const char *tab : {"DETTMENU", "DETTPROF", "LINGUEMENU"})
            sposta({QStringLiteral("UPDATE %1 SET MENU=MENU+1 WHERE").arg(tab), p, "(MENU>=:MENU)",
                    "ORDER BY MENU DESC"});
        riapri();
        sposta({"INSERT INTO DETTMENU (PROGRAMMA, MENU, LIVELLOMENU, DESCRIZIONE, VISIBILE,",
                "VOCERAPIDA, LIVELLO2VERSIONE) VALUES (:PROGRAMMA, :MENU, 0, 'Nuova', 1, 0, 0)"});
        conferma(*b);
        while (fetch < b->riaperture)
            riapri();
        state.SetIterationTime(t.nsecsElapsed() / 1e9);
        disfaInserimento(*b);
    }
}

// ---- The private server ---------------------------------------------------------------------

QString avviaServer()
{
    if (!qEnvironmentVariableIsEmpty("TEST_FB_SERVER"))
        return qEnvironmentVariable("TEST_FB_SERVER");
    cartellaServer = QCoreApplication::applicationDirPath() + QStringLiteral("/../menu_bench_fb");
    for (int tentativo = 0; tentativo < 5; ++tentativo) {
        const int porta = 31000 + (getpid() + 37 * tentativo) % 400;
        if (QProcess::execute(QStringLiteral("bash"),
                              {QStringLiteral(FBSERVER_SCRIPT), QStringLiteral("start"),
                               cartellaServer, QString::number(porta)}) == 0)
            return QStringLiteral("127.0.0.1/%1").arg(porta);
    }
    cartellaServer.clear();
    return QString();
}

void fermaServer()
{
    if (!cartellaServer.isEmpty())
        QProcess::execute(QStringLiteral("bash"), {QStringLiteral(FBSERVER_SCRIPT),
                                                   QStringLiteral("stop"), cartellaServer});
}

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

void registra(Banco *b)
{
    const std::string n = b->nome.toStdString();
    const auto un = [](benchmark::internal::Benchmark *bm) {
        bm->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(7)->UseManualTime();
    };
    un(benchmark::RegisterBenchmark(("BM_Apertura/" + n).c_str(), BM_Apertura, b));
    un(benchmark::RegisterBenchmark(("BM_AperturaPavimento/" + n).c_str(), BM_AperturaPavimento,
                                    b));
    un(benchmark::RegisterBenchmark(("BM_Inserisci/" + n).c_str(), BM_Inserisci, b));
    un(benchmark::RegisterBenchmark(("BM_InserisciPavimento/" + n).c_str(), BM_InserisciPavimento,
                                    b));
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // Interleaved unless the command line says otherwise.
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

    Messages::setResponder([](const TMessage &m) {
        if (m.kind == TMsgDlgType::Error || m.kind == TMsgDlgType::Warning)
            std::fprintf(stderr, "box: %s\n", qPrintable(m.text));
        return m.buttons == TMsgDlgButtons::Ok ? int(mrOk) : int(mrYes);
    });
    banchi.push_back(apriBanco(QStringLiteral("embedded"), QString()));
    const QString server = avviaServer();
    if (server.isEmpty())
        std::fprintf(stderr, "no private server could be started: embedded only\n");
    else
        banchi.push_back(apriBanco(QStringLiteral("server"), server));
    for (auto &b : banchi) {
        preparaEditor(*b);
        registra(b.get());
    }

    Medie reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    bool entro = true;
    for (auto &b : banchi) {
        const std::string nome = b->nome.toStdString();
        for (const auto &[misura, massimo] :
             {std::pair<std::string, double>{"BM_Apertura", kMassimoApertura},
              std::pair<std::string, double>{"BM_Inserisci", kMassimoInserisci}}) {
            const auto editor = reporter.mediane.find(misura + "/" + nome);
            const auto pavimento = reporter.mediane.find(misura + "Pavimento/" + nome);
            if (editor == reporter.mediane.end() || pavimento == reporter.mediane.end())
                continue; // a filter left one side out: nothing to compare
            const double rapporto = editor->second / pavimento->second;
            std::printf("%s %s / floor (medians): %.2f (target <= %.1f)\n", misura.c_str(),
                        nome.c_str(), rapporto, massimo);
            entro = entro && rapporto <= massimo;
        }
        b->editor.reset();
        b->archivio.reset();
    }
    fermaServer();
    return entro ? 0 : 1;
}
