#pragma once

#include "archivefixture.h"

#include <QStringList>
#include <QVariant>
#include <functional>
#include <memory>

class QDialog;
class TUtentiForm;

// The users and profiles editors on a signed-in archive object, with what
// another program of the suite would read.
class UtentiTest : public ArchiveTest
{
protected:
    void TearDown() override;

    void profilo(int codice, const QString &descrizione = QStringLiteral("Tutti"));
    void progetto(int codice);
    // A user of the suite that passes every check with its text.
    void utente(int codice, const QString &nome, const QString &ditta, const QString &pravlin,
                const QString &password = QString());
    void riga(int utente, const QString &intestazione, const QString &parametro,
              const QVariant &valore, int progressivo);

    // Committed rows of a user as "section|name|value|order", NULL as <NULL>.
    QStringList righe(int utente);
    // Every committed column of UTENTI and TABPRAVLIN, one line per row:
    // equal before and after means nothing was written.
    QStringList istantanea();
    // The committed value, NULL as an invalid QVariant.
    QVariant valore(const QString &sql);

    std::unique_ptr<TUtentiForm> apri();
    // Answers each modal window with the handler for its class.
    void rispondi(std::function<int(QDialog *)> handler);
};
