#include "tabxform.h"

#include "field.h"
#include "ibsql.h"

#include <array>
#include <exception>

// The named values in MemTabX, and the current user's "TBX" rows of TABX
// loaded into them.

namespace {

const QString kNome = QStringLiteral("Nome");

// The fields Inserisci sets, in its arguments' order; the first two and the
// last are the key.
const std::array<QString, 9> &campiInserisci()
{
    static const std::array<QString, 9> campi = {
        QStringLiteral("Tipo"),     QStringLiteral("Nome"),     QStringLiteral("Numero"),
        QStringLiteral("Testo"),    QStringLiteral("Data"),     QStringLiteral("Memo"),
        QStringLiteral("Livello1"), QStringLiteral("Livello2"), QStringLiteral("Utente")};
    return campi;
}

// Edit or insert, set, post; a failure on the way leaves no half-set row
// behind for the next locate to post.
template <typename F> void modificaRiga(TDataSet *tabella, bool nuova, F &&imposta)
{
    if (nuova)
        tabella->Insert();
    else
        tabella->Edit();
    try {
        imposta();
        tabella->Post();
    } catch (...) {
        tabella->Cancel();
        throw;
    }
}

bool impostaPerNome(TRxMemoryData *tabella, const QString &nome, const QString &campo,
                    const QString &valore)
{
    if (!tabella->Locate(kNome, nome))
        return false;
    modificaRiga(tabella, false, [&] { tabella->FieldByName(campo)->setAsString(valore); });
    return true;
}

} // namespace

QString TTabXForm::GetM(const QString &Nome)
{
    if (!MemTabX->Locate(kNome, Nome))
        return QString();
    return MemTabX->FieldByName(QStringLiteral("Memo"))->AsString();
}

bool TTabXForm::SetV(const QString &Nome, const QString &Valore)
{
    return impostaPerNome(MemTabX, Nome, QStringLiteral("Testo"), Valore);
}

bool TTabXForm::SetM(const QString &Nome, const QString &Valore)
{
    return impostaPerNome(MemTabX, Nome, QStringLiteral("Memo"), Valore);
}

void TTabXForm::Inserisci(const QString &Tipo, const QString &Nome, const QString &Numero,
                          const QString &Testo, const QString &Data, const QString &Memo,
                          const QString &Livello1, const QString &Livello2, const QString &Utente)
{
    if (!MemTabX->Active())
        MemTabX->Open();
    const std::array<QString, 9> testi = {Tipo, Nome,     Numero,   Testo, Data,
                                          Memo, Livello1, Livello2, Utente};
    const auto &campi = campiInserisci();
    std::array<TField *, 9> campo{};
    std::array<QVariant, 9> valore;
    for (size_t i = 0; i < campi.size(); ++i) {
        campo[i] = MemTabX->FieldByName(campi[i]);
        valore[i] = FieldTypes::coerce(campo[i]->DataType(), campo[i]->Size(), testi[i]);
    }
    // The key as it will be stored: a name cut to its field finds its row.
    const bool trovata = MemTabX->Locate(QStringLiteral("Tipo;Nome;Utente"),
                                         QVariantList{valore[0], valore[1], valore[8]});
    modificaRiga(MemTabX, !trovata, [&] {
        const size_t primo = trovata ? 2 : 0;
        const size_t ultimo = trovata ? 7 : 8;
        for (size_t i = primo; i <= ultimo; ++i)
            campo[i]->setAsVariant(valore[i]);
    });
}

void TTabXForm::AggiornaParametriTabX()
{
    TIBSQL q;
    q.setDatabase(IBDatabase1);
    q.setTransaction(IBTransaction1);
    q.SQL = QStringList{QStringLiteral("SELECT * FROM TABX WHERE"),
                        QStringLiteral("(UTENTE=:UTENTE)AND"), QStringLiteral("(TIPO='TBX')"),
                        QStringLiteral("ORDER BY CODICE")};
    q.Prepare();
    q.ParamByName(QStringLiteral("UTENTE")).setAsInteger(NumUser);
    static const QStringList colonne = {QStringLiteral("NOME"),     QStringLiteral("NUMERO"),
                                        QStringLiteral("TESTO"),    QStringLiteral("DATA"),
                                        QStringLiteral("MEMO"),     QStringLiteral("LIVELLO1"),
                                        QStringLiteral("LIVELLO2"), QStringLiteral("UTENTE")};
    // Every row is read before MemTabX changes: a failure while loading
    // leaves no cursor open on the no-wait transaction.
    QVector<QVector<QVariant>> righe;
    for (q.ExecQuery(); !q.Eof(); q.Next()) {
        QVector<QVariant> riga;
        for (const QString &c : colonne)
            riga.append(q.FieldByName(c).Value());
        righe.append(riga);
    }
    q.Close();

    static const QStringList valori = {QStringLiteral("Numero"), QStringLiteral("Testo"),
                                       QStringLiteral("Data"), QStringLiteral("Memo")};
    for (const QVector<QVariant> &riga : righe) {
        QStringList testi;
        for (const QVariant &v : riga)
            testi.append(ValueConv::toText(v));
        if (!MemTabX->Locate(QStringLiteral("Tipo;Nome"),
                             QVariantList{QStringLiteral("TBX"), testi[0]})) {
            Inserisci(QStringLiteral("TBX"), testi[0], testi[1], testi[2], testi[3], testi[4],
                      testi[5], testi[6], testi[7]);
            continue;
        }
        // A row without any value clears the four; otherwise only the
        // values it holds are taken.
        const bool vuota = testi.mid(1, 4).join(QString()).isEmpty();
        modificaRiga(MemTabX, false, [&] {
            for (int i = 0; i < valori.size(); ++i) {
                if (vuota || !testi[i + 1].isEmpty())
                    MemTabX->FieldByName(valori[i])->setAsString(testi[i + 1]);
            }
        });
    }
}
