#include "csdeditori.h"

#include "dbcontrols.h"
#include "editorwidgets.h"
#include "ibquery.h"

#include <QLineEdit>
#include <QPlainTextEdit>

namespace {

template <typename T>
T *soloLettura(QWidget *parent, const char *name, TDataSet *dataSet, const char *field)
{
    auto *box = EditorWidgets::bound<T>(parent, name, dataSet, field, 0);
    box->setReadOnly(true);
    return box;
}

QPlainTextEdit *memo(QWidget *parent, const char *name)
{
    auto *m = new QPlainTextEdit(parent);
    m->setObjectName(QLatin1String(name));
    m->setTabChangesFocus(true);
    return m;
}

QString testo(const QVariantMap &riga, const char *colonna)
{
    return riga.value(QLatin1String(colonna)).toString();
}

} // namespace

// ---- Projects -------------------------------------------------------------------

TProgettiCSDForm::TProgettiCSDForm(QWidget *owner, TTabForm *tabForm)
    : TCSDEditorForm(owner, tabForm, QStringLiteral("PROGETTI"))
    , DBEditCodice(soloLettura<TDBEdit>(TabConsultazione, "DBEditCodice", QueryElenco, "CODICE"))
    , DBEditDescrizione(
          soloLettura<TDBEdit>(TabConsultazione, "DBEditDescrizione", QueryElenco, "DESCRIZIONE"))
    , DBEditDLLRif(soloLettura<TDBEdit>(TabConsultazione, "DBEditDLLRif", QueryElenco, "DLLRIF"))
    , DBMemoNoteProgetto(
          soloLettura<TDBMemo>(TabConsultazione, "DBMemoNoteProgetto", QueryElenco, "NOTEPROGETTO"))
    , EditDLLRif(new QLineEdit(TabInserimento))
    , MemoNoteProgetto(memo(TabInserimento, "MemoNoteProgetto"))
{
    setObjectName(QStringLiteral("ProgettiCSDForm"));
    setWindowTitle(QStringLiteral("Gestione Progetti CSD"));
    consultazione(QStringLiteral("Codice"), DBEditCodice);
    consultazione(QStringLiteral("Descrizione"), DBEditDescrizione);
    consultazione(QStringLiteral("DLL Rif."), DBEditDLLRif);
    consultazione(QStringLiteral("Note progetto"), DBMemoNoteProgetto);
    EditDLLRif->setObjectName(QStringLiteral("EditDLLRif"));
    EditDLLRif->setMaxLength(20);
    inserimento("ButtonDLLRif", QStringLiteral("DLL Rif."), EditDLLRif);
    inserimento("ButtonNoteProgetto", QStringLiteral("Note progetto"), MemoNoteProgetto, 1);
    apri();
}

QStringList TProgettiCSDForm::sqlElenco() const
{
    return {"SELECT", "  *", "FROM", "  PROGETTI", "ORDER BY", "  CODICE"};
}

QStringList TProgettiCSDForm::sqlNuovo() const
{
    return {"INSERT INTO PROGETTI(",
            "CODICE",
            ")",
            "SELECT",
            "  COALESCE(MAX(CODICE),0)+1",
            "FROM",
            "  PROGETTI",
            "RETURNING",
            "  CODICE"};
}

void TProgettiCSDForm::mostraRiga(const QVariantMap &riga)
{
    EditDLLRif->setText(testo(riga, "DLLRIF"));
    mostraMemo(MemoNoteProgetto, testo(riga, "NOTEPROGETTO"));
}

QList<TColonnaCSD> TProgettiCSDForm::colonne() const
{
    return {{QStringLiteral("DLLRIF"), EditDLLRif->text()},
            {QStringLiteral("NOTEPROGETTO"), testoMemo(MemoNoteProgetto)}};
}

// ---- Situations -------------------------------------------------------------------

