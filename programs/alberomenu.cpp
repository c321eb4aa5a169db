#include "alberomenu.h"

#include "ibsql.h"
#include "vocimenu.h"
#include "win1252.h"

#include <QRegularExpression>

// ---- The tree --------------------------------------------------------------------------

QStringList TAlberoMenu::Istruzione()
{
    return {QStringLiteral("SELECT MENU,MENUPREC,LIVELLOMENU,DESCRIZIONE,VISIBILE FROM DETTMENU "
                           "WHERE PROGRAMMA=:PROGRAMMA ORDER BY MENU")};
}

std::vector<TVoceAlbero> TAlberoMenu::Leggi(TIBSQL *q, const QVariant &programma)
{
    q->Close();
    q->SQL = Istruzione();
    q->ParamByName(QStringLiteral("PROGRAMMA")).setValue(programma);
    std::vector<TVoceAlbero> voci;
    const auto intero = [](const QVariant &v) {
        return v.isNull() ? std::nullopt : std::optional<int>(v.toInt());
    };
    for (q->ExecQuery(); !q->Eof(); q->Next()) {
        TVoceAlbero v;
        v.menu = q->Fields(0).Value().toInt();
        v.menuPrec = intero(q->Fields(1).Value());
        v.livello = intero(q->Fields(2).Value());
        v.descrizione = q->Fields(3).AsString();
        const QVariant visibile = q->Fields(4).Value();
        v.visibile = !visibile.isNull() && visibile.toInt() == 1;
        voci.push_back(std::move(v));
    }
    q->Close();
    return voci;
}

TAlberoMenu::TAlberoMenu(std::vector<TVoceAlbero> voci)
    : m_voci(std::move(voci))
{
    for (int i = 0; i < int(m_voci.size()); ++i)
        if (m_voci[size_t(i)].menuPrec)
            m_figli[*m_voci[size_t(i)].menuPrec].push_back(i);
}

bool TAlberoMenu::mostrata(int indice, int livello) const
{
    const TVoceAlbero &v = m_voci[size_t(indice)];
    return v.visibile && v.livello && *v.livello == livello;
}

const std::vector<int> *TAlberoMenu::figli(int menu) const
{
    const auto it = m_figli.find(menu);
    return it == m_figli.end() ? nullptr : &it->second;
}

bool TAlberoMenu::CercaFigli(int menu, int livello) const
{
    if (const std::vector<int> *f = figli(menu))
        for (int i : *f)
            if (mostrata(i, livello + 1))
                return true;
    return false;
}

void TAlberoMenu::CreaVoci(int menu, int livello, int nodo)
{
    struct Livello
    {
        const std::vector<int> *figli;
        size_t prossimo;
        int livello;
        int nodo;
    };
    std::vector<Livello> pila;
    if (const std::vector<int> *f = figli(menu))
        pila.push_back({f, 0, livello + 1, nodo});
    while (!pila.empty()) {
        Livello &cima = pila.back();
        if (cima.prossimo == cima.figli->size()) {
            pila.pop_back();
            continue;
        }
        const int i = (*cima.figli)[cima.prossimo++];
        if (!mostrata(i, cima.livello))
            continue;
        const int id = int(m_nodi.size());
        m_nodi.push_back({id, cima.nodo, i});
        const TVoceAlbero &v = m_voci[size_t(i)];
        if (CercaFigli(v.menu, *v.livello))
            pila.push_back({figli(v.menu), 0, *v.livello + 1, id});
    }
}

void TAlberoMenu::Costruisci()
{
    m_nodi.clear();
    for (int i = 0; i < int(m_voci.size()); ++i) {
        const TVoceAlbero &v = m_voci[size_t(i)];
        if (v.menuPrec || !mostrata(i, 0))
            continue;
        const int id = int(m_nodi.size());
        m_nodi.push_back({id, -1, i});
        if (CercaFigli(v.menu, 0))
            CreaVoci(v.menu, 0, id);
    }
}

// ---- The statements ---------------------------------------------------------------------

