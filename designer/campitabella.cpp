#include "campitabella.h"

#include <algorithm>

TCampiTabella::TCampiTabella(QObject *parent)
    : QObject(parent)
{
}

void TCampiTabella::SetCorrente(int i)
{
    const int nuovo = m_righe.empty() ? -1 : std::clamp(i, 0, Count() - 1);
    if (nuovo == m_corrente)
        return;
    m_corrente = nuovo;
    emit currentChanged(m_corrente);
}

const TCampoRiga *TCampiTabella::RigaCorrente() const
{
    return m_corrente < 0 ? nullptr : &m_righe[std::size_t(m_corrente)].riga;
}

void TCampiTabella::riordina()
{
    const quint64 corrente = m_corrente < 0 ? 0 : m_righe[std::size_t(m_corrente)].id;
    std::stable_sort(m_righe.begin(), m_righe.end(),
                     [](const Slot &a, const Slot &b) { return a.riga.N < b.riga.N; });
    for (int i = 0; i < Count(); ++i) {
        if (m_righe[std::size_t(i)].id == corrente)
            m_corrente = i;
    }
}

void TCampiTabella::Modifica(int i, const std::function<void(TCampoRiga &)> &cambia)
{
    TCampoRiga &riga = m_righe.at(std::size_t(i)).riga;
    const int n = riga.N;
    cambia(riga);
    if (riga.N == n) {
        emit rowChanged(i);
        return;
    }
    const int corrente = m_corrente;
    emit aboutToRestructure();
    riordina();
    emit restructured();
    if (m_corrente != corrente)
        emit currentChanged(m_corrente);
}

void TCampiTabella::Aggiungi(const TCampoRiga &riga)
{
    emit aboutToRestructure();
    const auto dopo = std::upper_bound(m_righe.begin(), m_righe.end(), riga.N,
                                       [](int n, const Slot &s) { return n < s.riga.N; });
    const int posto = int(dopo - m_righe.begin());
    m_righe.insert(dopo, Slot{m_prossimoId++, riga});
    m_corrente = posto;
    emit restructured();
    emit currentChanged(m_corrente);
}

void TCampiTabella::Elimina(int i)
{
    emit aboutToRestructure();
    m_righe.erase(m_righe.begin() + i);
    m_corrente = m_righe.empty() ? -1 : std::min(i, Count() - 1);
    emit restructured();
    emit currentChanged(m_corrente);
}

void TCampiTabella::Svuota()
{
    emit aboutToRestructure();
    m_righe.clear();
    m_corrente = -1;
    emit restructured();
    emit currentChanged(m_corrente);
}

void TCampiTabella::Rinumera(int i, int primo)
{
    if (i < 0 || i >= Count())
        return;
    const int corrente = m_corrente;
    emit aboutToRestructure();
    for (int k = i; k < Count(); ++k)
        m_righe[std::size_t(k)].riga.N = primo + (k - i);
    riordina();
    emit restructured();
    if (m_corrente != corrente)
        emit currentChanged(m_corrente);
}

int TCampiTabella::Trova(const QString &nome) const
{
    for (int i = 0; i < Count(); ++i) {
        if (Riga(i).Nome == nome)
            return i;
    }
    return -1;
}

int TCampiTabella::TrovaN(int n) const
{
    for (int i = 0; i < Count(); ++i) {
        if (Riga(i).N == n)
            return i;
    }
    return -1;
}
