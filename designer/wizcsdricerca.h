#pragma once

#include "campitabella.h"

#include <QObject>
#include <QStringList>

class QWidget;
class TCSDRicerca;

// The search wizard without its window: the looks of a search and its
// fields in order. Only the fields' Nome and Etichetta are used.
class TWizCSDRicerca : public QObject
{
    Q_OBJECT
public:
    // The search is the caller's; only "Ok" writes into it.
    TWizCSDRicerca(TCSDRicerca *ricerca, QWidget *owner = nullptr);

    TCSDRicerca *const Ricerca;
    TCampiTabella *const TabCampi;
    // The names new fields are picked from; without any they are typed.
    QStringList NomiScelta;

    // The three numbers as their edits hold them; 0 is an empty edit.
    QString TestoCodiceProgetto;
    QString TestoSituazioneGriglia;
    QString TestoSituazioneFinestra;

    bool DettaglioAbilitato() const { return TabCampi->Count() > 0; }
    void Nuovo();
    // Before the current row.
    void Inserisci();
    void Elimina();
    void AzzeraCampi();
    // Writes the numbers and the fields into the search; false, after a
    // warning, when there is no field.
    bool Ok();

private:
    QString chiediNome();
    void aggiungi(int n, const QString &nome);

    QWidget *m_owner;
};
