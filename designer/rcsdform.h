#pragma once

#include "ricercaform.h"

class QLineEdit;
class TCSDEditorForm;

// What the CSD projects and situations pick lists share: three filters and
// their buttons above the list, the search rebuilt on each run, and "Crea
// &nuovo", which creates a row through the matching editor.
class TRCSDForm : public TRicercaForm
{
    Q_OBJECT
public:
    QLineEdit *EditCodice;
    QLineEdit *EditDescrizione;
    QPushButton *ButtonAttivaSelezione;
    QPushButton *ButtonAnnullaSelezione;
    QPushButton *ButtonCreaNuovo;

    // The CODICE of the current row; empty when the list is closed or empty.
    QString GetCodiceSelezionato() const;
    void EseguiRicerca();
    void ButtonAnnullaSelezioneClick();
    void ButtonCreaNuovoClick();

protected:
    struct Lista
    {
        QString caption;
        QString nomeQuery;
        QString nomeGriglia;
        QString avviso;
        QString tabella;
        // The first condition after WHERE.
        QString condizione;
        // The third filter: its edit, caption and column.
        QString nomeTerzo;
        QString captionTerzo;
        QString colonnaTerzo;
    };
    TRCSDForm(QWidget *owner, TTabForm *tabForm, const Lista &lista);
    // The editor that creates a row, in picker mode.
    virtual TCSDEditorForm *creaEditor() = 0;

    QLineEdit *m_terzo;

private:
    Lista m_lista;
};

// Picks a CSD project.
class TRProgettiCSDForm : public TRCSDForm
{
    Q_OBJECT
public:
    TRProgettiCSDForm(QWidget *owner, TTabForm *tabForm);
    QLineEdit *EditDLLRif;

protected:
    TCSDEditorForm *creaEditor() override;
};

// Picks a CSD situation of one kind: 0 FORM, 1 CSDGRID.
class TRSituazioniCSDForm : public TRCSDForm
{
    Q_OBJECT
public:
    TRSituazioniCSDForm(QWidget *owner, TTabForm *tabForm, int tipo);
    const int Tipo;
    QLineEdit *EditFunzioneChiamata;

protected:
    TCSDEditorForm *creaEditor() override;
};
