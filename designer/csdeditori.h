#pragma once

#include "csdeditorform.h"

class QPlainTextEdit;
class TDBEdit;
class TDBMemo;

// The CSD projects: PROGETTI of the CSD projects database.
class TProgettiCSDForm : public TCSDEditorForm
{
    Q_OBJECT
public:
    TProgettiCSDForm(QWidget *owner, TTabForm *tabForm);

    TDBEdit *DBEditCodice;
    TDBEdit *DBEditDescrizione;
    TDBEdit *DBEditDLLRif;
    TDBMemo *DBMemoNoteProgetto;
    QLineEdit *EditDLLRif;
    QPlainTextEdit *MemoNoteProgetto;

protected:
    QStringList sqlElenco() const override;
    QStringList sqlNuovo() const override;
    void mostraRiga(const QVariantMap &riga) override;
    QList<TColonnaCSD> colonne() const override;
};

// The CSD situations of one kind: 0 FORM, 1 CSDGRID. Codes are unique
// across both kinds. A grid situation has no function and no script: their
// controls stay disabled, and a save writes back what was loaded.
class TSituazioniCSDForm : public TCSDEditorForm
{
    Q_OBJECT
public:
    TSituazioniCSDForm(QWidget *owner, TTabForm *tabForm, int tipo);

    const int Tipo;
    TDBEdit *DBEditCodice;
    TDBEdit *DBEditDescrizione;
    TDBEdit *DBEditFunzioneChiamataForm;
    TDBMemo *DBMemoNoteSituazione;
    TDBMemo *DBMemoXMLCSDForm;
    QLineEdit *EditFunzioneChiamataForm;
    QPlainTextEdit *MemoNoteSituazione;
    QPlainTextEdit *ScriptCSDForm;

protected:
    QStringList sqlElenco() const override;
    QStringList sqlNuovo() const override;
    void mostraRiga(const QVariantMap &riga) override;
    QList<TColonnaCSD> colonne() const override;

private:
    QString tipoSql() const;
};
