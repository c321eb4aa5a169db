// The menu grid editor's query over a DETTMENU of 30,000 rows (a 400-byte
// PARAMETRIBLOB each, a NOTE on one row in ten), each measure beside its
// floor in the same run:
//
// - Open of the query, embedded and through a Firebird server, against a
//   fetch of the same rows through the client's own interfaces that reads no
//   blob. The query should stay within 1.5 times that floor embedded and 2
//   times through the server. "bytes_per_row" is the heap the open query
//   holds per row.
// - The renumbering walk (from the last row up: edit, MENU + 1, post), the
//   editor's insert-before step, against the same updates through one
//   statement prepared once: within 3 times, embedded.
//
// The server cases use the server named by IBQUERY_BENCH_SERVER
// ("127.0.0.1/<port>", SYSDBA password "plumtree7"); without it the program
// starts a private one of its own in a temporary folder through
// scripts/fbserver.sh (root or the firebird user only), and skips the server
// cases when that fails. See bench/README.md.
#include "benchsupport.h"
#include "ibquery.h"
#include "ibsql.h"
#include "schema.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <firebird/Interface.h>

#include <cstdlib>
#include <malloc.h>
#include <memory>
#include <vector>

using namespace Firebird;

namespace {

constexpr int kRows = 30000;
constexpr int kProgram = 1;

const QStringList kSelect{QStringLiteral("SELECT * FROM DETTMENU WHERE PROGRAMMA='1'"),
                          QStringLiteral("ORDER BY PROGRAMMA,MENU")};

QStringList dettMenuCreation()
{
    for (const SchemaStatement &s : Schema::userDatabase()) {
        if (s.name == QLatin1String("DETTMENU"))
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

    explicit MenuDatabase(const QString &server)
    {
        const QString path = dir.path() + QStringLiteral("/bench.fdb");
        db.DatabaseName = server.isEmpty() ? path : server + QLatin1Char(':') + path;
        db.Params = {QStringLiteral("USER \"SYSDBA\""), QStringLiteral("PASSWORD \"plumtree7\""),
                     QStringLiteral("PAGE_SIZE 4096")};
        db.CreateDatabase();
        db.Params = {QStringLiteral("user_name=SYSDBA"), QStringLiteral("password=plumtree7")};
        tr.setDefaultDatabase(&db);
        exec(dettMenuCreation());
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

std::unique_ptr<MenuDatabase> &embeddedSlot()
{
    static std::unique_ptr<MenuDatabase> slot;
    return slot;
}

std::unique_ptr<MenuDatabase> &serverSlot()
{
    static std::unique_ptr<MenuDatabase> slot;
    return slot;
}

MenuDatabase *menuDatabase(benchmark::State &state, bool server)
{
    std::unique_ptr<MenuDatabase> &slot = server ? serverSlot() : embeddedSlot();
    if (!slot) {
        const QString address = server ? serverAddress() : QString();
        if (server && address.isEmpty()) {
            state.SkipWithError("no Firebird server: set IBQUERY_BENCH_SERVER or run as root");
            return nullptr;
        }
        slot = std::make_unique<MenuDatabase>(address);
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

void queryOpen(benchmark::State &state, bool server)
{
    MenuDatabase *m = menuDatabase(state, server);
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
    if (mq.q.RecordCount() != kRows)
        state.SkipWithError("wrong row count");
    state.counters["bytes_per_row"] = double(after - before) / kRows;
    mq.q.Close();
    m->tr.Commit();
}

void rawFetch(benchmark::State &state, bool server)
{
    MenuDatabase *m = menuDatabase(state, server);
    if (!m)
        return;
    m->tr.ensureStarted();
    IMaster *master = fb_get_master_interface();
    ThrowStatusWrapper st(master->getStatus());
    const QByteArray text = kSelect.join(QLatin1Char('\n')).toLatin1();
    IAttachment *att = m->db.attachment();
    ITransaction *tra = m->tr.handle();
    int rows = 0;
    for (auto _ : state) {
        IStatement *stmt =
            att->prepare(&st, tra, 0, text.constData(), 3, IStatement::PREPARE_PREFETCH_METADATA);
        IMessageMetadata *meta = stmt->getOutputMetadata(&st);
        std::vector<unsigned char> buffer(meta->getMessageLength(&st));
        IResultSet *rs = stmt->openCursor(&st, tra, nullptr, nullptr, meta, 0);
        rows = 0;
        while (rs->fetchNext(&st, buffer.data()) == IStatus::RESULT_OK)
            ++rows;
        benchmark::DoNotOptimize(buffer.data());
        rs->close(&st);
        meta->release();
        stmt->free(&st);
    }
    st.dispose();
    if (rows != kRows)
        state.SkipWithError("wrong row count");
    m->tr.Commit();
}

void BM_QueryOpenEmbedded(benchmark::State &state)
{
    queryOpen(state, false);
}
BENCHMARK(BM_QueryOpenEmbedded)->Unit(benchmark::kMillisecond);

void BM_RawFetchEmbedded(benchmark::State &state)
{
    rawFetch(state, false);
}
BENCHMARK(BM_RawFetchEmbedded)->Unit(benchmark::kMillisecond);

void BM_QueryOpenServer(benchmark::State &state)
{
    queryOpen(state, true);
}
BENCHMARK(BM_QueryOpenServer)->Unit(benchmark::kMillisecond);

void BM_RawFetchServer(benchmark::State &state)
{
    rawFetch(state, true);
}
BENCHMARK(BM_RawFetchServer)->Unit(benchmark::kMillisecond);

// ---- The renumbering walk against one prepared statement --------------------

// Every iteration starts from the stored codes: the walk's updates are
// rolled back outside the timing.
void BM_RenumberWalkEmbedded(benchmark::State &state)
{
    MenuDatabase *m = menuDatabase(state, false);
    if (!m)
        return;
    MenuQuery mq(*m);
    TField *menu = nullptr;
    for (auto _ : state) {
        state.PauseTiming();
        mq.q.Open();
        menu = mq.q.FieldByName(QStringLiteral("MENU"));
        state.ResumeTiming();
        mq.q.Locate(QStringLiteral("PROGRAMMA;MENU"), QVariantList{kProgram, kRows});
        while (!mq.q.Bof()) {
            if (menu->AsInteger() >= 1) {
                mq.q.Edit();
                menu->setAsInteger(menu->AsInteger() + 1);
                mq.q.Post();
            }
            mq.q.Prior();
        }
        state.PauseTiming();
        m->tr.Rollback();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_RenumberWalkEmbedded)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_RenumberStatementEmbedded(benchmark::State &state)
{
    MenuDatabase *m = menuDatabase(state, false);
    if (!m)
        return;
    m->tr.ensureStarted();
    IMaster *master = fb_get_master_interface();
    ThrowStatusWrapper st(master->getStatus());
    IAttachment *att = m->db.attachment();
    const char *text = "UPDATE DETTMENU SET MENU=MENU+1 WHERE (PROGRAMMA=?)AND(MENU=?)";
    IStatement *stmt = att->prepare(&st, m->tr.handle(), 0, text, 3, 0);
    struct Input
    {
        short programma;
        short programmaNull;
        short menu;
        short menuNull;
    };
    IMetadataBuilder *b = stmt->getInputMetadata(&st)->getBuilder(&st);
    b->setType(&st, 0, SQL_SHORT + 1);
    b->setLength(&st, 0, sizeof(short));
    b->setType(&st, 1, SQL_SHORT + 1);
    b->setLength(&st, 1, sizeof(short));
    IMessageMetadata *meta = b->getMetadata(&st);
    b->release();
    std::vector<unsigned char> buffer(meta->getMessageLength(&st));
    auto field = [&](unsigned i) {
        return reinterpret_cast<short *>(&buffer[meta->getOffset(&st, i)]);
    };
    auto nullFlag = [&](unsigned i) {
        return reinterpret_cast<short *>(&buffer[meta->getNullOffset(&st, i)]);
    };
    *nullFlag(0) = *nullFlag(1) = 0;
    *field(0) = kProgram;
    for (auto _ : state) {
        ITransaction *tra = m->tr.handle();
        for (int code = kRows; code >= 1; --code) {
            *field(1) = short(code);
            stmt->execute(&st, tra, meta, buffer.data(), nullptr, nullptr);
        }
        state.PauseTiming();
        m->tr.Rollback();
        m->tr.StartTransaction();
        state.ResumeTiming();
    }
    meta->release();
    stmt->free(&st);
    st.dispose();
    m->tr.Rollback();
}
BENCHMARK(BM_RenumberStatementEmbedded)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    // The databases go before the server they may be attached through.
    embeddedSlot().reset();
    serverSlot().reset();
    g_server.reset();
    return 0;
}
