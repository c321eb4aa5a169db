#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

// One visible field of the window the wizard composes.
struct TCampoRiga
{
    int N = 0; // position, 1..n without gaps
    QString Nome;
    QString Etichetta;
    int Tipo = 1; // 1 Edit, 2 Combo
    QStringList ValoriCombo;
    int Ricerca = 0; // 1: the field has a search of its own
    QString RicercaScript;
    int Decodifica = 0; // 1: decoded through another table
    QString DecodificaTabella;
    QString DecodificaCampoColl;
    QString DecodificaCampoDec;
    QString DecodificaCampoEtich;
};

// The wizard's field table: rows always in N order and a current row (-1
// only without rows). Every change is stored at once; there is nothing to
// post.
class TCampiTabella : public QObject
{
    Q_OBJECT
public:
    explicit TCampiTabella(QObject *parent = nullptr);

    int Count() const { return int(m_righe.size()); }
    const TCampoRiga &Riga(int i) const { return m_righe.at(std::size_t(i)).riga; }
    int Corrente() const { return m_corrente; }
    // Clamped to the rows; -1 only without rows.
    void SetCorrente(int i);
    const TCampoRiga *RigaCorrente() const;

    // Stores a change of the row at once; a changed N puts it in its place.
    void Modifica(int i, const std::function<void(TCampoRiga &)> &cambia);
    // The row goes where its N puts it (after rows of the same N) and
    // becomes current.
    void Aggiungi(const TCampoRiga &riga);
    // The row after it (or the new last) becomes current.
    void Elimina(int i);
    void Svuota();
    // Sets N of row i and of every later row to primo, primo + 1, ...
    void Rinumera(int i, int primo);

    // The first row with that name or that N, -1 when none.
    int Trova(const QString &nome) const;
    int TrovaN(int n) const;

signals:
    // Around a change of which rows there are or of their order.
    void aboutToRestructure();
    void restructured();
    void rowChanged(int i);
    void currentChanged(int i);

private:
    struct Slot
    {
        quint64 id;
        TCampoRiga riga;
    };
    void riordina();

    std::vector<Slot> m_righe;
    int m_corrente = -1;
    quint64 m_prossimoId = 1;
};
