#include "rcsdform.h"

#include "csdeditori.h"
#include "editorwidgets.h"
#include "guard.h"
#include "ibquery.h"
#include "messages.h"
#include "tabform.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <memory>

namespace {

TRicercaOpzioni opzioni(TTabForm *tabForm, const QString &avviso)
{
    TRicercaOpzioni o;
    o.database = tabForm->IBCSDProgetti;
    o.transaction = tabForm->IBTransactionCSDProgetti;
    o.avvisoVuota = avviso;
    o.didascaliaChiudi = QStringLiteral("&Chiudi");
    return o;
}

} // namespace

TRCSDForm::TRCSDForm(QWidget *owner, TTabForm *tabForm, const Lista &lista)
    : TRicercaForm(owner, tabForm, lista.caption, lista.nomeQuery, lista.nomeGriglia,
                   opzioni(tabForm, lista.avviso))
    , EditCodice(new QLineEdit(this))
    , EditDescrizione(new QLineEdit(this))
    , ButtonAttivaSelezione(new QPushButton(QStringLiteral("Attiva selezione"), this))
    , ButtonAnnullaSelezione(new QPushButton(QStringLiteral("Annulla selezione"), this))
    , ButtonCreaNuovo(new QPushButton(QStringLiteral("Crea &nuovo"), this))
    , m_terzo(new QLineEdit(this))
    , m_lista(lista)
{
    campo(QStringLiteral("EditRigaCodice"), QStringLiteral("Codice"), QStringLiteral("CODICE"));
    campo(QStringLiteral("EditRigaDescrizione"), QStringLiteral("Descrizione"),
          QStringLiteral("DESCRIZIONE"));
    campo(QStringLiteral("EditRiga") + lista.nomeTerzo.mid(4), lista.captionTerzo,
          lista.colonnaTerzo);

    EditCodice->setObjectName(QStringLiteral("EditCodice"));
    EditDescrizione->setObjectName(QStringLiteral("EditDescrizione"));
    EditDescrizione->setMaxLength(128);
    m_terzo->setObjectName(lista.nomeTerzo);
    m_terzo->setMaxLength(20);
    QHBoxLayout *riga = rigaFiltri();
    const QList<QPair<QString, QLineEdit *>> filtri = {
        {QStringLiteral("Codice"), EditCodice},
        {QStringLiteral("Descrizione"), EditDescrizione},
        {lista.captionTerzo, m_terzo}};
    for (const auto &f : filtri) {
        auto *etichetta = new QLabel(f.first, this);
        etichetta->setBuddy(f.second);
        riga->addLayout(EditorWidgets::cell(etichetta, f.second),
                        f.second == EditDescrizione ? 3 : 1);
        // Enter searches and presses no button.
        Guard::connect(f.second, &QLineEdit::returnPressed, this, &TRCSDForm::EseguiRicerca);
    }
    for (QPushButton *b : {ButtonAttivaSelezione, ButtonAnnullaSelezione, ButtonCreaNuovo}) {
        b->setAutoDefault(false);
        riga->addWidget(b, 0, Qt::AlignBottom);
    }
    ButtonAttivaSelezione->setObjectName(QStringLiteral("ButtonAttivaSelezione"));
    ButtonAnnullaSelezione->setObjectName(QStringLiteral("ButtonAnnullaSelezione"));
    ButtonCreaNuovo->setObjectName(QStringLiteral("ButtonCreaNuovo"));
    Guard::connect(ButtonAttivaSelezione, &QPushButton::clicked, this, &TRCSDForm::EseguiRicerca);
    Guard::connect(ButtonAnnullaSelezione, &QPushButton::clicked, this,
                   &TRCSDForm::ButtonAnnullaSelezioneClick);
    Guard::connect(ButtonCreaNuovo, &QPushButton::clicked, this, &TRCSDForm::ButtonCreaNuovoClick);
}

QString TRCSDForm::GetCodiceSelezionato() const
{
    TIBQuery *q = query();
    if (!q->Active() || q->IsEmpty())
        return QString();
    return q->FieldByName(QStringLiteral("CODICE"))->AsString();
}

