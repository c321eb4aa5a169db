#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>
#include <QVariantMap>

class QHBoxLayout;
class QPushButton;
class TDBEdit;
class TDBGrid;
class TIBQuery;
class TTabForm;

// What the pick lists share: a query on the user database in the shared
// transaction, a read-only grid over it, read-only boxes of a few columns of
// the current row under caption buttons that do nothing, "&Ritorna" and
// "Ch&iudi". The caller shows the list through Modal::exec; on 1 it reads the
// wanted columns of the current row of the list's query, then frees the list.
class TRicercaForm : public QDialog
{
    Q_OBJECT
public:
    ~TRicercaForm() override;

    // The archive object's variable, as the main window holds it.
    TTabForm *&FTabForm;
    QPushButton *ButtonRitorna;
    QPushButton *ButtonChiudi;

    // 1, unless the list has no rows: then "La tabella è vuota" and the list
    // stays open.
    void ButtonRitornaClick();
    // 2.
    void ButtonChiudiClick();

protected:
    // The query and the grid get the names the concrete list gives them.
    TRicercaForm(QWidget *owner, TTabForm *&tabForm, const QString &caption,
                 const QString &queryName, const QString &gridName);

    TIBQuery *query() const { return m_query; }
    TDBGrid *grid() const { return m_grid; }

    // A read-only box over a column of the current row, under its caption
    // button ("EditNome" gets "ButtonNome").
    TDBEdit *campo(const QString &editName, const QString &caption, const QString &fieldName);
    // Binds the query to the user database and the shared transaction and
    // opens it; every value is a parameter.
    void apri(const QStringList &sql, const QVariantMap &params = {});

private:
    TIBQuery *m_query;
    TDBGrid *m_grid;
    QHBoxLayout *m_campi;
};
