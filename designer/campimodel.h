#pragma once

#include <QAbstractTableModel>

class TCampiTabella;
struct TCampoRiga;

// The field grid's texts over the wizard's field table. Only the label is
// edited in the grid; the rest through the field detail panel.
class TCampiModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Colonna {
        ColN,
        ColNome,
        ColEtichetta,
        ColTipo,
        ColValoriCombo,
        ColRicerca,
        ColRicercaScript,
        ColDecodifica,
        ColDecodificaTabella,
        ColDecodificaCampoColl,
        ColDecodificaCampoDec,
        ColDecodificaCampoEtich,
        NumeroColonne
    };

    explicit TCampiModel(TCampiTabella *tabella, QObject *parent = nullptr);

    // What the grid shows of a row in a column.
    static QString Testo(const TCampoRiga &riga, int colonna);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;

private:
    TCampiTabella *m_tabella;
};
