#pragma once

#include <QList>
#include <QString>
#include <QVariant>
#include <QVariantMap>
#include <functional>
#include <memory>
#include <vector>

class TIBDatabase;
class TIBSQL;
class TIBTransaction;

// A column of another table that names a record editor's key. Its rows
// follow a change of the code; with conLaRiga they also go when the row
// they name is deleted.
struct TDipendente
{
    QString tabella;
    QString colonna;
    bool conLaRiga = false;
};

// The statements over the rows that name one editor's key, on its
// connection and transaction. Each is prepared once and kept for the
// editor's life; every value is bound. When the editor shows one parent's
// rows, only the rows of that parent (same column names) are concerned.
// Nothing here commits.
class TDipendentiChiave
{
public:
    TDipendentiChiave(TIBDatabase *db, TIBTransaction *tr, QList<TDipendente> dipendenti,
                      QVariantMap genitore);
    ~TDipendentiChiave();

    bool Vuoto() const { return m_dipendenti.isEmpty(); }
    // The first table that already holds rows under the code; empty when
    // none does.
    QString InUso(const QVariant &codice);
    // The save of a new code: the rows under the old code move to the new
    // one, then `salvataggio` writes the row and commits. Any failure takes
    // the moves and the row back to where the save began, then raises.
    void Salva(const QVariant &vecchio, const QVariant &nuovo,
               const std::function<void()> &salvataggio);
    // The rows that go with the row deleted under this code.
    void Elimina(const QVariant &codice);

private:
    struct Istruzioni;
    TIBSQL *istruzione(std::unique_ptr<TIBSQL> &slot, const QStringList &testo);
    QStringList condizione(const TDipendente &d, const QString &parametro) const;
    void eseguiSu(TIBSQL *s, const QVariantMap &valori);

    TIBDatabase *m_db;
    TIBTransaction *m_tr;
    QList<TDipendente> m_dipendenti;
    QVariantMap m_genitore;
    std::vector<Istruzioni> m_istruzioni;
    std::unique_ptr<TIBSQL> m_segna, m_torna, m_rilascia;
};
