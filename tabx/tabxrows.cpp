#include "tabxform.h"

#include "ibsql.h"
#include "messages.h"
#include "tabxtext.h"

#include <exception>

// The named values kept in TABX, global (UTENTE NULL) or of the current user.
// Every value is bound: a name or a text holding an apostrophe is stored and
// found like any other. NOME is compared through a cast wider than the
// column, so that a longer name finds no row instead of failing.

namespace {

const QString kCondizioneNome = QStringLiteral("(NOME=CAST(:NOME AS VARCHAR(32765)))");

// One scratch statement on IBDatabase1 with IBTransaction1.
class StatementTabX
{
public:
    explicit StatementTabX(TTabXForm &x)
    {
        m_q.setDatabase(x.IBDatabase1);
        m_q.setTransaction(x.IBTransaction1);
    }
    TIBSQL &prepara(const QStringList &sql)
    {
        m_q.Close();
        m_q.SQL = sql;
        m_q.Prepare();
        return m_q;
    }
    void lega(const QString &nome, const QVariant &valore)
    {
        m_q.ParamByName(nome).setValue(valore);
    }
    // Runs a statement without rows.
    void esegui()
    {
        m_q.ExecQuery();
        m_q.Close();
    }
    // The first column of the first row, empty without a row.
    QString primoValore()
    {
        m_q.ExecQuery();
        const QString valore = m_q.Eof() ? QString() : m_q.Fields(0).AsString();
        m_q.Close();
        return valore;
    }
    bool trovaRiga()
    {
        m_q.ExecQuery();
        const bool trovata = !m_q.Eof();
        m_q.Close();
        return trovata;
    }
    TIBSQL &q() { return m_q; }

private:
    TIBSQL m_q;
};

const QStringList &condizioneParametro()
{
    static const QStringList righe = {QStringLiteral("(CODPROGETTO=:CODPROGETTO)AND"),
                                      QStringLiteral("(CODSITUAZIONE=:CODSITUAZIONE)AND"),
                                      kCondizioneNome + QStringLiteral("AND"),
                                      QStringLiteral("(UTENTE=:UTENTE)")};
    return righe;
}

void legaParametro(StatementTabX &s, const QString &progetto, const QString &situazione,
                   const QString &nome, qint32 utente)
{
    s.lega(QStringLiteral("CODPROGETTO"), progetto);
    s.lega(QStringLiteral("CODSITUAZIONE"), situazione);
    s.lega(QStringLiteral("NOME"), nome);
    s.lega(QStringLiteral("UTENTE"), utente);
}

// The condition on a name, for the current user or for every row of it.
QStringList condizioneNome(bool perUtente)
{
    QStringList righe = {QStringLiteral("WHERE ") + kCondizioneNome};
    if (perUtente)
        righe << QStringLiteral("AND(UTENTE=:UTENTE)");
    return righe;
}

QString valore(TTabXForm &x, const QString &colonna, const QString &nome, bool perUtente)
{
    StatementTabX s(x);
    s.prepara(QStringList{QStringLiteral("SELECT ") + colonna + QStringLiteral(" FROM TABX")} +
              condizioneNome(perUtente) + QStringList{QStringLiteral("ORDER BY CODICE")});
    s.lega(QStringLiteral("NOME"), nome);
    if (perUtente)
        s.lega(QStringLiteral("UTENTE"), x.GetNumUser());
    return s.primoValore();
}

// Update of every row of the name, or insert of a row of the name alone;
// committed retaining. Silent: the answer says how it went.
bool settaValore(TTabXForm &x, const QString &colonna, const QString &nome, const QString &testo,
                 bool perUtente)
{
    try {
        StatementTabX s(x);
        s.prepara(QStringList{QStringLiteral("SELECT * FROM TABX")} + condizioneNome(perUtente));
        s.lega(QStringLiteral("NOME"), nome);
        if (perUtente)
            s.lega(QStringLiteral("UTENTE"), x.GetNumUser());
        const bool esiste = s.trovaRiga();
        if (esiste) {
            // An update writes an empty text as it is, an insert as NULL.
            s.prepara(QStringList{QStringLiteral("UPDATE TABX SET ") + colonna +
                                  QStringLiteral("=:VALORE")} +
                      condizioneNome(perUtente));
            s.lega(QStringLiteral("VALORE"), TabXText::apostrofi(testo));
            if (perUtente)
                s.lega(QStringLiteral("UTENTE"), x.GetNumUser());
        } else {
            s.prepara({QStringLiteral("INSERT INTO TABX (CODICE,NOME,") + colonna +
                           QStringLiteral(",UTENTE) VALUES("),
                       QStringLiteral("GEN_ID(CODICETABXCOUNTER,1),"),
                       QStringLiteral(":NOME,:VALORE,:UTENTE)")});
            s.lega(QStringLiteral("VALORE"), TabXText::testo(testo));
            s.lega(QStringLiteral("UTENTE"), perUtente ? QVariant(x.GetNumUser()) : QVariant());
        }
        s.lega(QStringLiteral("NOME"), nome);
        s.esegui();
        x.IBTransaction1->CommitRetaining();
        return true;
    } catch (const std::exception &) {
        return false;
    }
}

// Runs a write and commits; a value that does not convert fails it like a
// refused statement.
template <typename F> bool scriviTabX(TTabXForm &x, const QString &messaggio, F &&scrivi)
{
    try {
        scrivi();
        x.IBTransaction1->Commit();
        return true;
    } catch (const std::exception &) {
        Messages::error(messaggio);
        return false;
    }
}

} // namespace

