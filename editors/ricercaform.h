#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>
#include <QVariantMap>

class QHBoxLayout;
class QPushButton;
class QVBoxLayout;
class TDBEdit;
class TDBGrid;
class TIBDatabase;
class TIBQuery;
class TIBTransaction;
class TTabForm;

// What a pick list may set otherwise than the lists of the user database.
struct TRicercaOpzioni
{
    // The database and transaction the list reads; null: the user database
    // and the shared transaction of the archive object.
    TIBDatabase *database = nullptr;
    TIBTransaction *transaction = nullptr;
    // The warning of "&Ritorna" without a row.
    QString avvisoVuota = QStringLiteral("La tabella è vuota");
    QString didascaliaChiudi = QStringLiteral("Ch&iudi");
};

// What the pick lists share: a query (by default on the user database in the
// shared transaction), a read-only grid over it, read-only boxes of a few
// columns of the current row under caption buttons that do nothing,
// "&Ritorna" and "Ch&iudi", and room for a row of filters above the grid.
// The caller shows the list through Modal::exec; on 1 it reads the wanted
// columns of the current row of the list's query, then frees the list.
class TRicercaForm : public QDialog
{
    Q_OBJECT
public:
    ~TRicercaForm() override;

    TTabForm *const FTabForm;
    QPushButton *ButtonRitorna;
    QPushButton *ButtonChiudi;

    // 1, unless the list has no rows: then its warning ("La tabella è
    // vuota") and the list stays open.
    void ButtonRitornaClick();
    // 2.
    void ButtonChiudiClick();
    // Esc and the close box answer as "Ch&iudi".
    void reject() override;

protected:
    // The query and the grid get the names the concrete list gives them.
    TRicercaForm(QWidget *owner, TTabForm *tabForm, const QString &caption,
                 const QString &queryName, const QString &gridName,
                 const TRicercaOpzioni &opzioni = {});

    TIBQuery *query() const { return m_query; }
    TDBGrid *grid() const { return m_grid; }

    // A read-only box over a column of the current row, under its caption
    // button ("EditNome" gets "ButtonNome").
    TDBEdit *campo(const QString &editName, const QString &caption, const QString &fieldName);
    // The row above the grid for a list's filters and buttons, made on the
    // first call.
    QHBoxLayout *rigaFiltri();
    // Binds the query to the list's database and transaction and opens it
    // (a list searching again closes it first); every value is a parameter.
    void apri(const QStringList &sql, const QVariantMap &params = {});

private:
    TRicercaOpzioni m_opzioni;
    TIBQuery *m_query;
    TDBGrid *m_grid;
    QVBoxLayout *m_layout;
    QHBoxLayout *m_campi;
    QHBoxLayout *m_filtri = nullptr;
};
