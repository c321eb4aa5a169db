// The menu import of a file of 200 new programs with 100 entries each (NOTE
// and PARAMETRIBLOB filled): reading it into the staging tables a line at a
// time as the import window does, marking
// every program, writing and committing, against a floor in the same run:
// the same 20,200 rows through two inserts prepared straight on the Firebird
// client, their values bound, in one transaction. Each repetition works on a
// fresh user database made before its timing starts, in memory and then on
// disk. Repetitions are interleaved; the medians must stay within 1.5x, and
// both sides must leave the same rows.
//
// With --file50mb it runs instead, once, the import of a 50 MB file of the
// same rows as the import window does it (from the file on disk to the
// commit, every program marked) and prints its time and the memory it took
// at its peak over what the process held before; it exits with 1 when that
// passes 4 times the file's size. --file50mb-corte does the same with the
// shortest lines (no texts but the names: a million rows), where the cost of
// each staged row weighs most. Slow (tens of seconds), so never by default.
#include "benchsupport.h"
#include "filescambiomenu.h"
#include "ibsql.h"
#include "importmenu.h"
#include "memorydata.h"
#include "rawsql.h"
#include "win1252.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <cstring>
#include <map>

using namespace FileScambioMenu;

namespace {

constexpr int kProgrammi = 200;
constexpr int kVoci = 100;
constexpr double kRapportoMassimo = 1.5;

QByteArray fileDiProva;
QString cartella; // where this run's databases go

TRigaScambio rigaDiProva(int p, int m)
{
    TRigaScambio r;
    r[Progetto] = QStringLiteral("Base");
    r[Codice] = QString::number(p);
    r[Nome] = QStringLiteral("Programma%1").arg(p);
    r[Descrizione] = QStringLiteral("Descrizione del programma %1").arg(p);
    r[Icona] = QStringLiteral("p%1.bmp").arg(p);
    r[Programma] = QString::number(p);
    r[Menu] = QString::number(m);
    r[MenuPrec] = m <= 10 ? QString() : QString::number((m - 1) / 10);
    r[LivelloMenu] = m <= 10 ? QStringLiteral("0") : QStringLiteral("1");
    r[DescrizioneMenu] = QStringLiteral("Voce %1 dell'archivio %2").arg(m).arg(p);
    r[Dll] = QStringLiteral("Norvak.dll");
    r[Funzione] = QStringLiteral("ShowCSDFormY");
    r[Note] = QStringLiteral("Nota della voce %1: aperta dal menu del programma %2").arg(m).arg(p);
    r[Livello2Versione] = QStringLiteral("1");
    r[Parametri] = QStringLiteral("TIPOLINEA=FT;PARAMETROLINEA=UltimaLineaFT;");
    r[Visibile] = QStringLiteral("1");
    r[VoceRapida] = QStringLiteral("0");
    QString script = QStringLiteral("<CSDForm Tabella=\"ARTICOLI%1\">\r\n").arg(m);
    for (int c = 0; c < 6; ++c)
        script += QStringLiteral("  <Campo Nome=\"CAMPO%1\" Titolo='Campo %1'/>\r\n").arg(c);
    r[ParametriBlob] = script + QStringLiteral("</CSDForm>");
    return r;
}

QByteArray componi()
{
    QVector<TRigaScambio> righe;
    for (int p = 1; p <= kProgrammi; ++p) {
        for (int m = 1; m <= kVoci; ++m)
            righe.append(rigaDiProva(p, m));
    }
    const TFileComposto f = ComponiFile(righe);
    if (!f.ok())
        qFatal("the benchmark's file is refused");
    return f.Contenuto;
}

// A fresh user database with PARAMETRIBLOB, as an installation has it once
// the programs editor opened.
struct Archivio : BenchSupport::UserDatabase
{
    Archivio()
        : UserDatabase(QString(), cartella)
    {
        esegui(QStringLiteral("ALTER TABLE DETTMENU ADD PARAMETRIBLOB BLOB SUB_TYPE TEXT"));
    }
    void esegui(const QString &sql)
    {
        TIBSQL s;
        s.setDatabase(db());
        s.setTransaction(tr());
        s.SQL = QStringList{sql};
        s.ExecQuery();
        tr()->Commit();
    }
    QString conta(const QString &sql)
    {
        TIBSQL s;
        s.setDatabase(db());
        s.setTransaction(tr());
        s.SQL = QStringList{sql};
        s.ExecQuery();
        const QString v = s.Fields(0).AsString();
        s.Close();
        tr()->Commit();
        return v;
    }
    // What both sides must leave: every row, one text.
    QString impronta()
    {
        return conta("SELECT COUNT(*) || '/' || SUM(CHAR_LENGTH(COALESCE(DESCRIZIONE,'')) + "
                     "CHAR_LENGTH(COALESCE(PARAMETRI,'')) + OCTET_LENGTH(NOTE) + "
                     "CHAR_LENGTH(PARAMETRIBLOB) + PROGRAMMA * MENU + COALESCE(MENUPREC,0)) FROM "
                     "DETTMENU") +
               QLatin1Char('/') + conta("SELECT COUNT(*) || '/' || SUM(CODICE) FROM PROGRAMMI");
    }
};

std::map<std::string, QString> impronte;

// The two staging tables, defined and open.
struct Tabelle
{
    Tabelle()
    {
        TImportazioneMenu::DefinisciTabelle(&prog, &menu);
        prog.Open();
        menu.Open();
    }
    TRxMemoryData prog, menu;
};

// The import as the window runs it: an archive, the staging tables, and
// every staged program marked before the writing.
struct Importatore : Tabelle
{
    bool marcaTuttiEImporta()
    {
        TField *s = prog.FieldByName(QStringLiteral("S"));
        for (prog.First(); !prog.Eof(); prog.Next()) {
            prog.Edit();
            s->setAsString(QStringLiteral("1"));
            prog.Post();
        }
        return importazione.Importa(archivio.db(), archivio.tr(), [](const QString &riga) {
            if (riga.startsWith(QStringLiteral("Errore")))
                std::fprintf(stderr, "%s\n", qPrintable(riga));
        });
    }
    Archivio archivio;
    TImportazioneMenu importazione{&prog, &menu};
};

void BM_ImportazioneMenu(benchmark::State &state)
{
    Importatore imp;
    bool riuscita = false;
    for (auto _ : state) {
        // Staged a line at a time from the file, as the import window reads it.
        QBuffer file(&fileDiProva);
        file.open(QIODevice::ReadOnly);
        if (!imp.importazione
                 .CaricaFile(
                     file, [](const QString &) { return std::optional<int>(); }, 1)
                 .isEmpty())
            qFatal("the benchmark's file is refused");
        riuscita = imp.marcaTuttiEImporta();
    }
    if (!riuscita)
        state.SkipWithError("the import failed");
    impronte[__func__] = imp.archivio.impronta();
}
BENCHMARK(BM_ImportazioneMenu)->Apply(BenchSupport::repeated)->UseRealTime();

// One bound value as the client takes it.
struct ValoreGrezzo
{
    enum { Nullo, Intero, Testo } tipo = Nullo;
    qint64 intero = 0;
    QByteArray testo;
};

ValoreGrezzo grezzo(const QVariant &v)
{
    ValoreGrezzo g;
    if (v.isNull())
        return g;
    if (v.typeId() == QMetaType::Int || v.typeId() == QMetaType::LongLong) {
        g.tipo = ValoreGrezzo::Intero;
        g.intero = v.toLongLong();
    } else {
        g.tipo = ValoreGrezzo::Testo;
        g.testo =
            v.typeId() == QMetaType::QByteArray ? v.toByteArray() : Win1252::encode(v.toString());
    }
    return g;
}

void lega(BenchSupport::RawStatement &s, const QVector<ValoreGrezzo> &valori)
{
    for (int i = 0; i < valori.size(); ++i) {
        const ValoreGrezzo &v = valori[i];
        if (v.tipo == ValoreGrezzo::Nullo)
            s.setNull(unsigned(i));
        else if (v.tipo == ValoreGrezzo::Intero)
            s.setInteger(unsigned(i), v.intero);
        else
            s.setText(unsigned(i), v.testo);
    }
}

// The same rows as the import stores them, two statements prepared once.
void BM_PavimentoInserimentiPreparati(benchmark::State &state)
{
    Archivio archivio;
    const TLettura lettura = LeggiFile(fileDiProva);
    TIBDatabase *db = archivio.db();
    TIBTransaction *tr = archivio.tr();
    // The values as the import stores them, worked out before the timing;
    // each program's entries follow it.
    QVector<QVector<ValoreGrezzo>> programmi;
    QVector<QVector<QVector<ValoreGrezzo>>> voci;
    QString nome;
    for (const TRigaScambio &r : lettura.Righe) {
        if (r[Nome] != nome) {
            nome = r[Nome];
            const TProgrammaFile p = ProgrammaDaMemorizzare(ProgrammaDellaRiga(r));
            programmi.append(QVector<ValoreGrezzo>{grezzo(programmi.size() + 1), grezzo(p.Nome),
                                                   grezzo(p.Descrizione), grezzo(p.Icona)});
            voci.append(QVector<QVector<ValoreGrezzo>>());
        }
        const TVoceFile v = VoceDaMemorizzare(VoceDellaRiga(r));
        voci.last().append(QVector<ValoreGrezzo>{
            grezzo(programmi.size()), grezzo(v.Menu), grezzo(v.MenuPrec), grezzo(v.LivelloMenu),
            grezzo(v.Descrizione), grezzo(v.Dll), grezzo(v.Funzione), grezzo(v.Note),
            grezzo(v.Livello2Versione), grezzo(v.Parametri), grezzo(v.Visibile),
            grezzo(v.VoceRapida), grezzo(v.ParametriBlob)});
    }
    for (auto _ : state) {
        BenchSupport::RawStatement programma(
            db, tr, "INSERT INTO PROGRAMMI (CODICE,NOME,DESCRIZIONE,ICONA) VALUES (?,?,?,?)");
        BenchSupport::RawStatement voce(
            db, tr,
            "INSERT INTO DETTMENU (PROGRAMMA,MENU,MENUPREC,LIVELLOMENU,DESCRIZIONE,DLL,FUNZIONE,"
            "NOTE,LIVELLO2VERSIONE,PARAMETRI,VISIBILE,VOCERAPIDA,PARAMETRIBLOB) VALUES "
            "(?,?,?,?,?,?,?,?,?,?,?,?,?)");
        for (int p = 0; p < programmi.size(); ++p) {
            lega(programma, programmi[p]);
            programma.execute();
            for (const QVector<ValoreGrezzo> &v : voci[p]) {
                lega(voce, v);
                voce.execute();
            }
        }
        tr->Commit();
    }
    impronte[__func__] = archivio.impronta();
}
BENCHMARK(BM_PavimentoInserimentiPreparati)->Apply(BenchSupport::repeated)->UseRealTime();

// --- The 50 MB file

constexpr qint64 kGrande = 50LL * 1024 * 1024;
constexpr double kMemoriaMassima = 4.0; // times the file's size

// The same rows as above, programs of kVoci entries, written a line at a time
// until the file reaches kGrande bytes; `corte` empties every text but the
// names.
qint64 scriviGrande(const QString &nome, bool corte)
{
    QFile file(nome);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write the 50 MB file");
    qint64 scritti = file.write(Win1252::encode(Intestazione() + QStringLiteral("\r\n")));
    for (int p = 1; scritti < kGrande; ++p) {
        for (int m = 1; m <= kVoci && scritti < kGrande; ++m) {
            TRigaScambio r = rigaDiProva(p, m);
            if (corte) {
                for (int c : {Descrizione, Icona, DescrizioneMenu, Dll, Funzione, Note, Parametri,
                              ParametriBlob})
                    r[c].clear();
            }
            scritti += file.write(Win1252::encode(RigaDati(r) + "\r\n"));
        }
    }
    return scritti;
}

// Kilobytes from /proc/self/status: "VmRSS" now, "VmHWM" the peak.
qint64 memoria(const char *voce)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &riga : status.readAll().split('\n')) {
        if (riga.startsWith(voce))
            return riga.mid(int(std::strlen(voce)) + 1).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

// The peak is reset so that only what follows counts (Linux 4.0 and later).
void azzeraPicco()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (!clear.open(QIODevice::WriteOnly) || clear.write("5") != 1)
        qWarning("cannot reset the peak memory: the figure covers the file's making too");
}