bool TTabXForm::VerificaEsistenzaInTabX(const QString &CodProgetto, const QString &CodSituazione,
                                        const QString &Nome)
{
    if (CodProgetto.isEmpty() || CodSituazione.isEmpty() || Nome.isEmpty())
        return false;
    StatementTabX s(*this);
    s.prepara(QStringList{QStringLiteral("SELECT * FROM TABX WHERE ")} + condizioneParametro());
    legaParametro(s, CodProgetto, CodSituazione, Nome, NumUser);
    return s.trovaRiga();
}

bool TTabXForm::ScriviParametroInTabX(const QString &CodProgetto, const QString &CodSituazione,
                                      const QString &Nome, const QString &Numero,
                                      const QString &Testo, const QString &Data,
                                      const QString &Memo)
{
    if (!VerificaEsistenzaInTabX(CodProgetto, CodSituazione, Nome))
        return false;
    return scriviTabX(
        *this, QStringLiteral("Errore interno di UPDATE: impossibile settare il parametro ") + Nome,
        [&] {
            StatementTabX s(*this);
            s.prepara(QStringList{QStringLiteral("UPDATE TABX SET"),
                                  QStringLiteral("NUMERO=:NUMERO,"),
                                  QStringLiteral("TESTO=:TESTO,"), QStringLiteral("DATA=:DATA,"),
                                  QStringLiteral("MEMO=:MEMO"), QStringLiteral("WHERE ")} +
                      condizioneParametro());
            s.lega(QStringLiteral("NUMERO"), TabXText::numero(Numero));
            s.lega(QStringLiteral("TESTO"), TabXText::testo(Testo));
            s.lega(QStringLiteral("DATA"), TabXText::data(Data));
            s.lega(QStringLiteral("MEMO"), TabXText::testo(Memo));
            legaParametro(s, CodProgetto, CodSituazione, Nome, NumUser);
            s.esegui();
        });
}

bool TTabXForm::CaricaParametroDaTabX(const QString &CodProgetto, const QString &CodSituazione,
                                      const QString &Nome, const QString &, const QString &,
                                      const QString &, const QString &, const QString &,
                                      const QString &)
{
    if (!VerificaEsistenzaInTabX(CodProgetto, CodSituazione, Nome) ||
        !MemTabX->Locate(QStringLiteral("Nome"), Nome))
        return false;
    StatementTabX s(*this);
    TIBSQL &q = s.prepara(QStringList{QStringLiteral("SELECT TESTO,MEMO FROM TABX WHERE")} +
                          condizioneParametro() + QStringList{QStringLiteral("ORDER BY CODICE")});
    legaParametro(s, CodProgetto, CodSituazione, Nome, NumUser);
    q.ExecQuery();
    if (q.Eof()) {
        q.Close();
        return false;
    }
    const QString testo = q.Fields(0).AsString();
    const QString memo = q.Fields(1).AsString();
    q.Close();
    SetV(Nome, testo);
    SetM(Nome, memo);
    return true;
}

