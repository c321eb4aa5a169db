#pragma once

#include "messagerecorder.h"
#include "tabform.h"
#include "tabxform.h"
#include "testdb.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

// A scratch program folder. The user database, when a test needs one, is
// made by the archive object itself at sign-in, with its own first schema,
// and the archive object stays connected beside the table-services object as
// it does in the tool.
class TabXTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    QString cartella() const { return m_dir.path() + QLatin1Char('/'); }
    QString fileUtenti() const { return cartella() + QStringLiteral("user/user.fdb"); }

    // Signs the archive object in on a clean folder: user/user.fdb appears
    // with the first schema.
    void creaArchivio();
    std::unique_ptr<TTabXForm> crea(quint8 modo);

    // Statements through a connection of their own, committed.
    void exec(const QString &sql);
    QString scalar(const QString &sql);
    // UTENTI.PRAVLIN of a user as committed; "<NULL>" for NULL.
    QString pravlin(int utente);
    void utente(int codice, const QString &nome, const QString &password = QString(),
                const QString &ditta = QString());
    void riga(int utente, const QString &intestazione, const QString &parametro, int progressivo,
              const QString &valore = QString());
    // The user's rows as "heading|name|value|order", by PROGRESSIVO.
    QStringList righe(int utente);
    void scriviFile(const QString &relativo, const QByteArray &testo);
    QByteArray leggiFile(const QString &relativo);

    MessageRecorder rec;
    std::unique_ptr<TTabForm> archivio;

private:
    QTemporaryDir m_dir;
    std::unique_ptr<OtherConnection> m_altra;
};
