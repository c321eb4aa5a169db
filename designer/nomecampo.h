#pragma once

#include <QString>
#include <QStringList>

class QWidget;
class TCampiTabella;

// How a new field of a field table is named, for every table the designer
// keeps: picked from the names given, or typed.
namespace NomeCampo {

// The longest name a field may have.
constexpr int Lunghezza = 31;

// An optional sign followed by decimal digits, nothing else: a name the
// suite would take for a number.
bool LeggeComeIntero(const QString &testo);
// Why a typed name is refused (the warning), empty when it is a name. The
// duplicate check is the table's.
QString Rifiuto(const QString &testo);

// A new name for the table, empty when the administrator gave up. With
// names to choose from, the value pick shows them; otherwise the name is
// typed, checked and upper-cased. A name some row already has is refused
// with a warning, that row becomes current, and the question comes again.
QString Chiedi(TCampiTabella *tabella, const QStringList &scelte, QWidget *owner);

} // namespace NomeCampo