// What the import window does with a chosen file: staging, then the writing.
QString caricaDaFile(TImportazioneMenu &importazione, const QString &nome)
{
    QFile file(nome);
    if (!file.open(QIODevice::ReadOnly))
        return file.errorString();
    return importazione.CaricaFile(
        file, [](const QString &) { return std::optional<int>(); }, 1);
}

int file50mb(bool corte)
{
    QTemporaryDir cartella;
    const QString nome = cartella.filePath(QStringLiteral("menu50mb.csv"));
    const qint64 dimensione = scriviGrande(nome, corte);
    Importatore imp;

    const qint64 prima = memoria("VmRSS:");
    azzeraPicco();
    QElapsedTimer tempo;
    tempo.start();
    const QString errore = caricaDaFile(imp.importazione, nome);
    if (!errore.isEmpty()) {
        std::printf("the 50 MB file was not read: %s\n", qPrintable(errore));
        return 1;
    }
    const qint64 lettura = tempo.elapsed();
    const int righe = imp.menu.RecordCount();
    const bool riuscita = imp.marcaTuttiEImporta();
    const qint64 totale = tempo.elapsed();
    const qint64 picco = memoria("VmHWM:") - prima;
    const double rapporto = double(picco) * 1024 / double(dimensione);
    std::printf("50 MB file: %.1f MB, %d lines; staging %.1f s, whole import %.1f s; "
                "peak memory %.0f MB over the start (%.2f x the file, target <= %.1f), "
                "process peak %.0f MB\n",
                double(dimensione) / 1048576, righe, double(lettura) / 1000, double(totale) / 1000,
                double(picco) / 1024, rapporto, kMemoriaMassima, double(memoria("VmHWM:")) / 1024);
    if (!riuscita)
        return 1;
    return rapporto <= kMemoriaMassima ? 0 : 1;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc == 2 && std::strncmp(argv[1], "--file50mb", 10) == 0) {
        BenchSupport::reportErrorBoxes();
        return file50mb(std::strcmp(argv[1], "--file50mb-corte") == 0);
    }
    if (!BenchSupport::initialize(argc, argv))
        return 1;

    BenchSupport::reportErrorBoxes();
    fileDiProva = componi();
    BenchSupport::Medians reporter;
    bool entro = true;
    for (const BenchSupport::Place &luogo : BenchSupport::places()) {
        cartella = luogo.folder;
        impronte.clear();
        benchmark::RunSpecifiedBenchmarks(&reporter);
        const std::optional<double> rapporto =
            reporter.ratio("BM_ImportazioneMenu", "BM_PavimentoInserimentiPreparati");
        if (!rapporto)
            continue; // a filter left one side out: nothing to compare
        if (impronte["BM_ImportazioneMenu"] != impronte["BM_PavimentoInserimentiPreparati"]) {
            std::printf("the import and the floor left different rows: %s against %s\n",
                        qPrintable(impronte["BM_ImportazioneMenu"]),
                        qPrintable(impronte["BM_PavimentoInserimentiPreparati"]));
            entro = false;
        }
        const std::string cosa = "import of " + std::to_string(kProgrammi) + " programs x " +
                                 std::to_string(kVoci) + " entries / prepared inserts, " +
                                 luogo.name.toStdString();
        entro = BenchSupport::reportRatio(cosa, *rapporto, kRapportoMassimo) && entro;
    }
    benchmark::Shutdown();
    return entro ? 0 : 1;
}