namespace VoceAlbero {

namespace {

void esegui(TIBSQL *q, const QStringList &sql, const QVariantMap &valori)
{
    q->Close();
    q->SQL = sql;
    for (auto it = valori.cbegin(); it != valori.cend(); ++it)
        q->ParamByName(it.key()).setValue(it.value());
    q->ExecQuery();
}

QVariant comeScritto(const QString &testo)
{
    return testo.isEmpty() ? QVariant() : QVariant(testo);
}

// A text the dialog shows as it was read goes back as it was stored.
QVariant testoOMemorizzato(const QString &testo, const QString &mostrato,
                           const QVariantMap &memorizzati, const QString &colonna)
{
    if (testo == mostrato && memorizzati.contains(colonna))
        return memorizzati.value(colonna);
    return Testo(testo);
}

} // namespace

QVariant Testo(const QString &testo)
{
    if (testo.isEmpty())
        return QVariant();
    QString t = testo;
    t.replace(QLatin1Char('\''), QChar(0x00B4));
    // A lone LF or CR (the memo's break) becomes the stored CR LF.
    static const QRegularExpression interruzione(QStringLiteral("\r\n|\r|\n"));
    t.replace(interruzione, QStringLiteral("\r\n"));
    return t;
}

QString Mostrato(const QVariant &valore)
{
    if (valore.isNull())
        return QString();
    QString t = valore.typeId() == QMetaType::QByteArray ? Win1252::decode(valore.toByteArray())
                                                         : valore.toString();
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return t;
}

std::optional<int> Versione(const QString &testo)
{
    static const QRegularExpression forma(QStringLiteral("^[+-]?[0-9]{1,9}$"));
    if (!forma.match(testo).hasMatch())
        return std::nullopt;
    const int n = testo.toInt();
    if (n < -32768 || n > 32767)
        return std::nullopt;
    return n;
}

int NuovoCodice(TIBSQL *q, const QVariant &programma)
{
    esegui(q,
           {QStringLiteral("SELECT MAX(MENU) FROM DETTMENU WHERE"),
            QStringLiteral("(PROGRAMMA=:PROGRAMMA)")},
           {{QStringLiteral("PROGRAMMA"), programma}});
    const QVariant massimo = q->Fields(0).Value();
    q->Close();
    return massimo.isNull() ? 1 : massimo.toInt() + 1;
}

void Inserisci(TIBSQL *q, const QVariant &programma, int menu, int padre, int livello,
               const TValoriVoce &v)
{
    const auto versione = Versione(v.versione);
    esegui(q,
           {QStringLiteral("INSERT INTO DETTMENU (PROGRAMMA,MENU,MENUPREC,LIVELLOMENU,"),
            QStringLiteral("DESCRIZIONE,DLL,FUNZIONE,NOTE,LIVELLO2VERSIONE,PARAMETRI,"),
            QStringLiteral("VISIBILE) VALUES(:PROGRAMMA,:MENU,:MENUPREC,:LIVELLOMENU,"),
            QStringLiteral(":DESCRIZIONE,:DLL,:FUNZIONE,:NOTE,:LIVELLO2VERSIONE,:PARAMETRI,"),
            QStringLiteral(":VISIBILE)")},
           {{QStringLiteral("PROGRAMMA"), programma},
            {QStringLiteral("MENU"), menu},
            {QStringLiteral("MENUPREC"), padre},
            {QStringLiteral("LIVELLOMENU"), livello},
            {QStringLiteral("DESCRIZIONE"), Testo(v.descrizione)},
            {QStringLiteral("DLL"), comeScritto(v.dll)},
            {QStringLiteral("FUNZIONE"), comeScritto(v.funzione)},
            {QStringLiteral("NOTE"), Testo(v.note)},
            {QStringLiteral("LIVELLO2VERSIONE"), versione ? *versione : 0},
            {QStringLiteral("PARAMETRI"), Testo(v.parametri)},
            {QStringLiteral("VISIBILE"), v.visibile ? 1 : 0}});
    q->Close();
}

bool Leggi(TIBSQL *q, const QVariant &programma, int menu, TValoriVoce &v, QVariantMap *memorizzati)
{
    esegui(q,
           {QStringLiteral("SELECT * FROM DETTMENU WHERE"),
            QStringLiteral("(PROGRAMMA=:PROGRAMMA)AND"), QStringLiteral("(MENU=:MENU)")},
           {{QStringLiteral("PROGRAMMA"), programma}, {QStringLiteral("MENU"), menu}});
    if (q->Eof()) {
        q->Close();
        return false;
    }
    const auto campo = [q](const char *nome) {
        return q->FieldByName(QLatin1String(nome)).Value();
    };
    v.descrizione = Mostrato(campo("DESCRIZIONE"));
    v.dll = campo("DLL").toString();
    v.funzione = campo("FUNZIONE").toString();
    v.note = Mostrato(campo("NOTE"));
    v.versione = campo("LIVELLO2VERSIONE").toString();
    v.parametri = Mostrato(campo("PARAMETRI"));
    v.visibile = campo("VISIBILE").toString() == QLatin1String("1");
    if (memorizzati)
        for (const char *c : {"DESCRIZIONE", "NOTE", "PARAMETRI"})
            memorizzati->insert(QLatin1String(c), campo(c));
    q->Close();
    return true;
}

void Modifica(TIBSQL *q, const QVariant &programma, int menu, const TValoriVoce &v,
              const TValoriVoce &mostrati, const QVariantMap &memorizzati)
{
    const auto versione = Versione(v.versione);
    esegui(
        q,
        {QStringLiteral("UPDATE DETTMENU SET"), QStringLiteral("DESCRIZIONE=:DESCRIZIONE,"),
         QStringLiteral("DLL=:DLL,"), QStringLiteral("FUNZIONE=:FUNZIONE,"),
         QStringLiteral("NOTE=:NOTE,"), QStringLiteral("LIVELLO2VERSIONE=:LIVELLO2VERSIONE,"),
         QStringLiteral("PARAMETRI=:PARAMETRI,"), QStringLiteral("VISIBILE=:VISIBILE"),
         QStringLiteral("WHERE (PROGRAMMA=:PROGRAMMA)AND"), QStringLiteral("(MENU=:MENU)")},
        {{QStringLiteral("DESCRIZIONE"),
          testoOMemorizzato(v.descrizione, mostrati.descrizione, memorizzati,
                            QStringLiteral("DESCRIZIONE"))},
         {QStringLiteral("DLL"), comeScritto(v.dll)},
         {QStringLiteral("FUNZIONE"), comeScritto(v.funzione)},
         {QStringLiteral("NOTE"),
          testoOMemorizzato(v.note, mostrati.note, memorizzati, QStringLiteral("NOTE"))},
         {QStringLiteral("LIVELLO2VERSIONE"), versione ? QVariant(*versione) : QVariant()},
         {QStringLiteral("PARAMETRI"), testoOMemorizzato(v.parametri, mostrati.parametri,
                                                         memorizzati, QStringLiteral("PARAMETRI"))},
         {QStringLiteral("VISIBILE"), v.visibile ? 1 : 0},
         {QStringLiteral("PROGRAMMA"), programma},
         {QStringLiteral("MENU"), menu}});
    q->Close();
}

bool HaFigli(TIBSQL *q, const QVariant &programma, int menu)
{
    esegui(q,
           {QStringLiteral("SELECT FIRST 1 MENU FROM DETTMENU WHERE"),
            QStringLiteral("(PROGRAMMA=:PROGRAMMA)AND"), QStringLiteral("(MENUPREC=:MENU)")},
           {{QStringLiteral("PROGRAMMA"), programma}, {QStringLiteral("MENU"), menu}});
    const bool trovati = !q->Eof();
    q->Close();
    return trovati;
}

void Elimina(TIBSQL *q, const QVariant &programma, int menu)
{
    esegui(q,
           {QStringLiteral("DELETE FROM DETTMENU WHERE"),
            QStringLiteral("(PROGRAMMA=:PROGRAMMA)AND"), QStringLiteral("(MENU=:MENU)")},
           {{QStringLiteral("PROGRAMMA"), programma}, {QStringLiteral("MENU"), menu}});
    q->Close();
    EliminaCollegate(q, programma, menu);
}

void EliminaCollegate(TIBSQL *q, const QVariant &programma, const QVariant &menu)
{
    QStringList tabelle{QStringLiteral("DETTPROF")};
    if (VociMenu::ConTraduzioni(q))
        tabelle.append(QStringLiteral("LINGUEMENU"));
    for (const QString &t : tabelle) {
        QStringList sql{QStringLiteral("DELETE FROM %1 WHERE (PROGRAMMA=:PROGRAMMA)").arg(t)};
        QVariantMap valori{{QStringLiteral("PROGRAMMA"), programma}};
        if (!menu.isNull()) {
            sql.append(QStringLiteral("AND(MENU=:MENU)"));
            valori.insert(QStringLiteral("MENU"), menu);
        }
        esegui(q, sql, valori);
        q->Close();
    }
}

} // namespace VoceAlbero
