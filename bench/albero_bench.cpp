// The menu tree view opened on a program of 30,000 shown entries (30 at the
// top, 100 under each, 9 under each of those) plus hidden entries and
// entries of a wrong depth, from construction to its first paint
// (offscreen), against the floor of fetching the same rows with the view's
// statement into a plain vector through the client's own interfaces. Both
// on a user database on disk and on one in memory (/dev/shm), in the same
// run; repetitions are interleaved, and the medians must stay within 2x.
#include "benchsupport.h"
#include "ibdatabase.h"
#include "ibsql.h"
#include "memorydata.h"
#include "messages.h"
#include "tabform.h"
#include "visalberoform.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPixmap>
#include <cstdio>
#include <cstring>
#include <firebird/Interface.h>
#include <memory>
#include <string>
#include <vector>

using namespace Firebird;

namespace {

constexpr int kCima = 30;
constexpr int kSotto = 100;
constexpr int kFoglie = 9;
constexpr int kMostrate = kCima + kCima * kSotto + kCima * kSotto * kFoglie; // 30,030
constexpr int kNascoste = 1000;
constexpr int kFuoriLivello = 1000;
constexpr int kVoci = kMostrate + kNascoste + kFuoriLivello; // within a SMALLINT
constexpr double kMassimo = 2.0;
const QString kProgramma = QStringLiteral("1");

struct Banco
{
    QString nome;
    std::unique_ptr<BenchSupport::UserDatabase> archivio;
    TTabForm *variabile = nullptr;

    TIBDatabase *db() const { return archivio->db(); }
    TIBTransaction *tr() const { return archivio->tr(); }
};

std::vector<std::unique_ptr<Banco>> banchi;

// Codes level by level: the top entries, then those under them, then the
// leaves; after them hidden entries (under the second level, each with a
// visible child) and entries one level too deep.
void riempi(Banco &b)
{
    TIBSQL q;
    q.setDatabase(b.db());
    q.setTransaction(b.tr());
    q.ParamCheck = false;
    const QString secondo = QString::number(kCima + 1);
    const QString terzo = QString::number(kCima + kCima * kSotto + 1);
    const QString nascoste = QString::number(kMostrate + 1);
    const QString fuori = QString::number(kMostrate + kNascoste + 1);
    q.SQL = QStringList{
        "EXECUTE BLOCK AS DECLARE I INTEGER = 1; DECLARE P INTEGER; DECLARE L INTEGER;",
        "DECLARE V INTEGER; BEGIN",
        "WHILE (I <= " + QString::number(kVoci) + ") DO BEGIN",
        "V = 1;",
        "IF (I < " + secondo + ") THEN BEGIN P = NULL; L = 0; END",
        "ELSE IF (I < " + terzo + ") THEN BEGIN P = 1 + (I - " + secondo + ") / " +
            QString::number(kSotto) + "; L = 1; END",
        "ELSE IF (I < " + nascoste + ") THEN BEGIN P = " + secondo + " + (I - " + terzo + ") / " +
            QString::number(kFoglie) + "; L = 2; END",
        "ELSE IF (I < " + fuori + ") THEN BEGIN",
        "  IF (MOD(I - " + nascoste + ", 2) = 0) THEN BEGIN P = " + secondo + " + MOD(I, " +
            QString::number(kCima * kSotto) + "); L = 2; V = 0; END",
        "  ELSE BEGIN P = I - 1; L = 3; END END",
        "ELSE BEGIN P = " + secondo + " + MOD(I, " + QString::number(kCima * kSotto) +
            "); L = 3; END",
        "INSERT INTO DETTMENU (PROGRAMMA, MENU, MENUPREC, LIVELLOMENU, DESCRIZIONE, DLL,",
        "FUNZIONE, LIVELLO2VERSIONE, PARAMETRI, VISIBILE, VOCERAPIDA) VALUES (1, :I, :P, :L,",
        "'Voce di menu ' || :I, 'Libreria' || MOD(:I, 50) || '.dll', 'Funzione' || :I,",
        "0, 'TIPOLINEA=FT;', :V, 0);",
        "I = I + 1; END END"};
    q.ExecQuery();
    q.Close();
    b.tr()->Commit();
    b.tr()->StartTransaction();
}

std::unique_ptr<Banco> apriBanco(const QString &nome, const QString &cartella)
{
    auto b = std::make_unique<Banco>();
    b->nome = nome;
    b->archivio = std::make_unique<BenchSupport::UserDatabase>(QString(), cartella);
    b->variabile = b->archivio->tab.get();
    riempi(*b);
    return b;
}

// ---- The view --------------------------------------------------------------------------

void BM_Albero(benchmark::State &state, Banco *b)
{
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        auto vista = std::make_unique<TVisAlberoForm>(nullptr, b->variabile, kProgramma);
        vista->show();
        const QPixmap prima = vista->grab();
        state.SetIterationTime(t.nsecsElapsed() / 1e9);
        if (vista->MemTabNodiMenu->RecordCount() != kMostrate || prima.isNull())
            state.SkipWithError(("the view showed " +
                                 std::to_string(vista->MemTabNodiMenu->RecordCount()) + " nodes")
                                    .c_str());
        vista.reset();
        // Each opening reads in a snapshot of its own, as the editor's would.
        b->tr()->Commit();
        b->tr()->StartTransaction();
    }
}

