// The menu grid editor on a program of 30,000 entries, on an embedded user
// database and on one reached through a private Firebird server, each kept
// in memory and on disk, against floors run straight through the Firebird
// client in the same run on the same file:
// - opening (the query, the window and its first paint, offscreen) against
//   one raw fetch of the same rows, no blob read;
// - "Inserisci" near the top followed by the save, against the same
//   statements run raw: the shifts of parents and codes, the INSERT, the
//   commit and one raw fetch of the rows.
// Both sides get the same untimed preparation (for the opening the editor
// opened and closed once and the rows fetched, for the insert the rows
// fetched) and every measured step is undone, untimed, before the next one, so each
// starts from the same menu; both must leave the same rows. Repetitions are
// interleaved; the medians must stay within 1.5x.
#include "benchsupport.h"
#include "dbgrid.h"
#include "ibquery.h"
#include "ibsql.h"
#include "menuprogrammaform.h"
#include "messages.h"
#include "rawsql.h"
#include "schemaupgrade.h"
#include "tabform.h"

#include <QApplication>
#include <QElapsedTimer>
#include <cstdio>
#include <map>
#include <memory>
#include <vector>

using BenchSupport::RawStatement;

namespace {

constexpr int kVoci = 30000;
constexpr double kMassimoApertura = 1.5;
constexpr double kMassimoAperturaServer = 2.0;
constexpr double kMassimoInserisci = 1.5;
const QString kProgramma = QStringLiteral("1");

// One user database with its archive object, embedded or through the server.
struct Banco
{
    QString nome;
    bool server = false;
    std::unique_ptr<BenchSupport::UserDatabase> archivio;
    TTabForm *variabile = nullptr;
    std::unique_ptr<TMenuProgrammaForm> editor; // kept open for "Inserisci"

    TIBDatabase *db() const { return archivio->db(); }
    TIBTransaction *tr() const { return archivio->tr(); }
};

std::vector<std::unique_ptr<Banco>> banchi;
// What each measure left, by its name: both sides of a workload must agree.
std::map<std::string, QString> risultati;

void nota(const std::string &misura, const QString &risultato)
{
    QString &r = risultati[misura];
    if (!r.isEmpty() && r != risultato)
        std::fprintf(stderr, "%s: the result changed between repetitions\n", misura.c_str());
    r = risultato;
}

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

std::unique_ptr<Banco> apriBanco(const QString &nome, const QString &server,
                                 const QString &cartella)
{
    auto b = std::make_unique<Banco>();
    b->nome = nome;
    b->server = !server.isEmpty();
    b->archivio = std::make_unique<BenchSupport::UserDatabase>(server, cartella);
    b->variabile = b->archivio->tab.get();
    SchemaUpgrade::AggiornaTracciati12072012(b->variabile->QueryAux);
    conferma(*b);
    riempi(*b);
    return b;
}

// ---- Opening ---------------------------------------------------------------------

// What the opening reads, fetched raw: every row into one buffer, no blob
// read. Gives the rows and the sum of their codes.
QString fetchGrezzo(Banco &b)
{
    RawStatement q(b.db(), b.tr(),
                   "SELECT * FROM DETTMENU WHERE PROGRAMMA=? ORDER BY PROGRAMMA,MENU");
    q.setInteger(0, kProgramma.toInt());
    const unsigned menu = q.column("MENU");
    qint64 righe = 0, somma = 0;
    for (q.open(); q.next(); ++righe)
        somma += q.integer(menu);
    q.close();
    return QStringLiteral("%1/%2").arg(righe).arg(somma);
}

QString righeEditor(TMenuProgrammaForm &f)
{
    TIBQuery *q = f.QueryDettMenu;
    const int menu = q->FieldByName(QStringLiteral("MENU"))->Index();
    qint64 somma = 0;
    const int righe = q->ViewRowCount();
    for (int r = 0; r < righe; ++r)
        somma += q->ViewValue(r, menu).toLongLong();
    return QStringLiteral("%1/%2").arg(righe).arg(somma);
}

// The untimed preparation both sides of the opening share, so that each
// starts as in a running program whatever ran before it (an insert that
// filled the caches with the engine's pages): the editor opened and closed
// once, then the rows fetched raw.
void preparaApertura(Banco &b)
{
    TMenuProgrammaForm(nullptr, b.variabile, kProgramma).grab();
    fetchGrezzo(b);
}

void BM_Apertura(benchmark::State &state, Banco *b)
{
    preparaApertura(*b);
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        auto editor = std::make_unique<TMenuProgrammaForm>(nullptr, b->variabile, kProgramma);
        editor->show();
        const QPixmap prima = editor->grab();
        state.SetIterationTime(t.nsecsElapsed() / 1e9);
        if (prima.isNull())
            state.SkipWithError("the editor did not paint");
        nota("BM_Apertura/" + b->nome.toStdString(), righeEditor(*editor));
    }
}

