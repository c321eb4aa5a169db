#pragma once

#include <condition_variable>
#include <deque>
#include <mutex>
#include <vector>

// Items handed from one thread to another in batches, with a bound on the
// batches waiting so that a fast producer never holds more than a few of
// them. The producer closes the queue when it is done; the consumer may
// stop it at any time, and the producer then hears "no" at its next put.
template <typename T> class TCodaLotti
{
public:
    explicit TCodaLotti(std::size_t lotto = 256, std::size_t lottiInAttesa = 8)
        : m_lotto(lotto)
        , m_massimo(lottiInAttesa)
    {
        m_corrente.reserve(m_lotto);
    }

    // Producer side: false once the consumer stopped.
    bool metti(T &&valore)
    {
        m_corrente.push_back(std::move(valore));
        return m_corrente.size() < m_lotto || consegna();
    }
    // The last, partial batch goes too; the consumer then sees the end.
    void chiudi()
    {
        consegna();
        std::lock_guard<std::mutex> lock(m_mutex);
        m_chiusa = true;
        m_cambio.notify_all();
    }

    // Consumer side: the next batch, false at the end (or once stopped).
    bool prendi(std::vector<T> &lotto)
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_cambio.wait(lock, [this] { return !m_pronti.empty() || m_chiusa || m_fermata; });
        if (m_pronti.empty() || m_fermata)
            return false;
        lotto = std::move(m_pronti.front());
        m_pronti.pop_front();
        m_cambio.notify_all();
        return true;
    }
    void ferma()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_fermata = true;
        m_cambio.notify_all();
    }

private:
    bool consegna()
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_cambio.wait(lock, [this] { return m_pronti.size() < m_massimo || m_fermata; });
        if (m_fermata)
            return false;
        if (!m_corrente.empty())
            m_pronti.push_back(std::move(m_corrente));
        m_corrente = std::vector<T>();
        m_corrente.reserve(m_lotto);
        m_cambio.notify_all();
        return true;
    }

    const std::size_t m_lotto;
    const std::size_t m_massimo;
    std::vector<T> m_corrente; // the producer's own, not yet handed over
    std::mutex m_mutex;
    std::condition_variable m_cambio;
    std::deque<std::vector<T>> m_pronti;
    bool m_chiusa = false;
    bool m_fermata = false;
};
