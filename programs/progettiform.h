#pragma once

#include "dberrortext.h"
#include "recordeditor.h"

#include <QStringList>

class QLabel;
class QPushButton;
class TDBEdit;
class TDBGrid;
class TDBRadioGroup;
class TIBQuery;
class TIBUpdateSQL;

// "Gestione progetti": the projects, one row of PROGETTI each, with the
// programs linked to the current one and those still available, linking
// and unlinking by marks, and the duplication of a project with its links.
class TProgettiForm : public TRecordEditorForm
{
    Q_OBJECT
public:
    TProgettiForm(QWidget *owner, TTabForm *&tabForm);

    TIBQuery *const QueryProgetti;
    TIBUpdateSQL *const UpdateProgetti;
    TIBQuery *QueryProgr1; // the programs linked to the current project
    TIBQuery *QueryProgr2; // the programs available to it

    TDBEdit *EditCodice;
    TDBEdit *EditNome;
    TDBEdit *EditDescrizione;
    TDBRadioGroup *RadioModoMenuSistema;
    QPushButton *ButtonCodice;
    QPushButton *ButtonNome;
    QPushButton *ButtonDescrizione;
    TDBGrid *GridProgetti;
    QPushButton *ButtonDuplica;
    QLabel *LabelProgr1;
    QLabel *LabelProgr2;
    TDBGrid *GridProgr1;
    TDBGrid *GridProgr2;
    QPushButton *ButtonAggiungi;
    QPushButton *ButtonTogli;

    // Program codes marked in each list, in the order of marking. Not tied
    // to a project: a change of project keeps them.
    QStringList FProgrSelezionati1;
    QStringList FProgrSelezionati2;

    void EditCodiceChange();
    void ButtonAggiungiClick();
    void ButtonTogliClick();
    void ButtonDuplicaClick();
    void GridProgr1DblClick();
    void GridProgr1KeyUp(int key, Qt::KeyboardModifiers modifiers);
    void GridProgr2DblClick();
    void GridProgr2KeyUp(int key, Qt::KeyboardModifiers modifiers);

protected:
    void ValoriNuovoRecord() override;
    bool ControlloDipendenti() override;
    void EliminaCollegati() override;
    QList<TDipendente> Dipendenti() override;
    QString ProssimoCodice() override;
    QWidget *EditChiave() const override;

private:
    void buildFields();
    QWidget *buildLists();
    // The current project's code, NULL when there is none.
    QVariant codiceProgetto() const;
    // Runs one statement on QueryAux with its values bound; false when the
    // database refused it, the refusal kept for the box in FErrore.
    bool esegui(const QStringList &sql, const QVariantMap &valori);
    DbErrorText::Failure FErrore;
};
