#include "campicomandi.h"

#include "campitabella.h"
#include "messages.h"

namespace CampiComandi {

void Nuovo(TCampiTabella *tabella, const ChiediNome &chiedi, const AggiungiCampo &aggiungi)
{
    const QString nome = chiedi();
    if (!nome.isEmpty())
        aggiungi(tabella->Count() + 1, nome);
}

void Inserisci(TCampiTabella *tabella, const ChiediNome &chiedi, const AggiungiCampo &aggiungi)
{
    if (tabella->Count() == 0) {
        Nuovo(tabella, chiedi, aggiungi);
        return;
    }
    const int n = tabella->RigaCorrente()->N;
    const QString nome = chiedi();
    if (nome.isEmpty())
        return;
    tabella->Rinumera(tabella->TrovaN(n), n + 1);
    aggiungi(n, nome);
}

bool ConfermaElimina(const TCampiTabella *tabella)
{
    if (tabella->Count() == 0) {
        Messages::warning(QStringLiteral("Nessun campo selezionato"));
        return false;
    }
    return Messages::confirm(QStringLiteral("Eliminare il campo selezionato?"));
}

bool ConfermaAzzera(const TCampiTabella *tabella)
{
    if (tabella->Count() == 0) {
        Messages::warning(QStringLiteral("Nessun campo presente"));
        return false;
    }
    return Messages::confirm(QStringLiteral("Azzerare tutti i campi?"));
}

} // namespace CampiComandi
