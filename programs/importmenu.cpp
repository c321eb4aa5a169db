#include "importmenu.h"

#include "dberrortext.h"
#include "ibdatabase.h"
#include "ibsql.h"
#include "memorydata.h"

#include <QHash>

using namespace FileScambioMenu;

namespace {

const QString kMarcato = QStringLiteral("1");
const QString kEsistente = QStringLiteral("1");
const QString kNuovo = QStringLiteral("2");

const QStringList kMenuColonne = {QStringLiteral("MENU"),        QStringLiteral("MENUPREC"),
                                  QStringLiteral("LIVELLOMENU"), QStringLiteral("DESCRIZIONE"),
                                  QStringLiteral("DLL"),         QStringLiteral("FUNZIONE"),
                                  QStringLiteral("NOTE"),        QStringLiteral("LIVELLO2VERSIONE"),
                                  QStringLiteral("PARAMETRI"),   QStringLiteral("VISIBILE"),
                                  QStringLiteral("VOCERAPIDA"),  QStringLiteral("PARAMETRIBLOB")};

QVariantList valoriVoce(const TVoceFile &v)
{
    return {v.Menu,      v.MenuPrec, v.LivelloMenu, v.Descrizione,
            v.Dll,       v.Funzione, v.Note,        v.Livello2Versione,
            v.Parametri, v.Visibile, v.VoceRapida,  v.ParametriBlob};
}

// Views and cursor of a staging table held off for a walk of its rows, and
// given back however the walk ends.
class TScorrimento
{
public:
    explicit TScorrimento(TRxMemoryData *tabella, bool senzaFiltro = false)
        : m_tabella(tabella)
        , m_filtrata(tabella->Filtered())
    {
        m_tabella->DisableControls();
        if (senzaFiltro)
            m_tabella->setFiltered(false);
    }
    ~TScorrimento()
    {
        m_tabella->setFiltered(m_filtrata);
        m_tabella->First();
        m_tabella->EnableControls();
    }
    TScorrimento(const TScorrimento &) = delete;
    TScorrimento &operator=(const TScorrimento &) = delete;

private:
    TRxMemoryData *m_tabella;
    bool m_filtrata;
};

struct TProgrammaMarcato
{
    int Codice;
    bool Nuovo;
    TProgrammaFile Programma;
};

QString testo(const QVariant &v)
{
    return v.isNull() ? QString() : v.toString();
}

// A value as the statement's line shows it in the log: quoted, or NULL.
QString riga(const QVariant &v, const char *fine)
{
    const QString t = testo(v);
    return (t.isEmpty() ? QStringLiteral("NULL") : QLatin1Char('\'') + t + QLatin1Char('\'')) +
           QLatin1String(fine);
}

QStringList testoProgramma(const TProgrammaMarcato &p, const TProgrammaFile &v)
{
    return {QStringLiteral("INSERT INTO PROGRAMMI (CODICE,NOME,"),
            QStringLiteral("DESCRIZIONE,ICONA) VALUES("),
            QLatin1Char('\'') + QString::number(p.Codice) + QStringLiteral("',"),
            riga(v.Nome, ","),
            riga(v.Descrizione, ","),
            riga(v.Icona, ")")};
}

QStringList testoCancellazione(int codice)
{
    return {QStringLiteral("DELETE FROM DETTMENU WHERE"),
            QStringLiteral("PROGRAMMA='") + QString::number(codice) + QLatin1Char('\'')};
}

const QStringList kIntestazioneVoce = {QStringLiteral("INSERT INTO DETTMENU (PROGRAMMA,"),
                                       QStringLiteral("MENU,MENUPREC,LIVELLOMENU,DESCRIZIONE,"),
                                       QStringLiteral("DLL,FUNZIONE,NOTE,LIVELLO2VERSIONE,"),
                                       QStringLiteral("PARAMETRI,VISIBILE,VOCERAPIDA,"
                                                      "PARAMETRIBLOB) VALUES(")};

QStringList testoVoce(int codice, const TVoceFile &v)
{
    QStringList righe = kIntestazioneVoce;
    righe << QLatin1Char('\'') + QString::number(codice) + QStringLiteral("',");
    const QVariantList valori = valoriVoce(v);
    for (int i = 0; i < valori.size(); ++i)
        righe << riga(valori[i], i + 1 < valori.size() ? "," : ")");
    return righe;
}

// One statement prepared at its first run and run again with new values;
// its parameters are looked up once, after the prepare that fixes them.
class TIstruzione
{
public:
    TIstruzione(TIBDatabase *db, TIBTransaction *tr, const QStringList &sql,
                const QStringList &parametri)
        : m_nomi(parametri)
        , m_valori(parametri.size())
    {
        m_sql.setDatabase(db);
        m_sql.setTransaction(tr);
        m_sql.SQL = sql;
    }
    void imposta(int i, const QVariant &v) { m_valori[i] = v; }
    void esegui()
    {
        if (m_parametri.isEmpty()) {
            m_sql.Prepare();
            for (const QString &p : m_nomi)
                m_parametri.append(&m_sql.ParamByName(p));
        }
        for (int i = 0; i < m_parametri.size(); ++i)
            m_parametri[i]->setValue(m_valori[i]);
        m_sql.ExecQuery();
    }

private:
    TIBSQL m_sql;
    QStringList m_nomi;
    QVariantList m_valori;
    QVector<TIBValue *> m_parametri;
};

} // namespace

