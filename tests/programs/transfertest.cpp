#include "transfertest.h"

#include "filedialogs.h"
#include "ibsql.h"
#include "testdb.h"
#include "win1252.h"

#include <QFile>

const QByteArray kIntestazione =
    "PROGETTO#CODICE#NOME#DESCRIZIONE#ICONA#PROGRAMMA#MENU#MENUPREC#LIVELLOMENU#DESCRIZIONE#DLL#"
    "FUNZIONE#NOTE#LIVELLO2VERSIONE#PARAMETRI#VISIBILE#VOCERAPIDA#PARAMETRIBLOB#\r\n";

QByteArray linea(const QStringList &campi)
{
    return Win1252::encode(campi.join(QLatin1Char('#')) + QStringLiteral("#\r\n"));
}

void TransferTest::SetUp()
{
    ProgramsTest::SetUp();
    if (IsSkipped() || HasFatalFailure())
        return;
    percorsoDb = tab->IBDatabase1->DatabaseName;
}

void TransferTest::TearDown()
{
    FileDialogs::setResponder({});
    ProgramsTest::TearDown();
}

void TransferTest::inserisci(const QString &tabella, const QVariantMap &valori)
{
    OtherConnection o(percorsoDb);
    QStringList nomi, segnaposti;
    for (auto it = valori.cbegin(); it != valori.cend(); ++it) {
        nomi << it.key();
        segnaposti << QLatin1Char(':') + it.key();
    }
    TIBSQL q;
    q.setDatabase(&o.db);
    q.SQL = QStringList{"INSERT INTO " + tabella + " (" + nomi.join(',') + ") VALUES (" +
                        segnaposti.join(',') + ")"};
    for (auto it = valori.cbegin(); it != valori.cend(); ++it)
        q.ParamByName(it.key()).setValue(it.value());
    q.ExecQuery();
    o.tr.Commit();
}

void TransferTest::progetto(int codice, const QString &nome)
{
    inserisci("PROGETTI", {{"CODICE", codice}, {"NOME", nome}});
}

void TransferTest::collega(int progetto, int programma)
{
    inserisci("DETTPROGETTI", {{"PROGETTO", progetto}, {"PROGRAMMA", programma}});
}

void TransferTest::voce(int programma, int menu, const QVariantMap &altri)
{
    QVariantMap valori = altri;
    valori.insert("PROGRAMMA", programma);
    valori.insert("MENU", menu);
    inserisci("DETTMENU", valori);
}

QStringList TransferTest::righe(const QString &sql)
{
    OtherConnection o(percorsoDb);
    TIBSQL q;
    q.setDatabase(&o.db);
    q.SQL = QStringList{sql};
    QStringList out;
    for (q.ExecQuery(); !q.Eof(); q.Next()) {
        QStringList campi;
        for (int i = 0; i < q.FieldCount(); ++i)
            campi << (q.Fields(i).IsNull() ? QStringLiteral("<null>") : q.Fields(i).AsString());
        out << campi.join('|');
    }
    q.Close();
    o.tr.Commit();
    return out;
}

void TransferTest::scrivi(const QString &nome, const QByteArray &contenuto)
{
    QFile f(percorso(nome));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(contenuto);
}

QByteArray TransferTest::leggi(const QString &nome) const
{
    QFile f(percorso(nome));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void TransferTest::risposta(const QString &p)
{
    FileDialogs::setResponder([p](const FileDialogRequest &) { return p; });
}
