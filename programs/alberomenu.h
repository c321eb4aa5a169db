#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <optional>
#include <unordered_map>
#include <vector>

class TIBSQL;

// One DETTMENU row as the tree view reads it.
struct TVoceAlbero
{
    int menu = 0;
    std::optional<int> menuPrec;
    std::optional<int> livello;
    QString descrizione;
    bool visibile = false;
};

// A node the view creates, in creation order: `nodo` is the number of nodes
// created before it, `padre` the parent node's (-1 for a top node), `voce`
// the index of its entry among the rows.
struct TNodoAlbero
{
    int nodo;
    int padre;
    int voce;
};

// Which entries of one program the tree shows and in which order, over the
// rows fetched once in MENU order: visible top entries (depth 0, no parent),
// and under a shown entry its visible children one level deeper. A hidden
// entry hides its subtree; an entry of the wrong depth, or whose parent is
// not shown, is not shown. Nodes come depth first, siblings in MENU order,
// built with a stack of our own, so no chain of entries is too deep.
class TAlberoMenu
{
public:
    // The one statement the view reads the rows with (":PROGRAMMA" bound).
    static QStringList Istruzione();
    static std::vector<TVoceAlbero> Leggi(TIBSQL *statement, const QVariant &programma);

    explicit TAlberoMenu(std::vector<TVoceAlbero> voci);

    // Whether the entry `menu` at depth `livello` has visible children.
    bool CercaFigli(int menu, int livello) const;
    // Appends the nodes of the visible children of entry `menu` at depth
    // `livello` under node `nodo`, each with its own subtree.
    void CreaVoci(int menu, int livello, int nodo);
    // The top entries and, after each, its subtree.
    void Costruisci();

    const std::vector<TNodoAlbero> &Nodi() const { return m_nodi; }
    const TVoceAlbero &Voce(int indice) const { return m_voci[size_t(indice)]; }

private:
    bool mostrata(int indice, int livello) const;
    const std::vector<int> *figli(int menu) const;

    std::vector<TVoceAlbero> m_voci;
    std::unordered_map<int, std::vector<int>> m_figli; // by MENUPREC, in MENU order
    std::vector<TNodoAlbero> m_nodi;
};

// What the node dialog edits of one entry, as typed.
struct TValoriVoce
{
    QString descrizione;
    QString dll;
    QString funzione;
    QString versione = QStringLiteral("0");
    QString note;
    QString parametri;
    bool visibile = true;
};

// The statements of the tree view's changes, every value bound, on the
// statement's transaction; nothing here commits.
namespace VoceAlbero {

// An entry's texts as stored: "´" for each apostrophe, line breaks as CR LF,
// empty as NULL.
QVariant Testo(const QString &testo);
// The stored value of a memo as the dialog shows it (CR LF as one break).
QString Mostrato(const QVariant &valore);
// A "Livello Versione" the column holds: an optional sign and digits within
// a SMALLINT; nothing for any other text.
std::optional<int> Versione(const QString &testo);

// MAX(MENU) + 1 of the program, 1 without entries.
int NuovoCodice(TIBSQL *q, const QVariant &programma);
void Inserisci(TIBSQL *q, const QVariant &programma, int menu, int padre, int livello,
               const TValoriVoce &v);
// The entry as stored (SELECT *); false when it is gone.
bool Leggi(TIBSQL *q, const QVariant &programma, int menu, TValoriVoce &v,
           QVariantMap *memorizzati = nullptr);
// `memorizzati` are the stored NOTE and PARAMETRI: a text the dialog shows
// unchanged goes back as those bytes.
void Modifica(TIBSQL *q, const QVariant &programma, int menu, const TValoriVoce &v,
              const TValoriVoce &mostrati, const QVariantMap &memorizzati);
// Whether any entry of the program names `menu` as its parent.
bool HaFigli(TIBSQL *q, const QVariant &programma, int menu);
// The entry with its grants (DETTPROF) and translations (LINGUEMENU, when
// the database has it).
void Elimina(TIBSQL *q, const QVariant &programma, int menu);
// The grants and translations of one entry, or of the whole program when
// `menu` is empty.
void EliminaCollegate(TIBSQL *q, const QVariant &programma, const QVariant &menu);

} // namespace VoceAlbero
