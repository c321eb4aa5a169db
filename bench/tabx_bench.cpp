// The users editor rebuilds every user's parameter text through ScriviPravlin
// each time it opens. On a user database of 1,000 users with 100 TABPRAVLIN
// rows each, kept in memory and on disk, the editor's loop is measured against
// a floor run straight through the Firebird client in the same run on the
// same file: one SELECT of all the rows, the texts built in a plain loop, and
// the 1,000 bound blob updates of UTENTI.PRAVLIN, each committed as
// ScriviPravlin commits. Repetitions are interleaved; the medians must stay
// within 2.5x, and both sides must write the same texts. Two cases: every
// text already as the rows give it (an editor opened again: nothing is
// written), and every user's rows changed since the last rebuild (one value
// each, changed untimed before each pass: every text is written).
#include "benchsupport.h"
#include "ibsql.h"
#include "rawsql.h"
#include "tabxform.h"
#include "win1252.h"

#include <QCoreApplication>
#include <map>
#include <memory>
#include <vector>

namespace {

constexpr int kUtenti = 1000;
constexpr int kDitte = 10;
constexpr int kParametri = 10;
constexpr double kRapportoMassimo = 2.5;

struct Banco
{
    explicit Banco(const QString &cartella)
        : archivio(QString(), cartella)
    {
    }
    BenchSupport::UserDatabase archivio;
    std::unique_ptr<TTabXForm> tabx;
    std::vector<int> codici;
};

Banco *banco = nullptr;

// The floor's texts: one pass over every row in the database's order.
std::map<int, QString> testiInUnGiro(TIBDatabase *db)
{
    TIBTransaction tr;
    tr.setDefaultDatabase(db);
    BenchSupport::RawStatement q(db, &tr,
                                 "SELECT UTENTE,INTESTAZIONE,PARAMETRO,VALORE FROM TABPRAVLIN "
                                 "WHERE INTESTAZIONE IS NOT NULL "
                                 "ORDER BY UTENTE,INTESTAZIONE,PROGRESSIVO");
    std::map<int, QString> testi;
    int utente = -1;
    QString *testo = nullptr;
    QString corrente;
    for (q.open(); q.next();) {
        const int u = int(q.integer(0));
        if (u != utente) {
            utente = u;
            testo = &testi[u];
            corrente.clear();
        }
        const QString intestazione = Win1252::decode(q.text(1));
        const QString parametro = Win1252::decode(q.text(2));
        if (intestazione != corrente) {
            if (intestazione.isEmpty())
                continue;
            *testo += QLatin1Char('[') + intestazione + QStringLiteral("]\n");
            corrente = intestazione;
        }
        if (!parametro.isEmpty())
            *testo += parametro + QLatin1Char('=') + Win1252::decode(q.text(3));
        *testo += QLatin1Char('\n');
    }
    q.close();
    tr.Commit();
    return testi;
}

void scriviTesti(TIBDatabase *db, const std::vector<int> &codici,
                 const std::map<int, QString> &testi)
{
    TIBTransaction tr;
    tr.setDefaultDatabase(db);
    BenchSupport::RawStatement u(db, &tr, "UPDATE UTENTI SET PRAVLIN=? WHERE CODICE=?");
    for (int codice : codici) {
        const auto t = testi.find(codice);
        if (t == testi.end() || t->second.isEmpty())
            u.setNull(0);
        else
            u.setText(0, Win1252::encode(t->second));
        u.setInteger(1, codice);
        u.execute();
        tr.Commit();
        tr.StartTransaction();
    }
    tr.Commit();
}

std::map<int, QString> testiScritti(TIBDatabase *db)
{
    TIBTransaction tr;
    tr.setDefaultDatabase(db);
    TIBSQL q;
    q.setDatabase(db);
    q.setTransaction(&tr);
    q.SQL = QStringList{"SELECT CODICE,PRAVLIN FROM UTENTI WHERE PRAVLIN IS NOT NULL"};
    std::map<int, QString> testi;
    for (q.ExecQuery(); !q.Eof(); q.Next())
        testi[q.Fields(0).AsInteger()] = q.Fields(1).AsString();
    q.Close();
    tr.Commit();
    return testi;
}

void preparaBanco(const QString &cartella)
{
    BenchSupport::reportErrorBoxes();
    banco = new Banco(cartella);
    TIBDatabase *db = banco->archivio.db();
    BenchSupport::fillUsers(db, kUtenti, kDitte, kParametri);
    for (int u = 1; u <= kUtenti; ++u)
        banco->codici.push_back(u);

    banco->tabx = std::make_unique<TTabXForm>(nullptr, 0);
    // The untimed rebuild; then both sides must agree on every text.
    for (int codice : banco->codici)
        banco->tabx->ScriviPravlin(codice);
    const std::map<int, QString> scritti = testiScritti(db);
    const std::map<int, QString> attesi = testiInUnGiro(db);
    if (scritti.size() != size_t(kUtenti) || scritti != attesi)
        qFatal("ScriviPravlin and the floor wrote different texts");
}

void BM_ScriviPravlinPerOgniUtente(benchmark::State &state)
{
    for (auto _ : state) {
        for (int codice : banco->codici)
            banco->tabx->ScriviPravlin(codice);
    }
}
BENCHMARK(BM_ScriviPravlinPerOgniUtente)->Apply(BenchSupport::repeated)->UseRealTime();

// One value of every user changes, so each stored text differs from its rows.
void cambiaUnValorePerUtente(TIBDatabase *db, int giro)
{
    TIBTransaction tr;
    tr.setDefaultDatabase(db);
    TIBSQL u;
    u.setDatabase(db);
    u.setTransaction(&tr);
    u.SQL = QStringList{"UPDATE TABPRAVLIN SET VALORE=:V WHERE PROGRESSIVO=1"};
    u.ParamByName("V").setAsString(QStringLiteral("giro %1").arg(giro));
    u.ExecQuery();
    tr.Commit();
}

void BM_ScriviPravlinRigheCambiate(benchmark::State &state)
{
    static int giro = 0;
    for (auto _ : state) {
        state.PauseTiming();
        cambiaUnValorePerUtente(banco->archivio.db(), ++giro);
        state.ResumeTiming();
        for (int codice : banco->codici)
            banco->tabx->ScriviPravlin(codice);
    }
}
BENCHMARK(BM_ScriviPravlinRigheCambiate)->Apply(BenchSupport::repeated)->UseRealTime();

void BM_PavimentoUnaSelectEAggiornamenti(benchmark::State &state)
{
    TIBDatabase *db = banco->archivio.db();
    for (auto _ : state)
        scriviTesti(db, banco->codici, testiInUnGiro(db));
}
BENCHMARK(BM_PavimentoUnaSelectEAggiornamenti)->Apply(BenchSupport::repeated)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (!BenchSupport::initialize(argc, argv))
        return 1;

    BenchSupport::Medians reporter;
    bool entro = true;
    const struct
    {
        const char *misura, *etichetta;
    } casi[] = {{"BM_ScriviPravlinPerOgniUtente", "ScriviPravlin for every user / floor"},
                {"BM_ScriviPravlinRigheCambiate",
                 "ScriviPravlin for every user, every user's rows changed / floor"}};
    for (const BenchSupport::Place &luogo : BenchSupport::places()) {
        preparaBanco(luogo.folder);
        benchmark::RunSpecifiedBenchmarks(&reporter);
        if (testiScritti(banco->archivio.db()) != testiInUnGiro(banco->archivio.db()))
            qFatal("ScriviPravlin left a text that differs from its rows");
        delete banco;
        banco = nullptr;
        for (const auto &c : casi) {
            // A filter may have left a side out: nothing to compare then.
            if (const auto rapporto =
                    reporter.ratio(c.misura, "BM_PavimentoUnaSelectEAggiornamenti"))
                entro = BenchSupport::reportRatio(std::string(c.etichetta) + ", " +
                                                      luogo.name.toStdString(),
                                                  *rapporto, kRapportoMassimo) &&
                        entro;
        }
    }
    benchmark::Shutdown();
    return entro ? 0 : 1;
}
