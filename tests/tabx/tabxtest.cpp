#include "tabxtest.h"

#include "ibsql.h"
#include "pathutil.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

void TabXTest::SetUp()
{
    setProgramFolder(cartella());
}

void TabXTest::TearDown()
{
    m_altra.reset();
    archivio.reset();
    setProgramFolder(QString());
}

void TabXTest::creaArchivio()
{
    rec.expect(TMsgDlgType::None, QStringLiteral("Effettuata creazione data base"));
    archivio = std::make_unique<TTabForm>();
    ASSERT_TRUE(archivio->ConnettiDatabaseArchivi());
}

std::unique_ptr<TTabXForm> TabXTest::crea(quint8 modo)
{
    return std::make_unique<TTabXForm>(nullptr, modo);
}

void TabXTest::exec(const QString &sql)
{
    if (!m_altra)
        m_altra = std::make_unique<OtherConnection>(fileUtenti());
    m_altra->exec(sql);
}

QString TabXTest::scalar(const QString &sql)
{
    if (!m_altra)
        m_altra = std::make_unique<OtherConnection>(fileUtenti());
    return m_altra->scalar(sql);
}

QString TabXTest::pravlin(int utente)
{
    if (scalar(QStringLiteral("SELECT COUNT(*) FROM UTENTI WHERE CODICE=%1 AND PRAVLIN IS NULL")
                   .arg(utente)) == QLatin1String("1"))
        return QStringLiteral("<NULL>");
    return scalar(QStringLiteral("SELECT PRAVLIN FROM UTENTI WHERE CODICE=%1").arg(utente));
}

namespace {

// A text as an SQL literal, for the test's own set-up statements.
QString letterale(const QString &s)
{
    if (s.isNull())
        return QStringLiteral("NULL");
    QString q = s;
    q.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + q + QLatin1Char('\'');
}

} // namespace

void TabXTest::utente(int codice, const QString &nome, const QString &password,
                      const QString &ditta)
{
    exec(QStringLiteral("INSERT INTO UTENTI (CODICE,NOMEUTENTE,PWDUTENTE,DITTA) "
                        "VALUES (%1,%2,%3,%4)")
             .arg(codice)
             .arg(letterale(nome), letterale(password), letterale(ditta)));
}

void TabXTest::riga(int utente, const QString &intestazione, const QString &parametro,
                    int progressivo, const QString &valore)
{
    exec(QStringLiteral("INSERT INTO TABPRAVLIN (UTENTE,INTESTAZIONE,PARAMETRO,VALORE,"
                        "PROGRESSIVO) VALUES (%1,%2,%3,%4,%5)")
             .arg(utente)
             .arg(letterale(intestazione), letterale(parametro), letterale(valore))
             .arg(progressivo));
}

QStringList TabXTest::righe(int utente)
{
    if (!m_altra)
        m_altra = std::make_unique<OtherConnection>(fileUtenti());
    TIBSQL q;
    q.setDatabase(&m_altra->db);
    q.setTransaction(&m_altra->tr);
    q.SQL = QStringList{QStringLiteral("SELECT INTESTAZIONE,PARAMETRO,VALORE,PROGRESSIVO "
                                       "FROM TABPRAVLIN WHERE UTENTE=:U ORDER BY PROGRESSIVO")};
    q.Prepare();
    q.ParamByName(QStringLiteral("U")).setAsInteger(utente);
    QStringList out;
    for (q.ExecQuery(); !q.Eof(); q.Next()) {
        const QString valore =
            q.Fields(2).IsNull() ? QStringLiteral("<NULL>") : q.Fields(2).AsString();
        out << QStringList{q.Fields(0).AsString(), q.Fields(1).AsString(), valore,
                           q.Fields(3).AsString()}
                   .join(QLatin1Char('|'));
    }
    q.Close();
    m_altra->tr.Commit();
    return out;
}

void TabXTest::scriviFile(const QString &relativo, const QByteArray &testo)
{
    const QString path = cartella() + relativo;
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(testo);
}

QByteArray TabXTest::leggiFile(const QString &relativo)
{
    QFile f(cartella() + relativo);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray("<missing>");
    return f.readAll();
}