TSituazioniCSDForm::TSituazioniCSDForm(QWidget *owner, TTabForm *tabForm, int tipo)
    : TCSDEditorForm(owner, tabForm, QStringLiteral("SITUAZIONI"))
    , Tipo(tipo)
    , DBEditCodice(soloLettura<TDBEdit>(TabConsultazione, "DBEditCodice", QueryElenco, "CODICE"))
    , DBEditDescrizione(
          soloLettura<TDBEdit>(TabConsultazione, "DBEditDescrizione", QueryElenco, "DESCRIZIONE"))
    , DBEditFunzioneChiamataForm(soloLettura<TDBEdit>(
          TabConsultazione, "DBEditFunzioneChiamataForm", QueryElenco, "FUNZIONECHIAMATAFORM"))
    , DBMemoNoteSituazione(soloLettura<TDBMemo>(TabConsultazione, "DBMemoNoteSituazione",
                                                QueryElenco, "NOTESITUAZIONE"))
    , DBMemoXMLCSDForm(
          soloLettura<TDBMemo>(TabConsultazione, "DBMemoXMLCSDForm", QueryElenco, "XMLCSDFORM"))
    , EditFunzioneChiamataForm(new QLineEdit(TabInserimento))
    , MemoNoteSituazione(memo(TabInserimento, "MemoNoteSituazione"))
    , ScriptCSDForm(memo(TabInserimento, "ScriptCSDForm"))
{
    setObjectName(QStringLiteral("SituazioniCSDForm"));
    setWindowTitle(Tipo == 0 ? QStringLiteral("Gestione Situazioni Form")
                             : QStringLiteral("Gestione Situazioni CSDGrid"));
    consultazione(QStringLiteral("Codice"), DBEditCodice);
    consultazione(QStringLiteral("Descrizione"), DBEditDescrizione);
    consultazione(QStringLiteral("Funzione chiamata Form"), DBEditFunzioneChiamataForm);
    consultazione(QStringLiteral("Note Situazione"), DBMemoNoteSituazione);
    consultazione(QStringLiteral("XML CSDForm"), DBMemoXMLCSDForm, 1);
    EditFunzioneChiamataForm->setObjectName(QStringLiteral("EditFunzioneChiamataForm"));
    EditFunzioneChiamataForm->setMaxLength(30);
    ScriptCSDForm->setLineWrapMode(QPlainTextEdit::NoWrap);
    inserimento("ButtonFunzioneChiamataForm", QStringLiteral("Funzione chiamata Form"),
                EditFunzioneChiamataForm);
    inserimento("ButtonNoteSituazione", QStringLiteral("Note Situazione"), MemoNoteSituazione);
    inserimento("ButtonXMLCSDForm", QStringLiteral("XML CSDForm"), ScriptCSDForm, 1);
    if (Tipo == 1) {
        for (QWidget *w :
             std::initializer_list<QWidget *>{DBEditFunzioneChiamataForm, DBMemoXMLCSDForm,
                                              EditFunzioneChiamataForm, ScriptCSDForm})
            w->setEnabled(false);
    }
    apri();
}

QString TSituazioniCSDForm::tipoSql() const
{
    return Tipo == 0 ? QStringLiteral("'FORM'") : QStringLiteral("'CSDGRID'");
}

QStringList TSituazioniCSDForm::sqlElenco() const
{
    return {"SELECT",   "  *",     "FROM", "  SITUAZIONI", "WHERE", "  TIPO=" + tipoSql(),
            "ORDER BY", "  CODICE"};
}

QStringList TSituazioniCSDForm::sqlNuovo() const
{
    return {"INSERT INTO SITUAZIONI(",
            "CODICE,",
            "TIPO",
            ")",
            "SELECT",
            "  COALESCE(MAX(CODICE),0)+1,",
            "  " + tipoSql(),
            "FROM",
            "  SITUAZIONI",
            "RETURNING",
            "  CODICE"};
}

void TSituazioniCSDForm::mostraRiga(const QVariantMap &riga)
{
    EditFunzioneChiamataForm->setText(testo(riga, "FUNZIONECHIAMATAFORM"));
    mostraMemo(MemoNoteSituazione, testo(riga, "NOTESITUAZIONE"));
    mostraMemo(ScriptCSDForm, testo(riga, "XMLCSDFORM"));
}

QList<TColonnaCSD> TSituazioniCSDForm::colonne() const
{
    return {{QStringLiteral("FUNZIONECHIAMATAFORM"), EditFunzioneChiamataForm->text()},
            {QStringLiteral("XMLCSDFORM"), testoMemo(ScriptCSDForm), false},
            {QStringLiteral("NOTESITUAZIONE"), testoMemo(MemoNoteSituazione)}};
}
