#include "pravlinrow.h"

#include "ibdatabase.h"

TPravlinInsert::TPravlinInsert(TIBDatabase *db, TIBTransaction *tr)
{
    m_sql.setDatabase(db);
    m_sql.setTransaction(tr);
    m_sql.SQL =
        QStringList{QStringLiteral("INSERT INTO TABPRAVLIN (UTENTE,INTESTAZIONE,PARAMETRO,"),
                    QStringLiteral("VALORE,PROGRESSIVO) VALUES("),
                    QStringLiteral(":UTENTE,"),
                    QStringLiteral(":INTESTAZIONE,"),
                    QStringLiteral(":PARAMETRO,"),
                    QStringLiteral(":VALORE,"),
                    QStringLiteral(":PROGRESSIVO)")};
}

void TPravlinInsert::Esegui(const QString &utente, const TPravlin &voce, int progressivo)
{
    m_sql.Prepare();
    m_sql.ParamByName(QStringLiteral("UTENTE")).setAsString(utente);
    m_sql.ParamByName(QStringLiteral("INTESTAZIONE")).setAsString(voce.Intestazione);
    m_sql.ParamByName(QStringLiteral("PARAMETRO")).setAsString(voce.Parametro);
    TIBValue &valore = m_sql.ParamByName(QStringLiteral("VALORE"));
    if (voce.Valore.isEmpty())
        valore.Clear();
    else
        valore.setAsString(Pravlin::ValoreTabella(voce.Valore));
    m_sql.ParamByName(QStringLiteral("PROGRESSIVO")).setAsInteger(progressivo);
    m_sql.ExecQuery();
    m_sql.Close();
}
