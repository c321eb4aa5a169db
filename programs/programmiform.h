#pragma once

#include "recordeditor.h"

class QFrame;
class QLabel;
class QPushButton;
class TDBEdit;
class TDBGrid;
class TIBQuery;
class TIBUpdateSQL;

// "Gestione programmi": the register of the suite's programs, one row of
// PROGRAMMI each, with its icon, its menu, duplication with the menu
// entries and the rebuild of DETTMENU.PARAMETRIBLOB.
class TProgrammiForm : public TRecordEditorForm
{
    Q_OBJECT
public:
    TProgrammiForm(QWidget *owner, TTabForm *&tabForm);

    TIBQuery *const QueryProgrammi;
    TIBUpdateSQL *const UpdateProgrammi;
    TIBQuery *QueryAux2;

    TDBEdit *EditCodice;
    TDBEdit *EditNome;
    TDBEdit *EditDescrizione;
    TDBEdit *EditIcona;
    QPushButton *ButtonCodice;
    QPushButton *ButtonNome;
    QPushButton *ButtonDescrizione;
    QPushButton *ButtonIcona;
    QFrame *PanelIcona;
    QLabel *ImageIcona;
    TDBGrid *GridProgrammi;
    QPushButton *ButtonMenu;
    QPushButton *ButtonDuplica;
    QPushButton *ButtonConversioneMemo;

    void ButtonIconaClick();
    void EditIconaChange();
    void ButtonMenuClick();
    void ButtonDuplicaClick();
    void ButtonConversioneMemoClick();

    // The picture filter of the icon dialog: every format the platform reads.
    static QString FiltroImmagini();
    // The preview of a picture file: fitted into 32 by 32 keeping its
    // aspect; a null picture when the file is missing or unreadable.
    static QPixmap Anteprima(const QString &file);

protected:
    void PrimaDellApertura() override;
    bool ControlloDipendenti() override;
    void EliminaCollegati() override;
    QList<TDipendente> Dipendenti() override;
    QWidget *EditChiave() const override;

private:
    void buildFields();
    QString cartellaGrafica() const;
};