bool TTabXForm::AggiungiParametroInTabX(const QString &CodProgetto, const QString &CodSituazione,
                                        const QString &Nome, const QString &Numero,
                                        const QString &Testo, const QString &Data,
                                        const QString &Memo, const QString &Livello1,
                                        const QString &Livello2)
{
    if (CodProgetto.isEmpty() || CodSituazione.isEmpty() || Nome.isEmpty())
        return false;
    if (VerificaEsistenzaInTabX(CodProgetto, CodSituazione, Nome))
        return true;
    const auto opzionale = [](const QString &v) { return v.isEmpty() ? QVariant() : QVariant(v); };
    return scriviTabX(
        *this,
        QStringLiteral("Errore interno di INSERT: impossibile aggiungere il parametro ") + Nome,
        [&] {
            // The columns are named: a TABX laid out otherwise gets the same row.
            StatementTabX s(*this);
            s.prepara({QStringLiteral("INSERT INTO TABX (CODICE,CODPROGETTO,CODSITUAZIONE,TIPO,"
                                      "NOME,NUMERO,TESTO,DATA,MEMO,LIVELLO1,LIVELLO2,UTENTE)"),
                       QStringLiteral("VALUES(GEN_ID(CODICETABXCOUNTER,1),:CODPROGETTO,"
                                      ":CODSITUAZIONE,'TBX',:NOME,:NUMERO,:TESTO,:DATA,:MEMO,"
                                      ":LIVELLO1,:LIVELLO2,:UTENTE)")});
            s.lega(QStringLiteral("CODPROGETTO"), CodProgetto);
            s.lega(QStringLiteral("CODSITUAZIONE"), CodSituazione);
            s.lega(QStringLiteral("NOME"), Nome);
            s.lega(QStringLiteral("NUMERO"), TabXText::numero(Numero));
            s.lega(QStringLiteral("TESTO"), TabXText::testo(Testo));
            s.lega(QStringLiteral("DATA"), TabXText::data(Data));
            s.lega(QStringLiteral("MEMO"), TabXText::testo(Memo));
            s.lega(QStringLiteral("LIVELLO1"), opzionale(Livello1));
            s.lega(QStringLiteral("LIVELLO2"), opzionale(Livello2));
            s.lega(QStringLiteral("UTENTE"), NumUser);
            s.esegui();
        });
}

QString TTabXForm::ValoreTabX(const QString &Nome, bool PerUtente)
{
    return valore(*this, QStringLiteral("TESTO"), Nome, PerUtente);
}

bool TTabXForm::SettaValoreTabX(const QString &Nome, const QString &Testo, bool PerUtente)
{
    return settaValore(*this, QStringLiteral("TESTO"), Nome, Testo, PerUtente);
}

QString TTabXForm::ValoreMTabX(const QString &Nome, bool PerUtente)
{
    return valore(*this, QStringLiteral("MEMO"), Nome, PerUtente);
}

bool TTabXForm::SettaValoreMTabX(const QString &Nome, const QString &Memo, bool PerUtente)
{
    return settaValore(*this, QStringLiteral("MEMO"), Nome, Memo, PerUtente);
}

QString TTabXForm::ValoreTabXUserCheckGen(const QString &Nome)
{
    StatementTabX s(*this);
    s.prepara({QStringLiteral("SELECT"), QStringLiteral("  TESTO"), QStringLiteral("FROM"),
               QStringLiteral("  TABX"), QStringLiteral("WHERE"),
               QStringLiteral("  ") + kCondizioneNome, QStringLiteral("  AND"),
               QStringLiteral("  UTENTE=:UTENTE"), QStringLiteral("ORDER BY CODICE")});
    s.lega(QStringLiteral("NOME"), Nome);
    s.lega(QStringLiteral("UTENTE"), NumUser);
    TIBSQL &q = s.q();
    q.ExecQuery();
    if (!q.Eof()) {
        const QString testo = q.Fields(0).AsString();
        q.Close();
        return testo;
    }
    q.Close();

    s.prepara({QStringLiteral("SELECT"), QStringLiteral("  TESTO"), QStringLiteral("FROM"),
               QStringLiteral("  TABX"), QStringLiteral("WHERE"),
               QStringLiteral("  ") + kCondizioneNome, QStringLiteral("  AND"),
               QStringLiteral("  UTENTE IS NULL"), QStringLiteral("ORDER BY CODICE")});
    s.lega(QStringLiteral("NOME"), Nome);
    const QString risposta = s.primoValore();

    // The user's own copy, so that the next call answers from it.
    try {
        s.prepara({QStringLiteral("INSERT INTO TABX("), QStringLiteral("CODICE,"),
                   QStringLiteral("NOME,"), QStringLiteral("TESTO,"), QStringLiteral("UTENTE"),
                   QStringLiteral(")"), QStringLiteral("VALUES("),
                   QStringLiteral("GEN_ID(CODICETABXCOUNTER,1),"), QStringLiteral(":NOME,"),
                   QStringLiteral(":TESTO,"), QStringLiteral(":UTENTE"), QStringLiteral(")")});
        s.lega(QStringLiteral("NOME"), Nome);
        s.lega(QStringLiteral("TESTO"), TabXText::testo(risposta));
        s.lega(QStringLiteral("UTENTE"), NumUser);
        s.esegui();
        IBTransaction1->CommitRetaining();
    } catch (const std::exception &) {
    }
    return risposta;
}
