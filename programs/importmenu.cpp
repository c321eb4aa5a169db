#include "importmenu.h"

#include "dberrortext.h"
#include "dettmenu.h"
#include "ibdatabase.h"
#include "ibsql.h"
#include "memorydata.h"
#include "valueconv.h"

#include <QHash>

using namespace FileScambioMenu;

namespace {

const QString kMarcato = QStringLiteral("1");
const QString kEsistente = QStringLiteral("1");
const QString kNuovo = QStringLiteral("2");

// The entry's fields in DettMenu::NomiVoce()'s order.
const std::array<QVariant TVoceFile::*, DettMenu::NumeroColonne - 1> kCampiVoce = {
    &TVoceFile::Menu,        &TVoceFile::MenuPrec,
    &TVoceFile::LivelloMenu, &TVoceFile::Descrizione,
    &TVoceFile::Dll,         &TVoceFile::Funzione,
    &TVoceFile::Note,        &TVoceFile::Livello2Versione,
    &TVoceFile::Parametri,   &TVoceFile::Visibile,
    &TVoceFile::VoceRapida,  &TVoceFile::ParametriBlob};

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

// A value as the statement's line shows it in the log: quoted, or NULL.
QString riga(const QVariant &v, const char *fine)
{
    const QString t = ValueConv::toText(v);
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

// The statement as the log shows it: four columns a line after PROGRAMMA.
QStringList intestazioneVoce()
{
    const QStringList &nomi = DettMenu::Nomi();
    QStringList righe{QStringLiteral("INSERT INTO DETTMENU (") + nomi[0] + QLatin1Char(',')};
    for (int i = 1; i < nomi.size(); i += 4)
        righe << nomi.mid(i, 4).join(QLatin1Char(',')) +
                     (i + 4 < nomi.size() ? QStringLiteral(",") : QStringLiteral(") VALUES("));
    return righe;
}

// `valori`: the entry's fields after PROGRAMMA.
QStringList testoVoce(int codice, const QVariantList &valori)
{
    QStringList righe = intestazioneVoce();
    righe << QLatin1Char('\'') + QString::number(codice) + QStringLiteral("',");
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
    // Once prepared, a value goes straight to its parameter.
    void imposta(int i, QVariant v)
    {
        if (m_parametri.isEmpty())
            m_valori[i] = std::move(v);
        else
            m_parametri[i]->setValue(std::move(v));
    }
    void esegui()
    {
        if (m_parametri.isEmpty()) {
            m_sql.Prepare();
            for (const QString &p : m_nomi)
                m_parametri.append(&m_sql.ParamByName(p));
            for (int i = 0; i < m_parametri.size(); ++i)
                m_parametri[i]->setValue(std::move(m_valori[i]));
        }
        m_sql.ExecQuery();
    }
    // The values from `da` on, as the last run had them.
    QVariantList valori(int da) const
    {
        QVariantList v;
        for (int i = da; i < m_valori.size(); ++i)
            v << (m_parametri.isEmpty() ? m_valori[i] : m_parametri[i]->Value());
        return v;
    }

private:
    TIBSQL m_sql;
    QStringList m_nomi;
    QVariantList m_valori;
    QVector<TIBValue *> m_parametri;
};

// ---- The import's phases -------------------------------------------------------

// The programs marked for import, in table order.
QVector<TProgrammaMarcato> programmiMarcati(TRxMemoryData *prog)
{
    QVector<TProgrammaMarcato> marcati;
    TScorrimento scorri(prog);
    TField *codice = prog->FieldByName(QStringLiteral("CODICE"));
    TField *nome = prog->FieldByName(QStringLiteral("NOME"));
    TField *descrizione = prog->FieldByName(QStringLiteral("DESCRIZIONE"));
    TField *icona = prog->FieldByName(QStringLiteral("ICONA"));
    TField *s = prog->FieldByName(QStringLiteral("S"));
    TField *s2 = prog->FieldByName(QStringLiteral("S2"));
    for (prog->First(); !prog->Eof(); prog->Next()) {
        if (s->AsString() == kMarcato)
            marcati.append({codice->AsInteger(),
                            s2->AsString() == kNuovo,
                            {nome->AsString(), descrizione->Value(), icona->Value()}});
    }
    return marcati;
}

// Where the staged rows of each code stand, in table order. Each row is
// read only when its turn to be written comes: a big file's rows are never
// held a second time. The cursor and the views stay where they are.
class TVociInAttesa
{
public:
    explicit TVociInAttesa(const TRxMemoryData *menu)
        : m_menu(menu)
    {
        for (const QString &c : DettMenu::NomiVoce()) {
            const TField *f = m_menu->FieldByName(c);
            m_colonne.append(f->Index());
        }
        const int programma = m_menu->FieldByName(QStringLiteral("PROGRAMMA"))->Index();
        for (int i = 0; i < m_menu->StoredCount(); ++i)
            m_posizioni[ValueConv::toInt(m_menu->StoredValue(i, programma))].append(i);
    }

    QVector<int> posizioni(int codice) const { return m_posizioni.value(codice); }

    // The row at that place, as it is to be stored; the blobs as the
    // staging table holds them, Windows-1252 bytes, which is what they are
    // stored as.
    TVoceFile al(int indice) const
    {
        TRecordBuffer riga = m_menu->StoredValues(indice);
        TVoceFile v;
        for (int i = 0; i < int(kCampiVoce.size()); ++i)
            v.*kCampiVoce[i] = std::move(riga[m_colonne[i]]);
        return VoceDaMemorizzare(std::move(v));
    }

private:
    const TRxMemoryData *m_menu;
    QVector<int> m_colonne;
    QHash<int, QVector<int>> m_posizioni;
};

// The first failure of the writing, as the log shows it.
struct TFallimento
{
    TFallimento(const QString &genere, const QStringList &istruzione, const std::exception &e)
        : Genere(genere)
        , Istruzione(istruzione)
        , Messaggio(DbErrorText::message(e))
        , Conflitto(DbErrorText::isConflict(e) ? DbErrorText::of(e) : QString())
        , Frase(DbErrorText::sentence(e))
    {
    }
    QString Genere;
    QStringList Istruzione;
    QString Messaggio;
    // Another administrator's lock or change, as the box shows it; empty otherwise.
    QString Conflitto;
    // A conflict, a key already taken, a text too long or a lost connection
    // is said first in the log; empty otherwise.
    QString Frase;
};

// The writing: three statements prepared once, each failure a TFallimento.
class TScrittura
{
public:
    TScrittura(TIBDatabase *db, TIBTransaction *tr, const std::function<void(int)> &dopo)
        : m_tr(tr)
        , m_dopo(dopo)
        , m_insProg(db, tr,
                    {QStringLiteral("INSERT INTO PROGRAMMI (CODICE,NOME,"),
                     QStringLiteral("DESCRIZIONE,ICONA) VALUES("),
                     QStringLiteral(":CODICE,:NOME,:DESCRIZIONE,:ICONA)")},
                    {QStringLiteral("CODICE"), QStringLiteral("NOME"),
                     QStringLiteral("DESCRIZIONE"), QStringLiteral("ICONA")})
        , m_delMenu(db, tr,
                    {QStringLiteral("DELETE FROM DETTMENU WHERE"),
                     QStringLiteral("PROGRAMMA=:PROGRAMMA")},
                    {QStringLiteral("PROGRAMMA")})
        , m_insMenu(db, tr, DettMenu::Inserimento(), DettMenu::Nomi())
    {
    }

    // A new program's row, or the deletion of an existing one's menu.
    void programma(const TProgrammaMarcato &p)
    {
        if (p.Nuovo) {
            const TProgrammaFile v = ProgrammaDaMemorizzare(p.Programma);
            m_insProg.imposta(0, p.Codice);
            m_insProg.imposta(1, v.Nome);
            m_insProg.imposta(2, v.Descrizione);
            m_insProg.imposta(3, v.Icona);
            esegui(m_insProg, QStringLiteral("INSERT"), [&] { return testoProgramma(p, v); });
        } else {
            m_delMenu.imposta(0, p.Codice);
            esegui(m_delMenu, QStringLiteral("DELETE"),
                   [&] { return testoCancellazione(p.Codice); });
        }
    }

    void voce(int codice, TVoceFile v)
    {
        m_insMenu.imposta(0, codice);
        for (int i = 0; i < int(kCampiVoce.size()); ++i)
            m_insMenu.imposta(i + 1, std::move(v.*kCampiVoce[i]));
        esegui(m_insMenu, QStringLiteral("INSERT"),
               [&] { return testoVoce(codice, m_insMenu.valori(1)); });
    }

    // Only a commit that went through is a finished import.
    void conferma()
    {
        try {
            m_tr->Commit();
        } catch (const std::exception &e) {
            throw TFallimento(QStringLiteral("COMMIT"), {}, e);
        }
    }

private:
    template <typename Testo> void esegui(TIstruzione &s, const QString &genere, Testo testo)
    {
        try {
            s.esegui();
            ++m_eseguite;
            if (m_dopo)
                m_dopo(m_eseguite);
        } catch (const std::exception &e) {
            throw TFallimento(genere, testo(), e);
        }
    }

    TIBTransaction *m_tr;
    const std::function<void(int)> &m_dopo;
    int m_eseguite = 0;
    TIstruzione m_insProg;
    TIstruzione m_delMenu;
    TIstruzione m_insMenu;
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
    // DETTMENU's columns with the marks before the last one, PARAMETRIBLOB.
    for (const DettMenu::TColonna &c : DettMenu::Colonne()) {
        const QString nome = QLatin1String(c.Nome);
        if (nome == QLatin1String("PARAMETRIBLOB")) {
            m.Add(QStringLiteral("S"), ftString, 1);
            m.Add(QStringLiteral("S2"), ftString, 1);
        }
        switch (c.Tipo) {
        case DettMenu::TTipo::Intero:
            m.Add(nome, ftSmallint);
            break;
        case DettMenu::TTipo::Testo:
            m.Add(nome, ftString, c.Lunghezza);
            break;
        case DettMenu::TTipo::Memo:
            m.Add(nome, ftBlob);
            break;
        }
    }
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
        // PROGRAMMA, the entry's fields with S and S2 before the last one.
        const TVoceFile v = VoceDellaRiga(r);
        QVariantList valori;
        valori.reserve(int(kCampiVoce.size()) + 3);
        valori << m_codice;
        for (QVariant TVoceFile::*campo : kCampiVoce) {
            if (campo == &TVoceFile::ParametriBlob)
                valori << QVariant() << QVariant();
            valori << v.*campo;
        }
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
    m_conflitto.clear();
    const QVector<TProgrammaMarcato> marcati = programmiMarcati(m_prog);
    try {
        TVociInAttesa voci(m_menu);
        TScrittura scrittura(db, tr, DopoIstruzione);
        for (const TProgrammaMarcato &p : marcati) {
            scrittura.programma(p);
            for (const int indice : voci.posizioni(p.Codice))
                scrittura.voce(p.Codice, voci.al(indice));
        }
        scrittura.conferma();
    } catch (const TFallimento &f) {
        m_conflitto = f.Conflitto;
        if (!f.Frase.isEmpty())
            log(f.Frase);
        log(QStringLiteral("Errore interno di ") + f.Genere + QLatin1Char(':'));
        for (const QString &r : f.Istruzione)
            log(r);
        log(f.Messaggio);
        if (tr->InTransaction())
            tr->Rollback();
        tr->StartTransaction();
        return false;
    }
    log(QStringLiteral("Importazione terminata"));
    return true;
}