void BM_AperturaPavimento(benchmark::State &state, Banco *b)
{
    preparaApertura(*b);
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        const QString letto = fetchGrezzo(*b);
        state.SetIterationTime(t.nsecsElapsed() / 1e9);
        nota("BM_AperturaPavimento/" + b->nome.toStdString(), letto);
    }
}

// ---- Inserisci and the save ---------------------------------------------------------------

// What an insert left: the rows of the three tables and their codes, and
// the new entry.
QString impronta(Banco &b)
{
    QString r;
    for (const char *sql :
         {"SELECT COUNT(*), SUM(MENU), SUM(COALESCE(MENUPREC,0)) FROM DETTMENU WHERE PROGRAMMA=1",
          "SELECT COUNT(*), SUM(MENU), 0 FROM DETTPROF WHERE PROGRAMMA=1",
          "SELECT COUNT(*), SUM(MENU), SUM(COALESCE(MENUPREC,0)) FROM LINGUEMENU WHERE "
          "PROGRAMMA=1",
          "SELECT COUNT(*), MAX(LIVELLOMENU), MAX(COALESCE(MENUPREC,0)) FROM DETTMENU WHERE "
          "PROGRAMMA=1 AND MENU=2 AND DESCRIZIONE='Nuova'"}) {
        RawStatement q(b.db(), b.tr(), sql);
        q.open();
        q.next();
        for (unsigned c = 0; c < 3; ++c)
            r += QString::fromLatin1(q.text(c)) + QLatin1Char('/');
    }
    conferma(b);
    return r;
}

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
    std::fprintf(stderr, "%s: the editor reopens its query %d times for one insert and save\n",
                 qPrintable(b.nome), aperture);
    disfaInserimento(b);
}

void BM_Inserisci(benchmark::State &state, Banco *b)
{
    TMenuProgrammaForm &f = *b->editor;
    for (auto _ : state) {
        // The preparation both sides share: the rows fetched once. (A
        // floor's commit closes the editor's query, as any hard commit does.)
        f.ButtonAggiornaClick();
        f.QueryDettMenu->Locate(QStringLiteral("MENU"), 2);
        QElapsedTimer t;
        t.start();
        inserisciESalva(f);
        state.SetIterationTime(t.nsecsElapsed() / 1e9);
        if (f.QueryDettMenu->RecordCount() != kVoci + 1)
            state.SkipWithError("the new entry is missing from the grid");
        nota("BM_Inserisci/" + b->nome.toStdString(), impronta(*b));
        disfaInserimento(*b);
    }
}

