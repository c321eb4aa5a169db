#include "segni.h"

#include "dbgrid.h"

namespace Segni {

bool Commuta(TDBGrid *grid, const QString &campoChiave, QStringList &segni)
{
    TDataSet *dataSet = grid->DataSet();
    if (!dataSet || !dataSet->Active() || dataSet->IsEmpty())
        return false;
    TField *chiave = dataSet->FieldByName(campoChiave);
    if (chiave->IsNull())
        return false;
    const QString testo = chiave->AsString();
    if (!segni.removeOne(testo))
        segni.append(testo);
    grid->viewport()->update();
    return true;
}

void Colora(TDBGrid *grid, const QString &campoChiave, const QStringList &segni)
{
    TDataSetModel *modello = grid->Model();
    modello->setRowColourHook(
        [modello, campoChiave, &segni](int row, QColor &background, QColor &text) {
            const QVariant chiave = modello->value(row, campoChiave);
            const bool segnata = !chiave.isNull() && segni.contains(chiave.toString());
            background = segnata ? clBackground : QColor(Qt::white);
            text = Qt::black;
        });
}

} // namespace Segni
