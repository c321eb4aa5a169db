#include "editoresterno.h"

#include "ibsql.h"
#include "schema.h"
#include "tabform.h"

#include <QEventLoop>
#include <QProcess>
#include <QWidget>

namespace EditorEsterno {
namespace {

const QString kNome = QStringLiteral("EseguibileWordPad");

// A transaction of its own on the user database, rolled back unless the
// work reaches its commit.
class TTransazioneTabx
{
public:
    explicit TTransazioneTabx(TTabForm &tab)
        : m_tab(tab)
    {
        m_tr.setDefaultDatabase(tab.IBDatabase1);
        m_tr.StartTransaction();
    }
    ~TTransazioneTabx()
    {
        if (m_tr.InTransaction()) {
            try {
                m_tr.Rollback();
            } catch (...) {
            }
        }
    }
    void esegui(const QStringList &testo, const QVariantMap &parametri = {},
                bool controllaParametri = true)
    {
        TIBSQL sql;
        sql.setDatabase(m_tab.IBDatabase1);
        sql.setTransaction(&m_tr);
        sql.ParamCheck = controllaParametri;
        sql.SQL = testo;
        for (auto it = parametri.cbegin(); it != parametri.cend(); ++it)
            sql.ParamByName(it.key()).setValue(it.value());
        sql.ExecQuery();
        if (!sql.Eof() && sql.FieldCount() > 0)
            m_primo = sql.Fields(0).AsString();
        sql.Close();
    }
    // The first column of the last SELECT's first row.
    QString primo() const { return m_primo; }
    bool esisteTabella() { return m_tab.EsisteTabellaUtenti(&m_tr, QStringLiteral("TABX")); }
    bool esisteGeneratore()
    {
        return m_tab.EsisteGeneratoreUtenti(&m_tr, QStringLiteral("CODICETABXCOUNTER"));
    }
    void commit() { m_tr.Commit(); }

private:
    TTabForm &m_tab;
    TIBTransaction m_tr;
    QString m_primo;
};

const QStringList kCondizione = {QStringLiteral("WHERE NOME=:NOME AND CODPROGETTO=1"),
                                 QStringLiteral("AND CODSITUAZIONE=1")};

QVariantMap nome()
{
    return {{QStringLiteral("NOME"), kNome}};
}

// Created in a transaction that is committed before any row goes in: the
// engine takes no rows into a table created in the same transaction.
void CreaTabx(TTabForm &tab)
{
    TTransazioneTabx tr(tab);
    const bool tabella = tr.esisteTabella();
    const bool generatore = tr.esisteGeneratore();
    if (tabella && generatore)
        return;
    if (!tabella)
        tr.esegui(Schema::tabX(), {}, false);
    if (!generatore)
        tr.esegui(Schema::tabXGenerator(), {}, false);
    tr.commit();
}

} // namespace

QString Percorso(TTabForm &tab)
{
    CreaTabx(tab);
    TTransazioneTabx tr(tab);
    tr.esegui(QStringList{QStringLiteral("SELECT TESTO FROM TABX")} + kCondizione, nome());
    tr.commit();
    return tr.primo();
}

void MemorizzaPercorso(TTabForm &tab, const QString &percorso)
{
    TTransazioneTabx tr(tab);
    tr.esegui({QStringLiteral("INSERT INTO TABX(CODICE,NOME,CODPROGETTO,CODSITUAZIONE,TESTO)"),
               QStringLiteral("VALUES(GEN_ID(CODICETABXCOUNTER,1),:NOME,1,1,:TESTO)")},
              {{QStringLiteral("NOME"), kNome}, {QStringLiteral("TESTO"), percorso}});
    tr.commit();
}

void Reset(TTabForm &tab)
{
    TTransazioneTabx tr(tab);
    // Without the table there is no path to forget.
    if (tr.esisteTabella())
        tr.esegui(QStringList{QStringLiteral("DELETE FROM TABX")} + kCondizione, nome());
    tr.commit();
}

QString FileEditorUtente(const TTabForm &tab, const QString &codiceUtente)
{
    return tab.DirectoryProgramma + codiceUtente + QStringLiteral("_utente.txt");
}

TEsito EseguiEAttendi(const QString &programma, const QString &file, QWidget *finestra)
{
    QProcess processo;
    processo.setProgram(programma);
    processo.setArguments({file});
    processo.setStandardInputFile(QProcess::nullDevice());
    QEventLoop attesa;
    QObject::connect(&processo, &QProcess::finished, &attesa, &QEventLoop::quit);
    processo.start();
    if (!processo.waitForStarted(-1))
        return TEsito::NonAvviato;
    if (finestra)
        finestra->setEnabled(false);
    if (processo.state() != QProcess::NotRunning)
        attesa.exec();
    if (finestra)
        finestra->setEnabled(true);
    return processo.exitStatus() == QProcess::CrashExit ? TEsito::Anomalo : TEsito::Terminato;
}

} // namespace EditorEsterno
