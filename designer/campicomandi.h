#pragma once

#include <QString>
#include <functional>

class TCampiTabella;

// The row buttons of every wizard that keeps a field table: where a new
// field goes, and the questions before rows go.
namespace CampiComandi {

// Asks a new name, empty when the administrator gave up.
using ChiediNome = std::function<QString()>;
// Stores the new field at position n (the later rows already moved down).
using AggiungiCampo = std::function<void(int n, const QString &nome)>;

// A new field after the last row.
void Nuovo(TCampiTabella *tabella, const ChiediNome &chiedi, const AggiungiCampo &aggiungi);
// A new field in the place of the current row; without rows, as Nuovo. The
// place is taken before asking: a refused duplicate moves the current row.
void Inserisci(TCampiTabella *tabella, const ChiediNome &chiedi, const AggiungiCampo &aggiungi);
// True when the current row may go: there is one and the administrator
// agrees.
bool ConfermaElimina(const TCampiTabella *tabella);
// True when every row may go: there are some and the administrator agrees.
bool ConfermaAzzera(const TCampiTabella *tabella);

} // namespace CampiComandi