void TRCSDForm::EseguiRicerca()
{
    QStringList sql{QStringLiteral("SELECT"), QStringLiteral("  *"),
                    QStringLiteral("FROM"),   QStringLiteral("  ") + m_lista.tabella,
                    QStringLiteral("WHERE"),  m_lista.condizione};
    QVariantMap params;
    if (!EditCodice->text().isEmpty()) {
        // A code that is not a number finds nothing, as CODICE=0.
        bool numero = false;
        const int codice = EditCodice->text().trimmed().toInt(&numero);
        sql << QStringLiteral("  AND")
            << QStringLiteral("  CODICE=") + QString::number(numero ? codice : 0);
    }
    const QList<QPair<QString, QLineEdit *>> testi = {
        {QStringLiteral("DESCRIZIONE"), EditDescrizione}, {m_lista.colonnaTerzo, m_terzo}};
    for (const auto &t : testi) {
        if (t.second->text().isEmpty())
            continue;
        sql << QStringLiteral("  AND") << QStringLiteral("  %1 CONTAINING :%1").arg(t.first);
        // As the editors store it.
        params.insert(t.first, ConAccento(t.second->text()));
    }
    sql << QStringLiteral("ORDER BY") << QStringLiteral("  CODICE");
    query()->Close();
    apri(sql, params);
}

void TRCSDForm::ButtonAnnullaSelezioneClick()
{
    for (QLineEdit *e : {EditCodice, EditDescrizione, m_terzo})
        e->clear();
    EseguiRicerca();
}

void TRCSDForm::ButtonCreaNuovoClick()
{
    std::unique_ptr<TCSDEditorForm> editor(creaEditor());
    editor->ModoRicerca = true;
    if (!editor->Nuovo())
        return;
    if (Modal::exec(editor.get()) != mrOk)
        return;
    for (QLineEdit *e : {EditCodice, EditDescrizione, m_terzo})
        e->clear();
    EditCodice->setText(editor->GetCodiceCorrente());
    EseguiRicerca();
}

// ---- The two lists -------------------------------------------------------------------

TRProgettiCSDForm::TRProgettiCSDForm(QWidget *owner, TTabForm *tabForm)
    : TRCSDForm(owner, tabForm,
                {QStringLiteral("Ricerca progetti CSD"), QStringLiteral("QueryProgetti"),
                 QStringLiteral("GridProgetti"), QStringLiteral("Selezionare un progetto"),
                 QStringLiteral("PROGETTI"), QStringLiteral("  CODICE IS NOT NULL"),
                 QStringLiteral("EditDLLRif"), QStringLiteral("DLL rif."),
                 QStringLiteral("DLLRIF")})
    , EditDLLRif(m_terzo)
{
    setObjectName(QStringLiteral("RProgettiCSDForm"));
    EseguiRicerca();
}

TCSDEditorForm *TRProgettiCSDForm::creaEditor()
{
    return new TProgettiCSDForm(this, FTabForm);
}

TRSituazioniCSDForm::TRSituazioniCSDForm(QWidget *owner, TTabForm *tabForm, int tipo)
    : TRCSDForm(owner, tabForm,
                {QStringLiteral("Ricerca situazioni CSD"), QStringLiteral("QuerySituazioni"),
                 QStringLiteral("GridSituazioni"), QStringLiteral("Selezionare una situazione"),
                 QStringLiteral("SITUAZIONI"),
                 tipo == 0 ? QStringLiteral("  TIPO='FORM'") : QStringLiteral("  TIPO='CSDGRID'"),
                 QStringLiteral("EditFunzioneChiamata"), QStringLiteral("Funzione chiamata"),
                 QStringLiteral("FUNZIONECHIAMATAFORM")})
    , Tipo(tipo)
    , EditFunzioneChiamata(m_terzo)
{
    setObjectName(QStringLiteral("RSituazioniCSDForm"));
    EseguiRicerca();
}

TCSDEditorForm *TRSituazioniCSDForm::creaEditor()
{
    return new TSituazioniCSDForm(this, FTabForm, Tipo);
}
