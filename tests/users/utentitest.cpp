#include "utentitest.h"

#include "ibsql.h"
#include "messages.h"
#include "testdb.h"
#include "utentiform.h"

#include <QDialog>

void UtentiTest::TearDown()
{
    Modal::setRunner({});
    ArchiveTest::TearDown();
}

void UtentiTest::profilo(int codice, const QString &descrizione)
{
    other(QStringLiteral("INSERT INTO PROFILI (CODICE, DESCRIZIONE, LIVELLOPREDEFINITO) VALUES "
                         "(%1, '%2', 0)")
              .arg(codice)
              .arg(descrizione));
}

void UtentiTest::progetto(int codice)
{
    other(QStringLiteral("INSERT INTO PROGETTI (CODICE, NOME) VALUES (%1, 'P%1')").arg(codice));
}

namespace {

template <typename F> void conConnessione(const QString &path, F &&f)
{
    OtherConnection c(path);
    TIBSQL q;
    q.setDatabase(&c.db);
    q.setTransaction(&c.tr);
    f(q);
    q.Close();
    if (c.tr.InTransaction())
        c.tr.Commit();
}

} // namespace

void UtentiTest::utente(int codice, const QString &nome, const QString &ditta,
                        const QString &pravlin, const QString &password)
{
    conConnessione(tab->IBDatabase1->DatabaseName, [&](TIBSQL &q) {
        q.SQL = QStringList{
            QStringLiteral("INSERT INTO UTENTI (CODICE, NOMEUTENTE, PWDUTENTE, DITTA, PRAVLIN, "
                           "PROFILOSICUREZZA, PROGETTO, MANTIENISTDMIN) VALUES "
                           "(:C, :N, :P, :D, :T, 1, 1, 0)")};
        q.ParamByName("C").setAsInteger(codice);
        q.ParamByName("N").setAsString(nome);
        if (password.isEmpty())
            q.ParamByName("P").Clear();
        else
            q.ParamByName("P").setAsString(password);
        q.ParamByName("D").setAsString(ditta);
        if (pravlin.isEmpty())
            q.ParamByName("T").Clear();
        else
            q.ParamByName("T").setAsString(pravlin);
        q.ExecQuery();
    });
}

void UtentiTest::riga(int utente, const QString &intestazione, const QString &parametro,
                      const QVariant &valore, int progressivo)
{
    conConnessione(tab->IBDatabase1->DatabaseName, [&](TIBSQL &q) {
        q.SQL = QStringList{QStringLiteral("INSERT INTO TABPRAVLIN (UTENTE, INTESTAZIONE, "
                                           "PARAMETRO, VALORE, PROGRESSIVO) VALUES "
                                           "(:U, :I, :P, :V, :O)")};
        q.ParamByName("U").setAsInteger(utente);
        q.ParamByName("I").setAsString(intestazione);
        q.ParamByName("P").setAsString(parametro);
        if (valore.isNull())
            q.ParamByName("V").Clear();
        else
            q.ParamByName("V").setAsString(valore.toString());
        q.ParamByName("O").setAsInteger(progressivo);
        q.ExecQuery();
    });
}

QStringList UtentiTest::righe(int utente)
{
    QStringList out;
    conConnessione(tab->IBDatabase1->DatabaseName, [&](TIBSQL &q) {
        q.SQL = QStringList{QStringLiteral("SELECT INTESTAZIONE, PARAMETRO, VALORE, PROGRESSIVO "
                                           "FROM TABPRAVLIN WHERE UTENTE=:U ORDER BY PROGRESSIVO")};
        q.ParamByName("U").setAsInteger(utente);
        for (q.ExecQuery(); !q.Eof(); q.Next())
            out << QStringList{q.Fields(0).AsString(), q.Fields(1).AsString(),
                               q.Fields(2).IsNull() ? QStringLiteral("<NULL>")
                                                    : q.Fields(2).AsString(),
                               q.Fields(3).AsString()}
                       .join('|');
    });
    return out;
}

QStringList UtentiTest::istantanea()
{
    QStringList out;
    conConnessione(tab->IBDatabase1->DatabaseName, [&](TIBSQL &q) {
        for (const char *sql : {"SELECT * FROM UTENTI ORDER BY CODICE",
                                "SELECT * FROM TABPRAVLIN ORDER BY UTENTE, INTESTAZIONE, "
                                "PARAMETRO"}) {
            q.Close();
            q.SQL = QStringList{QString::fromLatin1(sql)};
            for (q.ExecQuery(); !q.Eof(); q.Next()) {
                QStringList campi;
                for (int i = 0; i < q.FieldCount(); ++i)
                    campi << (q.Fields(i).IsNull() ? QStringLiteral("<NULL>")
                                                   : q.Fields(i).AsString());
                out << campi.join('|');
            }
        }
    });
    return out;
}

QVariant UtentiTest::valore(const QString &sql)
{
    QVariant v;
    conConnessione(tab->IBDatabase1->DatabaseName, [&](TIBSQL &q) {
        q.SQL = QStringList{sql};
        q.ExecQuery();
        if (!q.Eof() && !q.Fields(0).IsNull())
            v = q.Fields(0).AsString();
    });
    return v;
}

std::unique_ptr<TUtentiForm> UtentiTest::apri()
{
    nuovoSnapshot();
    return std::make_unique<TUtentiForm>(nullptr, tabVar);
}

void UtentiTest::rispondi(std::function<int(QDialog *)> handler)
{
    Modal::setRunner(std::move(handler));
}
