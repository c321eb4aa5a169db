#include "nomecampo.h"

#include "campitabella.h"
#include "inputbox.h"
#include "messages.h"
#include "wizcomboform.h"

namespace {

const QString kGiaUsato = QStringLiteral("Il nome inserito è già stato usato");

// True when the name is already a row's; that row becomes current.
bool giaUsato(TCampiTabella *tabella, const QString &nome)
{
    const int riga = tabella->Trova(nome);
    if (riga < 0)
        return false;
    tabella->SetCorrente(riga);
    Messages::warning(kGiaUsato);
    return true;
}

} // namespace

namespace NomeCampo {

bool LeggeComeIntero(const QString &testo)
{
    int i = (testo.startsWith(QLatin1Char('+')) || testo.startsWith(QLatin1Char('-'))) ? 1 : 0;
    if (i >= testo.size())
        return false;
    for (; i < testo.size(); ++i) {
        if (testo.at(i) < QLatin1Char('0') || testo.at(i) > QLatin1Char('9'))
            return false;
    }
    return true;
}

QString Rifiuto(const QString &testo)
{
    if (testo.isEmpty())
        return QStringLiteral("Inserire un nome");
    for (const QChar c : testo) {
        if (c.isSpace())
            return QStringLiteral("Il nome campo non può contenere caratteri blank");
    }
    if (LeggeComeIntero(testo))
        return QStringLiteral("Il nome campo deve essere alfanumerico");
    // Upper case may lengthen a text ("ß"): the stored name counts.
    if (testo.toUpper().size() > Lunghezza)
        return QStringLiteral("Il nome non può superare i 31 caratteri");
    return QString();
}

QString Chiedi(TCampiTabella *tabella, const QStringList &scelte, QWidget *owner)
{
    if (!scelte.isEmpty()) {
        for (;;) {
            TWizComboForm pick(owner, scelte, QStringLiteral("Scegliere un campo"));
            if (Modal::exec(&pick) != mrOk)
                return QString();
            const QString nome = pick.GetValore();
            if (!giaUsato(tabella, nome))
                return nome;
        }
    }
    QString testo;
    for (;;) {
        const auto risposta = InputBox::ask(QStringLiteral("Nuovo campo"),
                                            QStringLiteral("Nome campo:"), testo, owner);
        if (!risposta)
            return QString();
        testo = *risposta;
        const QString rifiuto = Rifiuto(testo);
        if (!rifiuto.isEmpty()) {
            Messages::warning(rifiuto);
            continue;
        }
        const QString nome = testo.toUpper();
        if (!giaUsato(tabella, nome))
            return nome;
    }
}

} // namespace NomeCampo