void BM_InserisciPavimento(benchmark::State &state, Banco *b)
{
    const char *spostamenti[] = {
        "UPDATE DETTMENU SET MENUPREC=MENUPREC+1 WHERE (PROGRAMMA=?)AND(MENUPREC>=?)",
        "UPDATE LINGUEMENU SET MENUPREC=MENUPREC+1 WHERE (PROGRAMMA=?)AND(MENUPREC>=?)",
        "UPDATE DETTMENU SET MENU=MENU+1 WHERE (PROGRAMMA=?)AND(MENU>=?) ORDER BY MENU DESC",
        "UPDATE DETTPROF SET MENU=MENU+1 WHERE (PROGRAMMA=?)AND(MENU>=?) ORDER BY MENU DESC",
        "UPDATE LINGUEMENU SET MENU=MENU+1 WHERE (PROGRAMMA=?)AND(MENU>=?) ORDER BY MENU DESC"};
    for (auto _ : state) {
        conferma(*b);
        fetchGrezzo(*b);
        QElapsedTimer t;
        t.start();
        for (const char *sql : spostamenti) {
            RawStatement s(b->db(), b->tr(), sql);
            s.setInteger(0, 1);
            s.setInteger(1, 2);
            s.execute();
        }
        {
            // The entry as the editor makes it: under the old entry's parent,
            // at its level.
            RawStatement s(b->db(), b->tr(),
                           "INSERT INTO DETTMENU (PROGRAMMA, MENU, MENUPREC, LIVELLOMENU, "
                           "DESCRIZIONE, VISIBILE, VOCERAPIDA, LIVELLO2VERSIONE) VALUES (?, ?, "
                           "NULL, 2, 'Nuova', 1, 0, 0)");
            s.setInteger(0, 1);
            s.setInteger(1, 2);
            s.execute();
        }
        b->tr()->Commit();
        fetchGrezzo(*b);
        state.SetIterationTime(t.nsecsElapsed() / 1e9);
        nota("BM_InserisciPavimento/" + b->nome.toStdString(), impronta(*b));
        disfaInserimento(*b);
    }
}

void registra(Banco *b)
{
    const std::string n = b->nome.toStdString();
    const auto un = [](benchmark::internal::Benchmark *bm) {
        bm->Apply(BenchSupport::repeated)->UseManualTime();
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
    if (!BenchSupport::initialize(argc, argv))
        return 1;

    Messages::setResponder([](const TMessage &m) {
        if (m.kind == TMsgDlgType::Error || m.kind == TMsgDlgType::Warning)
            std::fprintf(stderr, "box: %s\n", qPrintable(m.text));
        return m.buttons == TMsgDlgButtons::Ok ? int(mrOk) : int(mrYes);
    });
    for (const BenchSupport::Place &p : BenchSupport::places())
        banchi.push_back(apriBanco(QStringLiteral("embedded-") + p.name, QString(), p.folder));
    auto server = std::make_unique<BenchSupport::FirebirdServer>(
        "TEST_FB_SERVER",
        QCoreApplication::applicationDirPath() + QStringLiteral("/../menu_bench_fb"));
    if (server->address().isEmpty())
        std::fprintf(stderr, "no private server could be started: embedded only\n");
    else {
        for (const BenchSupport::Place &p : BenchSupport::places())
            banchi.push_back(
                apriBanco(QStringLiteral("server-") + p.name, server->address(), p.folder));
    }
    for (auto &b : banchi) {
        preparaEditor(*b);
        registra(b.get());
    }

    BenchSupport::Medians reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    bool entro = true;
    for (auto &b : banchi) {
        const std::string nome = b->nome.toStdString();
        for (const auto &[misura, massimo] :
             {std::pair<std::string, double>{"BM_Apertura",
                                             b->server ? kMassimoAperturaServer : kMassimoApertura},
              std::pair<std::string, double>{"BM_Inserisci", kMassimoInserisci}}) {
            const std::string editor = misura + "/" + nome;
            const std::string pavimento = misura + "Pavimento/" + nome;
            const std::optional<double> rapporto = reporter.ratio(editor, pavimento);
            if (!rapporto)
                continue; // a filter left one side out: nothing to compare
            const QString &r = risultati[editor];
            const QString &f = risultati[pavimento];
            if (r != f) {
                std::printf("%s: the editor and the floor differ: %s against %s\n", editor.c_str(),
                            qPrintable(r), qPrintable(f));
                entro = false;
            }
            const bool dentro =
                BenchSupport::reportRatio(misura + " " + nome + " / floor", *rapporto, massimo);
            entro = entro && dentro;
        }
        b->editor.reset();
        b->archivio.reset();
    }
    server.reset();
    return entro ? 0 : 1;
}
