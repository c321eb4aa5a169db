#include "wizcsdsceltauserform.h"

#include "editorwidgets.h"
#include "guard.h"
#include "ibsql.h"
#include "messages.h"
#include "tabform.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

using EditorWidgets::named;

TWizCSDSceltaUserForm::TWizCSDSceltaUserForm(QWidget *owner, TTabForm *tabForm)
    : QDialog(owner)
    , m_tabForm(tabForm)
{
    setObjectName(QStringLiteral("WizCSDSceltaUserForm"));
    setWindowTitle(QStringLiteral("Scelta utente"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    ComboUtenti = named(new QComboBox, "ComboUtenti");
    ComboUtenti->setEditable(false);
    ComboUtenti->setMinimumContentsLength(20);
    EditDittaCorrente = named(new QLineEdit, "EditDittaCorrente");
    EditDittaCorrente->setReadOnly(true);
    MemoParametri = named(new QPlainTextEdit, "MemoParametri");
    MemoParametri->setReadOnly(true);
    MemoParametri->setTabChangesFocus(true);
    MemoParametri->setLineWrapMode(QPlainTextEdit::NoWrap);
    MemoParametri->setMinimumHeight(MemoParametri->fontMetrics().height() * 8);
    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Utente:"), ComboUtenti);
    form->addRow(QStringLiteral("Ditta corrente:"), EditDittaCorrente);
    form->addRow(QStringLiteral("Parametri con archivio FB:"), MemoParametri);

    ButtonOk = EditorWidgets::pushButton(nullptr, "ButtonOk", QStringLiteral("Ok"));
    ButtonCancel = EditorWidgets::pushButton(nullptr, "ButtonCancel", QStringLiteral("Cancel"));
    auto *v = new QVBoxLayout(this);
    v->addLayout(form, 1);
    v->addLayout(EditorWidgets::buttonRow({ButtonOk, ButtonCancel}));

    Guard::run([this] { caricaUtenti(); });

    Guard::connect(ComboUtenti, &QComboBox::currentIndexChanged, this,
                   [this] { CaricaDittaParametri(GetUtenteSelezionato()); });
    Guard::connect(ButtonOk, &QPushButton::clicked, this, [this] { Ok(); });
    Guard::connect(ButtonCancel, &QPushButton::clicked, this, [this] { reject(); });
}

void TWizCSDSceltaUserForm::prepara(TIBSQL &q, const QStringList &sql) const
{
    q.setDatabase(m_tabForm->IBDatabase1);
    q.setTransaction(m_tabForm->IBTransaction1);
    q.SQL = sql;
}

void TWizCSDSceltaUserForm::caricaUtenti()
{
    // A wizard opened without the user database offers nobody.
    if (!m_tabForm)
        return;
    TIBSQL q;
    prepara(q, {QStringLiteral("SELECT"), QStringLiteral("  CODICE,"),
                QStringLiteral("  NOMEUTENTE"), QStringLiteral("FROM"), QStringLiteral("  UTENTI"),
                QStringLiteral("ORDER BY"), QStringLiteral("  NOMEUTENTE")});
    QStringList nomi;
    QStringList codici;
    for (q.ExecQuery(); !q.Eof(); q.Next()) {
        nomi.append(q.FieldByName(QStringLiteral("NOMEUTENTE")).AsString());
        codici.append(q.FieldByName(QStringLiteral("CODICE")).AsString());
    }
    q.Close();
    m_codici = codici;
    ComboUtenti->addItems(nomi);
    // A combo selects its first item by itself: the administrator chooses.
    ComboUtenti->setCurrentIndex(-1);
}

qint32 TWizCSDSceltaUserForm::GetUtenteSelezionato() const
{
    const int i = ComboUtenti->currentIndex();
    return i < 0 || i >= m_codici.size() ? 0 : m_codici.at(i).toInt();
}

void TWizCSDSceltaUserForm::CaricaDittaParametri(qint32 codice)
{
    EditDittaCorrente->clear();
    MemoParametri->clear();
    m_parametri.clear();
    if (codice == 0 || !m_tabForm)
        return;
    TIBSQL q;
    prepara(q, {QStringLiteral("SELECT"), QStringLiteral("  DITTA"), QStringLiteral("FROM"),
                QStringLiteral("  UTENTI"), QStringLiteral("WHERE"),
                QStringLiteral("  CODICE=:CODICE")});
    q.ParamByName(QStringLiteral("CODICE")).setAsInteger(codice);
    q.ExecQuery();
    const QString ditta = q.Eof() ? QString() : q.FieldByName(QStringLiteral("DITTA")).AsString();
    q.Close();
    EditDittaCorrente->setText(ditta);

    // The company is bound: a name with an apostrophe is a name, not SQL.
    q.SQL = QStringList{QStringLiteral("SELECT"),
                        QStringLiteral("  PARAMETRO,"),
                        QStringLiteral("  VALORE"),
                        QStringLiteral("FROM"),
                        QStringLiteral("  TABPRAVLIN"),
                        QStringLiteral("WHERE"),
                        QStringLiteral("  UTENTE=:UTENTE"),
                        QStringLiteral("  AND"),
                        QStringLiteral("  INTESTAZIONE=:INTESTAZIONE"),
                        QStringLiteral("  AND"),
                        QStringLiteral("  VALORE CONTAINING '.FDB'"),
                        QStringLiteral("  AND"),
                        QStringLiteral("  VALORE CONTAINING '\\'")};
    q.ParamByName(QStringLiteral("UTENTE")).setAsInteger(codice);
    q.ParamByName(QStringLiteral("INTESTAZIONE")).setAsString(ditta);
    QString parametri;
    for (q.ExecQuery(); !q.Eof(); q.Next())
        parametri += q.FieldByName(QStringLiteral("PARAMETRO")).AsString() + QLatin1Char('=') +
                     q.FieldByName(QStringLiteral("VALORE")).AsString() + QStringLiteral("\r\n");
    q.Close();
    m_parametri = parametri;
    MemoParametri->setPlainText(
        QString(parametri).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

void TWizCSDSceltaUserForm::Ok()
{
    QString avviso;
    if (GetUtenteSelezionato() == 0)
        avviso = QStringLiteral("Nessun utente selezionato");
    else if (EditDittaCorrente->text().isEmpty())
        avviso = QStringLiteral("L'utente selezionato non ha una ditta corrente impostata");
    else if (m_parametri.isEmpty())
        avviso = QStringLiteral("L'utente selezionato non ha dei parametri con archivi FB");
    if (!avviso.isEmpty()) {
        Messages::warning(avviso);
        return;
    }
    done(mrOk);
}
