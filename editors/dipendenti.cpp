#include "dipendenti.h"

#include "ibsql.h"

struct TDipendentiChiave::Istruzioni
{
    std::unique_ptr<TIBSQL> inUso, sposta, elimina;
};

namespace {

const QString kSavepoint = QStringLiteral("CAMBIO_CODICE");

} // namespace

TDipendentiChiave::TDipendentiChiave(TIBDatabase *db, TIBTransaction *tr,
                                     QList<TDipendente> dipendenti, QVariantMap genitore)
    : m_db(db)
    , m_tr(tr)
    , m_dipendenti(std::move(dipendenti))
    , m_genitore(std::move(genitore))
    , m_istruzioni(size_t(m_dipendenti.size()))
{
}

TDipendentiChiave::~TDipendentiChiave() = default;

TIBSQL *TDipendentiChiave::istruzione(std::unique_ptr<TIBSQL> &slot, const QStringList &testo)
{
    if (!slot) {
        slot = std::make_unique<TIBSQL>();
        slot->setDatabase(m_db);
        slot->setTransaction(m_tr);
        slot->SQL = testo;
    }
    return slot.get();
}

QStringList TDipendentiChiave::condizione(const TDipendente &d, const QString &parametro) const
{
    QString riga = QStringLiteral("WHERE ") + d.colonna + QStringLiteral("=:") + parametro;
    for (auto it = m_genitore.cbegin(); it != m_genitore.cend(); ++it)
        riga += QStringLiteral(" AND ") + it.key() + QStringLiteral("=:") + it.key();
    return {riga};
}

void TDipendentiChiave::eseguiSu(TIBSQL *s, const QVariantMap &valori)
{
    s->Close();
    for (auto it = m_genitore.cbegin(); it != m_genitore.cend(); ++it)
        s->ParamByName(it.key()).setValue(it.value());
    for (auto it = valori.cbegin(); it != valori.cend(); ++it)
        s->ParamByName(it.key()).setValue(it.value());
    s->ExecQuery();
}

QString TDipendentiChiave::InUso(const QVariant &codice)
{
    for (int i = 0; i < m_dipendenti.size(); ++i) {
        const TDipendente &d = m_dipendenti[i];
        TIBSQL *s = istruzione(m_istruzioni[size_t(i)].inUso,
                               QStringList{QStringLiteral("SELECT FIRST 1 1 FROM ") + d.tabella} +
                                   condizione(d, QStringLiteral("CODICE")));
        eseguiSu(s, {{QStringLiteral("CODICE"), codice}});
        const bool trovato = !s->Eof();
        s->Close();
        if (trovato)
            return d.tabella;
    }
    return QString();
}

void TDipendentiChiave::Salva(const QVariant &vecchio, const QVariant &nuovo,
                              const std::function<void()> &salvataggio)
{
    TIBSQL *segna = istruzione(m_segna, {QStringLiteral("SAVEPOINT ") + kSavepoint});
    segna->ExecQuery();
    try {
        for (int i = 0; i < m_dipendenti.size(); ++i) {
            const TDipendente &d = m_dipendenti[i];
            TIBSQL *s = istruzione(m_istruzioni[size_t(i)].sposta,
                                   QStringList{QStringLiteral("UPDATE ") + d.tabella +
                                               QStringLiteral(" SET ") + d.colonna +
                                               QStringLiteral("=:NUOVO")} +
                                       condizione(d, QStringLiteral("VECCHIO")));
            eseguiSu(s, {{QStringLiteral("VECCHIO"), vecchio}, {QStringLiteral("NUOVO"), nuovo}});
            s->Close();
        }
        salvataggio();
    } catch (...) {
        // Back to before the save; when the transaction is gone already
        // (a failed commit) there is nothing left to undo.
        try {
            if (m_tr && m_tr->InTransaction()) {
                istruzione(m_torna, {QStringLiteral("ROLLBACK TO ") + kSavepoint})->ExecQuery();
                istruzione(m_rilascia, {QStringLiteral("RELEASE ") + kSavepoint})->ExecQuery();
            }
        } catch (const std::exception &) {
        }
        throw;
    }
}

void TDipendentiChiave::Elimina(const QVariant &codice)
{
    for (int i = 0; i < m_dipendenti.size(); ++i) {
        const TDipendente &d = m_dipendenti[i];
        if (!d.conLaRiga)
            continue;
        TIBSQL *s = istruzione(m_istruzioni[size_t(i)].elimina,
                               QStringList{QStringLiteral("DELETE FROM ") + d.tabella} +
                                   condizione(d, QStringLiteral("CODICE")));
        eseguiSu(s, {{QStringLiteral("CODICE"), codice}});
        s->Close();
    }
}