TImportazioneMenu::TImportazioneMenu(TRxMemoryData *memTabProg, TRxMemoryData *memTabMenu)
    : m_prog(memTabProg)
    , m_menu(memTabMenu)
{
}

void TImportazioneMenu::DefinisciTabelle(TRxMemoryData *memTabProg, TRxMemoryData *memTabMenu)
{
    TFieldDefs &p = memTabProg->FieldDefs;
    p.Clear();
    p.Add(QStringLiteral("CODICE"), ftInteger);
    p.Add(QStringLiteral("NOME"), ftString, 15);
    p.Add(QStringLiteral("DESCRIZIONE"), ftString, 64);
    p.Add(QStringLiteral("ICONA"), ftString, 64);
    p.Add(QStringLiteral("S"), ftString, 1);
    p.Add(QStringLiteral("S2"), ftString, 1);

    // One row per line of a file that may be big: packed rows keep the
    // staging within a small multiple of the file's size.
    memTabMenu->setCompact(true);
    TFieldDefs &m = memTabMenu->FieldDefs;
    m.Clear();
    for (const char *n : {"PROGRAMMA", "MENU", "MENUPREC", "LIVELLOMENU"})
        m.Add(QLatin1String(n), ftSmallint);
    m.Add(QStringLiteral("DESCRIZIONE"), ftString, 64);
    m.Add(QStringLiteral("DLL"), ftString, 20);
    m.Add(QStringLiteral("FUNZIONE"), ftString, 30);
    m.Add(QStringLiteral("NOTE"), ftBlob);
    m.Add(QStringLiteral("LIVELLO2VERSIONE"), ftSmallint);
    m.Add(QStringLiteral("PARAMETRI"), ftString, 256);
    m.Add(QStringLiteral("VISIBILE"), ftSmallint);
    m.Add(QStringLiteral("VOCERAPIDA"), ftSmallint);
    m.Add(QStringLiteral("S"), ftString, 1);
    m.Add(QStringLiteral("S2"), ftString, 1);
    m.Add(QStringLiteral("PARAMETRIBLOB"), ftBlob);
}

// The staging of one reading, a line at a time, with the views held off.
class TImportazioneMenu::TCarico
{
public:
    TCarico(TRxMemoryData *prog, TRxMemoryData *menu, const Ricerca &cerca, int nuovoCodice)
        : m_prog(prog)
        , m_menu(menu)
        , m_fermoProg(prog)
        , m_fermoMenu(menu, true)
        , m_cerca(cerca)
        , m_nuovoCodice(nuovoCodice)
    {
    }

