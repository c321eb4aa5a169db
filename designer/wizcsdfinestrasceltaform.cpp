#include "wizcsdfinestrasceltaform.h"

#include "databaselocation.h"
#include "editorwidgets.h"
#include "filedialogs.h"
#include "guard.h"
#include "ibdatabase.h"
#include "ibsql.h"
#include "messages.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

using EditorWidgets::named;

TWizCSDFinestraSceltaForm::TWizCSDFinestraSceltaForm(QWidget *owner)
    : QDialog(owner)
{
    setObjectName(QStringLiteral("WizCSDFinestraSceltaForm"));
    setWindowTitle(QStringLiteral("Modalità wizard composizione XML"));
    auto *label = new QLabel(QStringLiteral("Scegliere la modalità wizard composizione XML:"));
    RadioLibera = named(new QRadioButton(QStringLiteral("Libera")), "RadioLibera");
    RadioLibera->setChecked(true);
    RadioTabellaPreimpostata =
        named(new QRadioButton(QStringLiteral("Tabella preimpostata")), "RadioTabellaPreimpostata");

    PanelTabella = named(new QWidget, "PanelTabella");
    ButtonDatabase = named(new QPushButton(QStringLiteral("&Database")), "ButtonDatabase");
    EditDatabase = named(new QLineEdit, "EditDatabase");
    EditDatabase->setReadOnly(true);
    EditDatabase->setMinimumWidth(EditDatabase->fontMetrics().averageCharWidth() * 40);
    ButtonTabella = named(new QPushButton(QStringLiteral("Tabella")), "ButtonTabella");
    ComboTabella = named(new QComboBox, "ComboTabella");
    ComboTabella->setEditable(false);
    ComboTabella->setMinimumContentsLength(24);
    ComboTabella->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    auto *pannello = new QFormLayout(PanelTabella);
    pannello->setContentsMargins(0, 0, 0, 0);
    pannello->addRow(ButtonDatabase, EditDatabase);
    pannello->addRow(ButtonTabella, ComboTabella);
    PanelTabella->setVisible(false);

    ButtonOk = named(new QPushButton(QStringLiteral("Ok")), "ButtonOk");
    ButtonOk->setDefault(true);
    ButtonCancel = named(new QPushButton(QStringLiteral("Cancel")), "ButtonCancel");
    for (QPushButton *b : {ButtonDatabase, ButtonTabella, ButtonCancel})
        b->setAutoDefault(false);

    auto *v = new QVBoxLayout(this);
    v->addWidget(label);
    v->addWidget(RadioLibera);
    v->addWidget(RadioTabellaPreimpostata);
    v->addWidget(PanelTabella);
    v->addStretch(1);
    v->addLayout(EditorWidgets::buttonRow({ButtonOk, ButtonCancel}));

    Guard::connect(RadioTabellaPreimpostata, &QRadioButton::toggled, this,
                   [this](bool on) { PanelTabella->setVisible(on); });
    Guard::connect(ButtonDatabase, &QPushButton::clicked, this, [this] { ScegliDatabase(); });
    Guard::connect(ButtonTabella, &QPushButton::clicked, this,
                   [this] { ComboTabella->setFocus(); });
    Guard::connect(ButtonOk, &QPushButton::clicked, this, [this] { Ok(); });
    Guard::connect(ButtonCancel, &QPushButton::clicked, this, [this] { reject(); });
}

bool TWizCSDFinestraSceltaForm::GetTabellaPreimpostata() const
{
    return RadioTabellaPreimpostata->isChecked();
}

QString TWizCSDFinestraSceltaForm::GetDatabase() const
{
    return EditDatabase->text();
}

QString TWizCSDFinestraSceltaForm::GetTabella() const
{
    return ComboTabella->currentText();
}

void TWizCSDFinestraSceltaForm::ScegliDatabase()
{
    // A reference database is only read: it must exist.
    const QString percorso =
        FileDialogs::open(this, QStringLiteral("Archivi Interbase (*.gdb;*.fdb)|*.gdb;*.fdb"),
                          QString(), FileDialogs::OpenOption::FileMustExist);
    if (percorso.isEmpty())
        return;
    EditDatabase->setText(percorso);
    ComboTabella->clear();
    CaricaTabelle(percorso);
}

void TWizCSDFinestraSceltaForm::CaricaTabelle(const QString &percorso)
{
    const int taglio =
        qMax(percorso.lastIndexOf(QLatin1Char('\\')), percorso.lastIndexOf(QLatin1Char('/')));
    const QString cartella = percorso.left(taglio + 1);
    // Declared in this order, they are freed statement first on every path.
    TIBDatabase database;
    database.SQLDialect = 3;
    // A file that does not open is not replaced by a new empty one.
    if (!ApriDatabase(&database, cartella, percorso.mid(cartella.size()), QString(), QString(),
                      this, nullptr, false))
        return;
    TIBTransaction transazione;
    transazione.setDefaultDatabase(&database);
    transazione.Params = {QStringLiteral("read"), QStringLiteral("read_committed"),
                          QStringLiteral("rec_version")};
    transazione.ensureStarted();
    TIBSQL query;
    query.setDatabase(&database);
    query.setTransaction(&transazione);
    query.SQL = QStringList{
        QStringLiteral("SELECT"),   QStringLiteral("  TRIM(RDB$RELATION_NAME) AS NOME"),
        QStringLiteral("FROM"),     QStringLiteral("  RDB$RELATIONS"),
        QStringLiteral("WHERE"),    QStringLiteral("  RDB$RELATION_NAME NOT CONTAINING '$'"),
        QStringLiteral("ORDER BY"), QStringLiteral("  RDB$RELATION_NAME"),
    };
    QStringList tabelle;
    for (query.ExecQuery(); !query.Eof(); query.Next())
        tabelle.append(query.FieldByName(QStringLiteral("NOME")).AsString());
    query.Close();
    transazione.Commit();
    database.Close();
    ComboTabella->addItems(tabelle);
    // A combo selects its first item by itself: the administrator chooses.
    ComboTabella->setCurrentIndex(-1);
}

void TWizCSDFinestraSceltaForm::Ok()
{
    if (GetTabellaPreimpostata()) {
        QString avviso;
        if (GetDatabase().isEmpty())
            avviso = QStringLiteral("E' necessario specificare un database di riferimento");
        else if (GetTabella().isEmpty())
            avviso = QStringLiteral("E' necessario specificare una tabella di riferimento");
        if (!avviso.isEmpty()) {
            Messages::warning(avviso);
            return;
        }
    }
    done(mrOk);
}
