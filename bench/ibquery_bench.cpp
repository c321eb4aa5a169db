// The menu grid editor's query over a DETTMENU of 30,000 rows (a 400-byte
// PARAMETRIBLOB each, a NOTE on one row in ten), kept in memory and on disk,
// each measure beside its raw floor in the same run:
//
// - Open of the query, embedded and through a Firebird server, against a
//   fetch of the same rows through the client's own interfaces that reads no
//   blob; both must read the same rows. The query should stay within 1.5
//   times that floor embedded and 2 times through the server.
//   "bytes_per_row" is the heap the open query holds per row.
// - The editor's renumbering before an insert at the first code (one
//   "UPDATE ... ORDER BY MENU DESC" per table, DETTMENU and DETTPROF)
//   against the same statements prepared and run bare: within 1.5 times,
//   embedded; both must leave the same codes.
//
// The server cases use the server named by IBQUERY_BENCH_SERVER
// ("127.0.0.1/<port>", SYSDBA password "plumtree7"); without it the program
// starts a private one of its own in a temporary folder through
// scripts/fbserver.sh (root or the firebird user only), and skips the server
// cases when that fails. See bench/README.md.
#include "benchsupport.h"
#include "ibquery.h"
#include "ibsql.h"
#include "rawsql.h"
#include "schema.h"
#include "vocimenu.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <firebird/Interface.h>

#include <cstdio>
#include <cstdlib>
#include <malloc.h>
#include <map>
#include <memory>
#include <vector>

using namespace Firebird;

namespace {

constexpr int kRows = 30000;
constexpr int kProgram = 1;
constexpr double kMaxOpen = 1.5;
constexpr double kMaxOpenServer = 2.0;
constexpr double kMaxRenumber = 1.5;

const QStringList kSelect{QStringLiteral("SELECT * FROM DETTMENU WHERE PROGRAMMA='1'"),
                          QStringLiteral("ORDER BY PROGRAMMA,MENU")};

QStringList creation(const char *table)
{
    for (const SchemaStatement &s : Schema::userDatabase()) {
        if (s.name == QLatin1String(table))
            return s.lines;
    }
    std::abort();
}

// ---- The server ------------------------------------------------------------

// Started at the first server case, so that a run of the embedded cases
// alone needs none.
std::unique_ptr<BenchSupport::FirebirdServer> g_server;

const QString &serverAddress()
{
    if (!g_server)
        g_server = std::make_unique<BenchSupport::FirebirdServer>("IBQUERY_BENCH_SERVER");
    return g_server->address();
}

// ---- One DETTMENU database ------------------------------------------------

struct MenuDatabase
{
    QTemporaryDir dir;
    TIBDatabase db;
    TIBTransaction tr;

    MenuDatabase(const QString &server, const QString &folder)
        : dir(folder + QStringLiteral("/ibquery_bench-XXXXXX"))
    {
        const QString path = dir.path() + QStringLiteral("/bench.fdb");
        db.DatabaseName = server.isEmpty() ? path : server + QLatin1Char(':') + path;
        db.Params = {QStringLiteral("USER \"SYSDBA\""), QStringLiteral("PASSWORD \"plumtree7\""),
                     QStringLiteral("PAGE_SIZE 4096")};
        db.CreateDatabase();
        db.Params = {QStringLiteral("user_name=SYSDBA"), QStringLiteral("password=plumtree7")};
        tr.setDefaultDatabase(&db);
        exec(creation("DETTMENU"));
        exec(creation("DETTPROF"));
        exec({QStringLiteral("ALTER TABLE DETTMENU ADD PARAMETRIBLOB BLOB SUB_TYPE TEXT")});
        // Filled by the engine itself: 30,000 statements from here would
        // cost more than every measure below.
        exec({QStringLiteral("EXECUTE BLOCK AS DECLARE I INTEGER = 1; BEGIN"),
              QStringLiteral("WHILE (I <= %1) DO BEGIN").arg(kRows),
              QStringLiteral("INSERT INTO DETTMENU (PROGRAMMA, MENU, MENUPREC, LIVELLOMENU,"),
              QStringLiteral("DESCRIZIONE, DLL, FUNZIONE, NOTE, LIVELLO2VERSIONE, PARAMETRI,"),
              QStringLiteral("VISIBILE, VOCERAPIDA, PARAMETRIBLOB) VALUES (%1, :I,").arg(kProgram),
              QStringLiteral(
                  "IIF(MOD(:I, 5) = 1, NULL, :I - MOD(:I, 5) + 1), IIF(MOD(:I, 5) = 1, 0, 1),"),
              QStringLiteral("'Voce di menu ' || :I, 'Norvak.dll', 'ShowCSDFormY',"),
              QStringLiteral("IIF(MOD(:I, 10) = 0, 'Nota della voce ' || :I, NULL), 1,"),
              QStringLiteral("'', 1, 0,"),
              QStringLiteral("RPAD('<CSDForm Voce=\"' || :I || '\">', 400, '.'));"),
              QStringLiteral("INSERT INTO DETTPROF (PROFILO, PROGRAMMA, MENU, LIVELLO)"),
              QStringLiteral("VALUES (1, %1, :I, 1);").arg(kProgram),
              QStringLiteral("I = I + 1; END END")});
    }