// ---- The floor: the same statement, raw ---------------------------------------------------

struct RigaGrezza
{
    short menu;
    short menuPrec;
    bool precNullo;
    short livello;
    bool livelloNullo;
    std::string descrizione;
    short visibile;
};

#pragma pack(push, 1)
struct Messaggio
{
    short programma;
    short programmaNullo;
};
#pragma pack(pop)

std::size_t fetchGrezzo(Banco &b)
{
    b.tr()->ensureStarted();
    IMaster *master = fb_get_master_interface();
    ThrowStatusWrapper st(master->getStatus());
    const QByteArray testo = QByteArrayLiteral("SELECT MENU,MENUPREC,LIVELLOMENU,DESCRIZIONE,"
                                               "VISIBILE FROM DETTMENU WHERE PROGRAMMA=? "
                                               "ORDER BY MENU");
    IAttachment *att = b.db()->attachment();
    ITransaction *tra = b.tr()->handle();
    std::vector<RigaGrezza> righe;
    IStatement *stmt =
        att->prepare(&st, tra, 0, testo.constData(), 3, IStatement::PREPARE_PREFETCH_METADATA);
    IMessageMetadata *in = stmt->getInputMetadata(&st);
    std::vector<unsigned char> parametri(in->getMessageLength(&st));
    const short programma = 1;
    std::memcpy(&parametri[in->getOffset(&st, 0)], &programma, sizeof programma);
    std::memset(&parametri[in->getNullOffset(&st, 0)], 0, sizeof(short));
    IMessageMetadata *out = stmt->getOutputMetadata(&st);
    std::vector<unsigned char> buf(out->getMessageLength(&st));
    unsigned off[5], nul[5];
    for (unsigned i = 0; i < 5; ++i) {
        off[i] = out->getOffset(&st, i);
        nul[i] = out->getNullOffset(&st, i);
    }
    IResultSet *rs = stmt->openCursor(&st, tra, in, parametri.data(), out, 0);
    const auto corto = [&](unsigned i) {
        short v;
        std::memcpy(&v, &buf[off[i]], sizeof v);
        return v;
    };
    const auto nullo = [&](unsigned i) {
        short n;
        std::memcpy(&n, &buf[nul[i]], sizeof n);
        return n != 0;
    };
    while (rs->fetchNext(&st, buf.data()) == IStatus::RESULT_OK) {
        RigaGrezza r;
        r.menu = corto(0);
        r.precNullo = nullo(1);
        r.menuPrec = r.precNullo ? 0 : corto(1);
        r.livelloNullo = nullo(2);
        r.livello = r.livelloNullo ? 0 : corto(2);
        unsigned short lunghezza;
        std::memcpy(&lunghezza, &buf[off[3]], sizeof lunghezza);
        if (!nullo(3))
            r.descrizione.assign(reinterpret_cast<const char *>(&buf[off[3] + 2]), lunghezza);
        r.visibile = nullo(4) ? 0 : corto(4);
        righe.push_back(std::move(r));
    }
    rs->close(&st);
    out->release();
    in->release();
    stmt->free(&st);
    st.dispose();
    return righe.size();
}

void BM_AlberoPavimento(benchmark::State &state, Banco *b)
{
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        const std::size_t n = fetchGrezzo(*b);
        state.SetIterationTime(t.nsecsElapsed() / 1e9);
        if (n != std::size_t(kVoci))
            state.SkipWithError("the raw fetch did not read the whole menu");
        b->tr()->Commit();
        b->tr()->StartTransaction();
    }
}

void registra(Banco *b)
{
    const std::string n = b->nome.toStdString();
    const auto un = [](benchmark::internal::Benchmark *bm) {
        bm->Apply(BenchSupport::repeated)->UseManualTime();
    };
    un(benchmark::RegisterBenchmark(("BM_Albero/" + n).c_str(), BM_Albero, b));
    un(benchmark::RegisterBenchmark(("BM_AlberoPavimento/" + n).c_str(), BM_AlberoPavimento, b));
}

void caricoMacchina(const char *quando)
{
    QFile f(QStringLiteral("/proc/loadavg"));
    if (f.open(QIODevice::ReadOnly))
        std::fprintf(stderr, "load average %s: %s", quando, f.readLine().constData());
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (!BenchSupport::initialize(argc, argv))
        return 1;
    BenchSupport::reportErrorBoxes();

    banchi.push_back(apriBanco(QStringLiteral("disco"), QString()));
    banchi.push_back(apriBanco(QStringLiteral("memoria"), QStringLiteral("/dev/shm")));
    for (auto &b : banchi)
        registra(b.get());

    caricoMacchina("before");
    BenchSupport::Medians reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    caricoMacchina("after");

    bool entro = true;
    for (auto &b : banchi) {
        const std::string nome = b->nome.toStdString();
        const std::optional<double> rapporto =
            reporter.ratio("BM_Albero/" + nome, "BM_AlberoPavimento/" + nome);
        if (rapporto)
            entro =
                BenchSupport::reportRatio("BM_Albero " + nome + " / floor", *rapporto, kMassimo) &&
                entro;
        b->archivio.reset();
    }
    return entro ? 0 : 1;
}
