#pragma once

#include "ibdatabase.h"
#include "ibsql.h"

#include <QObject>
#include <QString>

class QAbstractButton;
class QWidget;
class TBookmark;
class TDataSet;

// The archive database object: never shown, one instance owned by the main
// window, holding the connections every editor works through.
class TTabForm : public QObject
{
    Q_OBJECT
public:
    explicit TTabForm(QWidget *owner = nullptr);
    ~TTabForm() override;

    // Seconds a statement of the shared transaction waits for another
    // transaction's lock before it fails as a conflict.
    static constexpr int LockTimeout = 10;

    TIBDatabase *IBDatabase1;
    TIBTransaction *IBTransaction1;
    TIBSQL *QueryAux;
    TIBDatabase *IBCSDProgetti;
    TIBTransaction *IBTransactionCSDProgetti;

    // The executable's folder with its trailing separator.
    QString DirectoryProgramma;
    QString FileVerde;
    QString FileRosso;
    // The status button of an editor: Tag 0 and the green glyph, or Tag 1
    // and the red one (a painted square when the picture is missing).
    void MostraStato(QAbstractButton *statusButton, int tag) const;

    // Opens (or creates and fills) the user database, ensures the settings
    // table and opens the CSD projects database when one is stored. False
    // when the user database could not be opened.
    bool ConnettiDatabaseArchivi();
    // True when every first-schema statement succeeded and was committed;
    // otherwise `cause` gets the database's message.
    bool CreazioneTabelle(QString *cause = nullptr);
    QString Get_DBCSDProgetti();
    void Set_DBCSDProgetti(const QString &percorso);
    void ConnettiIBCSDProgetti(const QString &percorso);
    bool EsisteTabella(const QString &nome);
    bool EsisteGeneratore(const QString &nome);
    // The same probes on the user database, in the caller's transaction.
    bool EsisteTabellaUtenti(TIBTransaction *tr, const QString &nome);
    bool EsisteGeneratoreUtenti(TIBTransaction *tr, const QString &nome);

    // The editing protocol every editor follows on the shared transaction
    // (editprotocol.h), with this object's green picture.
    // Refresh or cancel: roll back, restart, reopen, back to the remembered row.
    void AggiornaTabella(TDataSet *dataSet, const TBookmark &bookmark, bool usaBookmark);
    // Save: post what is pending, commit, remember the row, turn the status
    // button green.
    void ChiudiTransazione(TDataSet *dataSet, TBookmark &bookmark, bool &bookmarkValido,
                           QAbstractButton *statusButton);
    void ChiudiTransEAggiorna(TDataSet *dataSet, TBookmark &bookmark, bool &bookmarkValido,
                              QAbstractButton *statusButton);

private:
    bool ensureImpostazioni();
    bool csdProbe(const QString &catalogue, const QString &column, const QString &nome);
    bool userProbe(TIBTransaction *tr, const QString &catalogue, const QString &column,
                   const QString &nome);
    QWidget *m_owner;
};
