#include "campimodel.h"

#include "campitabella.h"

namespace {

QString siNo(int valore)
{
    return valore == 1 ? QStringLiteral("Si") : QStringLiteral("No");
}

} // namespace

TCampiModel::TCampiModel(TCampiTabella *tabella, QObject *parent)
    : QAbstractTableModel(parent)
    , m_tabella(tabella)
{
    connect(tabella, &TCampiTabella::aboutToRestructure, this, [this] { beginResetModel(); });
    connect(tabella, &TCampiTabella::restructured, this, [this] { endResetModel(); });
    connect(tabella, &TCampiTabella::rowChanged, this,
            [this](int i) { emit dataChanged(index(i, 0), index(i, NumeroColonne - 1)); });
}

QString TCampiModel::Testo(const TCampoRiga &r, int colonna)
{
    switch (colonna) {
    case ColN:
        return QString::number(r.N);
    case ColNome:
        return r.Nome;
    case ColEtichetta:
        return r.Etichetta;
    case ColTipo:
        return r.Tipo == 2 ? QStringLiteral("Combo") : QStringLiteral("Edit");
    case ColValoriCombo:
        if (r.Tipo != 2)
            return QString();
        return r.ValoriCombo.isEmpty() ? QStringLiteral("Nessuno") : QStringLiteral("Assegnati");
    case ColRicerca:
        return siNo(r.Ricerca);
    case ColRicercaScript:
        if (r.Ricerca != 1)
            return QString();
        return r.RicercaScript.isEmpty() ? QStringLiteral("Nessuno") : QStringLiteral("Assegnato");
    case ColDecodifica:
        return siNo(r.Decodifica);
    case ColDecodificaTabella:
        return r.DecodificaTabella;
    case ColDecodificaCampoColl:
        return r.DecodificaCampoColl;
    case ColDecodificaCampoDec:
        return r.DecodificaCampoDec;
    case ColDecodificaCampoEtich:
        return r.DecodificaCampoEtich;
    default:
        return QString();
    }
}

int TCampiModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_tabella->Count();
}

int TCampiModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : NumeroColonne;
}

QVariant TCampiModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_tabella->Count())
        return QVariant();
    const TCampoRiga &r = m_tabella->Riga(index.row());
    if (role == Qt::DisplayRole)
        return Testo(r, index.column());
    if (role == Qt::EditRole && index.column() == ColEtichetta)
        return r.Etichetta;
    return QVariant();
}

QVariant TCampiModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    static const char *const nomi[NumeroColonne] = {"N",
                                                    "Nome",
                                                    "Etichetta",
                                                    "Tipo",
                                                    "ValoriCombo",
                                                    "Ricerca",
                                                    "RicercaScript",
                                                    "Decodifica",
                                                    "DecodificaTabella",
                                                    "DecodificaCampoColl",
                                                    "DecodificaCampoDec",
                                                    "DecodificaCampoEtich"};
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 ||
        section >= NumeroColonne)
        return QAbstractTableModel::headerData(section, orientation, role);
    return QString::fromLatin1(nomi[section]);
}

Qt::ItemFlags TCampiModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.column() == ColEtichetta)
        f |= Qt::ItemIsEditable;
    return f;
}

bool TCampiModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || index.column() != ColEtichetta || index.row() >= m_tabella->Count())
        return false;
    const QString testo = value.toString();
    m_tabella->Modifica(index.row(), [&](TCampoRiga &r) { r.Etichetta = testo; });
    return true;
}