    void exec(const QStringList &sql)
    {
        TIBSQL q;
        q.setDatabase(&db);
        q.ParamCheck = false; // the block's ":I" are its own variables
        q.SQL = sql;
        q.ExecQuery();
        tr.Commit();
    }
};

// One database for each server choice and place, made at its first case.
std::map<std::pair<bool, QString>, std::unique_ptr<MenuDatabase>> &databases()
{
    static std::map<std::pair<bool, QString>, std::unique_ptr<MenuDatabase>> all;
    return all;
}

MenuDatabase *menuDatabase(benchmark::State &state, bool server, const QString &folder)
{
    std::unique_ptr<MenuDatabase> &slot = databases()[{server, folder}];
    if (!slot) {
        const QString address = server ? serverAddress() : QString();
        if (server && address.isEmpty()) {
            state.SkipWithError("no Firebird server: set IBQUERY_BENCH_SERVER or run as root");
            return nullptr;
        }
        slot = std::make_unique<MenuDatabase>(address, folder);
    }
    return slot.get();
}

// The editor's query with its update object, as the menu grid editor builds
// them.
struct MenuQuery
{
    TIBQuery q;
    TIBUpdateSQL upd;

    explicit MenuQuery(MenuDatabase &m)
    {
        q.setDatabase(&m.db);
        q.SQL = kSelect;
        upd.ModifySQL = {QStringLiteral("UPDATE \"DETTMENU\""),
                         QStringLiteral("SET"),
                         QStringLiteral("PROGRAMMA=:PROGRAMMA,"),
                         QStringLiteral("MENU=:MENU,"),
                         QStringLiteral("MENUPREC=:MENUPREC,"),
                         QStringLiteral("LIVELLOMENU=:LIVELLOMENU,"),
                         QStringLiteral("DESCRIZIONE=:DESCRIZIONE,"),
                         QStringLiteral("DLL=:DLL,"),
                         QStringLiteral("FUNZIONE=:FUNZIONE,"),
                         QStringLiteral("NOTE=:NOTE,"),
                         QStringLiteral("LIVELLO2VERSIONE=:LIVELLO2VERSIONE,"),
                         QStringLiteral("PARAMETRI=:PARAMETRI,"),
                         QStringLiteral("VISIBILE=:VISIBILE,"),
                         QStringLiteral("VOCERAPIDA=:VOCERAPIDA,"),
                         QStringLiteral("PARAMETRIBLOB=:PARAMETRIBLOB"),
                         QStringLiteral("WHERE (PROGRAMMA=:OLD_PROGRAMMA)AND"),
                         QStringLiteral("(MENU=:OLD_MENU)")};
        upd.DeleteSQL = {QStringLiteral("DELETE FROM \"DETTMENU\""),
                         QStringLiteral("WHERE (PROGRAMMA=:PROGRAMMA)AND"),
                         QStringLiteral("(MENU=:MENU)")};
        q.setUpdateObject(&upd);
    }
};

// ---- Open against a raw fetch --------------------------------------------

size_t heapInUse()
{
    return mallinfo2().uordblks;
}

// Each side's rows, by the measure's name: both sides must agree.
std::map<std::string, int> g_rows;
std::map<std::string, QString> g_codes;

void queryOpen(benchmark::State &state, bool server, const QString &folder, const std::string &key)
{
    MenuDatabase *m = menuDatabase(state, server, folder);
    if (!m)
        return;
    MenuQuery mq(*m);
    for (auto _ : state) {
        mq.q.Close();
        mq.q.Open();
    }
    mq.q.Close();
    const size_t before = heapInUse();
    mq.q.Open();
    const size_t after = heapInUse();
    g_rows[key] = mq.q.RecordCount();
    state.counters["bytes_per_row"] = double(after - before) / kRows;
    mq.q.Close();
    m->tr.Commit();
}

void rawFetch(benchmark::State &state, bool server, const QString &folder, const std::string &key)
{
    MenuDatabase *m = menuDatabase(state, server, folder);
    if (!m)
        return;
    const QByteArray text = kSelect.join(QLatin1Char('\n')).toLatin1();
    int rows = 0;
    for (auto _ : state) {
        BenchSupport::RawStatement q(&m->db, &m->tr, text);
        rows = 0;
        for (q.open(); q.next();)
            ++rows;
    }
    g_rows[key] = rows;
    m->tr.Commit();
}

// ---- The renumbering against the bare statements --------------------------

// The codes as they stand, to compare the two sides.
QString codes(MenuDatabase &m)
{
    QString r;
    for (const char *sql : {"SELECT COUNT(*), MIN(MENU), MAX(MENU), SUM(MENU) FROM DETTMENU",
                            "SELECT COUNT(*), MIN(MENU), MAX(MENU), SUM(MENU) FROM DETTPROF"}) {
        BenchSupport::RawStatement q(&m.db, &m.tr, sql);
        q.open();
        q.next();
        for (unsigned c = 0; c < 4; ++c)
            r += QString::fromLatin1(q.text(c)) + QLatin1Char('/');
    }
    return r;
}

// Every repetition starts from the stored codes: the updates are rolled
// back outside the timing.
void renumberEditor(benchmark::State &state, const QString &folder, const std::string &key)
{
    MenuDatabase *m = menuDatabase(state, false, folder);
    if (!m)
        return;
    TIBSQL sql;
    sql.setDatabase(&m->db);
    sql.setTransaction(&m->tr);
    for (auto _ : state) {
        TSpostamentoVoci(&sql).SpostaVoci(kProgram, 1);
        state.PauseTiming();
        g_codes[key] = codes(*m);
        m->tr.Rollback();
        state.ResumeTiming();
    }
}

void renumberBare(benchmark::State &state, const QString &folder, const std::string &key)
{
    MenuDatabase *m = menuDatabase(state, false, folder);
    if (!m)
        return;
    for (auto _ : state) {
        for (const char *table : {"DETTMENU", "DETTPROF"}) {
            BenchSupport::RawStatement u(
                &m->db, &m->tr,
                QByteArray("UPDATE ") + table +
                    " SET MENU=MENU+1 WHERE (PROGRAMMA=?)AND(MENU>=?) ORDER BY MENU DESC");
            u.setInteger(0, kProgram);
            u.setInteger(1, 1);
            u.execute();
        }
        state.PauseTiming();
        g_codes[key] = codes(*m);
        m->tr.Rollback();
        state.ResumeTiming();
    }
}

struct Pair
{
    std::string measure, floor;
    double maximum;
};

std::vector<Pair> registerAll(bool withServer)
{
    std::vector<Pair> pairs;
    const auto one = [](const std::string &name, auto fn) {
        benchmark::RegisterBenchmark(name.c_str(), fn)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(1)
            ->Repetitions(BenchSupport::repetitions());
    };
    for (const BenchSupport::Place &p : BenchSupport::places()) {
        const QString folder = p.folder;
        const std::string at = "/" + p.name.toStdString();
        for (bool server : {false, true}) {
            if (server && !withServer)
                continue;
            const std::string where = server ? "Server" : "Embedded";
            const std::string open = "BM_QueryOpen" + where + at;
            const std::string raw = "BM_RawFetch" + where + at;
            one(open, [=](benchmark::State &s) { queryOpen(s, server, folder, open); });
            one(raw, [=](benchmark::State &s) { rawFetch(s, server, folder, raw); });
            pairs.push_back({open, raw, server ? kMaxOpenServer : kMaxOpen});
        }
        const std::string editor = "BM_RenumberEditorEmbedded" + at;
        const std::string bare = "BM_RenumberStatementEmbedded" + at;
        one(editor, [=](benchmark::State &s) { renumberEditor(s, folder, editor); });
        one(bare, [=](benchmark::State &s) { renumberBare(s, folder, bare); });
        pairs.push_back({editor, bare, kMaxRenumber});
    }
    return pairs;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (!BenchSupport::initialize(argc, argv))
        return 1;
    // The server cases are left out when the filter names only embedded ones.
    bool withServer = true;
    for (int i = 1; i < argc; ++i) {
        const QByteArray a(argv[i]);
        if (a.startsWith("--benchmark_filter=") && !a.contains("Server"))
            withServer = false;
    }
    const std::vector<Pair> pairs = registerAll(withServer);
    BenchSupport::Medians reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    bool within = true;
    for (const Pair &p : pairs) {
        const std::optional<double> ratio = reporter.ratio(p.measure, p.floor);
        if (!ratio)
            continue; // a filter left one side out: nothing to compare
        const bool seen = g_rows.count(p.measure) || g_codes.count(p.measure);
        const bool sameRows =
            seen && g_rows[p.measure] == g_rows[p.floor] && g_codes[p.measure] == g_codes[p.floor];
        if (!sameRows) {
            std::printf("%s and %s left different results\n", p.measure.c_str(), p.floor.c_str());
            within = false;
        }
        const bool in = BenchSupport::reportRatio(p.measure + " / " + p.floor, *ratio, p.maximum);
        within = within && in;
    }
    // The databases go before the server they may be attached through.
    databases().clear();
    g_server.reset();
    return within ? 0 : 1;
}