    void aggiungi(const TRigaScambio &r)
    {
        if (r[Nome] != m_nomePrecedente) {
            const TProgrammaFile p = ProgrammaDellaRiga(r);
            const std::optional<int> trovato = m_cerca(p.Nome);
            m_codice = trovato ? *trovato : m_nuovoCodice++;
            m_prog->AppendRecord({m_codice, p.Nome, p.Descrizione, p.Icona, QVariant(),
                                  trovato ? kEsistente : kNuovo});
            m_nomePrecedente = r[Nome];
        }
        QVariantList valori = valoriVoce(VoceDellaRiga(r));
        valori.prepend(m_codice);
        valori.insert(12, QVariant()); // S
        valori.insert(13, QVariant()); // S2
        m_menu->AppendRecord(valori);
    }

private:
    TRxMemoryData *m_prog;
    TRxMemoryData *m_menu;
    TScorrimento m_fermoProg;
    TScorrimento m_fermoMenu;
    const Ricerca &m_cerca;
    int m_nuovoCodice;
    QString m_nomePrecedente;
    int m_codice = 0;
};

void TImportazioneMenu::Carica(const QVector<TRigaScambio> &righe, const Ricerca &cerca,
                               int nuovoCodice)
{
    m_menu->setCapacity(m_menu->RecordCount() + righe.size());
    TCarico carico(m_prog, m_menu, cerca, nuovoCodice);
    for (const TRigaScambio &r : righe)
        carico.aggiungi(r);
}

QString TImportazioneMenu::CaricaFile(QIODevice &file, const Ricerca &cerca, int nuovoCodice)
{
    TCarico carico(m_prog, m_menu, cerca, nuovoCodice);
    return LeggiFile(file, [&carico](const TRigaScambio &r) { carico.aggiungi(r); });
}

