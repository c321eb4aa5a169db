#pragma once

#include <QString>
#include <QStringList>

class TDBGrid;

// Marks on a grid: a list of key texts, toggled by a double click or F3 and
// painted on the marks colour. Being texts, they follow their rows across
// reopenings and outlive them.
namespace Segni {

// The current row's key text goes into the list when absent and out of it
// when present; false, the list unchanged, on an empty dataset or a row
// without a key. The grid is repainted.
bool Commuta(TDBGrid *grid, const QString &campoChiave, QStringList &segni);

// Rows whose key is in the list on clBackground, the others on the window
// colour, all in black. The list is read at every paint.
void Colora(TDBGrid *grid, const QString &campoChiave, const QStringList &segni);

} // namespace Segni