bool TImportazioneMenu::Importa(TIBDatabase *db, TIBTransaction *tr, const Log &log)
{
    log(QStringLiteral("Inizio importazione"));

    QVector<TProgrammaMarcato> marcati;
    {
        TScorrimento scorri(m_prog);
        TField *codice = m_prog->FieldByName(QStringLiteral("CODICE"));
        TField *nome = m_prog->FieldByName(QStringLiteral("NOME"));
        TField *descrizione = m_prog->FieldByName(QStringLiteral("DESCRIZIONE"));
        TField *icona = m_prog->FieldByName(QStringLiteral("ICONA"));
        TField *s = m_prog->FieldByName(QStringLiteral("S"));
        TField *s2 = m_prog->FieldByName(QStringLiteral("S2"));
        for (m_prog->First(); !m_prog->Eof(); m_prog->Next()) {
            if (s->AsString() == kMarcato)
                marcati.append({codice->AsInteger(),
                                s2->AsString() == kNuovo,
                                {nome->AsString(), descrizione->Value(), icona->Value()}});
        }
    }

    // Where the staged rows of each code stand, in table order. Each row is
    // read only when its turn to be written comes: a big file's rows are
    // never held a second time.
    TScorrimento scorriMenu(m_menu, true);
    TField *programma = m_menu->FieldByName(QStringLiteral("PROGRAMMA"));
    QVector<TField *> colonne;
    for (const QString &c : kMenuColonne)
        colonne.append(m_menu->FieldByName(c));
    QHash<int, QVector<int>> posizioni;
    {
        int numero = 0;
        for (m_menu->First(); !m_menu->Eof(); m_menu->Next())
            posizioni[programma->AsInteger()].append(++numero);
    }
    auto voceAl = [&](int numero) {
        m_menu->setRecNo(numero);
        auto valore = [&](int i) {
            // Blobs hold Windows-1252 bytes; the values are text.
            const QVariant v = colonne[i]->Value();
            return FieldTypes::isBlob(colonne[i]->DataType()) && !v.isNull()
                       ? QVariant(colonne[i]->AsString())
                       : v;
        };
        TVoceFile v;
        v.Menu = valore(0);
        v.MenuPrec = valore(1);
        v.LivelloMenu = valore(2);
        v.Descrizione = valore(3);
        v.Dll = valore(4);
        v.Funzione = valore(5);
        v.Note = valore(6);
        v.Livello2Versione = valore(7);
        v.Parametri = valore(8);
        v.Visibile = valore(9);
        v.VoceRapida = valore(10);
        v.ParametriBlob = valore(11);
        return VoceDaMemorizzare(v);
    };

    m_conflitto.clear();
    auto fallimento = [&](const QString &genere, const QStringList &istruzione,
                          const std::exception &e) {
        // Another administrator's lock or change, a key already taken, a
        // text too long or a lost connection is said first.
        if (DbErrorText::isConflict(e))
            m_conflitto = DbErrorText::of(e);
        if (const QString frase = DbErrorText::sentence(e); !frase.isEmpty())
            log(frase);
        log(QStringLiteral("Errore interno di ") + genere + QLatin1Char(':'));
        for (const QString &r : istruzione)
            log(r);
        log(DbErrorText::message(e));
        if (tr->InTransaction())
            tr->Rollback();
        tr->StartTransaction();
        return false;
    };

    int eseguite = 0;
    auto esegui = [&](TIstruzione &s) {
        s.esegui();
        ++eseguite;
        if (DopoIstruzione)
            DopoIstruzione(eseguite);
    };

    TIstruzione insProg(db, tr,
                        {QStringLiteral("INSERT INTO PROGRAMMI (CODICE,NOME,"),
                         QStringLiteral("DESCRIZIONE,ICONA) VALUES("),
                         QStringLiteral(":CODICE,:NOME,:DESCRIZIONE,:ICONA)")},
                        {QStringLiteral("CODICE"), QStringLiteral("NOME"),
                         QStringLiteral("DESCRIZIONE"), QStringLiteral("ICONA")});
    TIstruzione delMenu(
        db, tr,
        {QStringLiteral("DELETE FROM DETTMENU WHERE"), QStringLiteral("PROGRAMMA=:PROGRAMMA")},
        {QStringLiteral("PROGRAMMA")});
    QStringList sqlVoce = kIntestazioneVoce;
    sqlVoce << QStringLiteral(":PROGRAMMA,:MENU,:MENUPREC,:LIVELLOMENU,:DESCRIZIONE,")
            << QStringLiteral(":DLL,:FUNZIONE,:NOTE,:LIVELLO2VERSIONE,")
            << QStringLiteral(":PARAMETRI,:VISIBILE,:VOCERAPIDA,:PARAMETRIBLOB)");
    QStringList parametriVoce = kMenuColonne;
    parametriVoce.prepend(QStringLiteral("PROGRAMMA"));
    TIstruzione insMenu(db, tr, sqlVoce, parametriVoce);

    for (const TProgrammaMarcato &p : marcati) {
        if (p.Nuovo) {
            const TProgrammaFile v = ProgrammaDaMemorizzare(p.Programma);
            insProg.imposta(0, p.Codice);
            insProg.imposta(1, v.Nome);
            insProg.imposta(2, v.Descrizione);
            insProg.imposta(3, v.Icona);
            try {
                esegui(insProg);
            } catch (const std::exception &e) {
                return fallimento(QStringLiteral("INSERT"), testoProgramma(p, v), e);
            }
        } else {
            delMenu.imposta(0, p.Codice);
            try {
                esegui(delMenu);
            } catch (const std::exception &e) {
                return fallimento(QStringLiteral("DELETE"), testoCancellazione(p.Codice), e);
            }
        }
        for (const int numero : posizioni.value(p.Codice)) {
            const TVoceFile v = voceAl(numero);
            const QVariantList valori = valoriVoce(v);
            insMenu.imposta(0, p.Codice);
            for (int i = 0; i < valori.size(); ++i)
                insMenu.imposta(i + 1, valori[i]);
            try {
                esegui(insMenu);
            } catch (const std::exception &e) {
                return fallimento(QStringLiteral("INSERT"), testoVoce(p.Codice, v), e);
            }
        }
    }

    // Only a commit that went through is a finished import.
    try {
        tr->Commit();
    } catch (const std::exception &e) {
        return fallimento(QStringLiteral("COMMIT"), {}, e);
    }
    log(QStringLiteral("Importazione terminata"));
    return true;
}
