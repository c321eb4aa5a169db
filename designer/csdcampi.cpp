#include "csdfinestre.h"
#include "csdmodelparts.h"

using CSDModelParts::leggiOpzionale;
using CSDModelParts::scriviSeNonVuoto;

// --- TCSDDecodifica

QString TCSDDecodifica::NomeTag() const
{
    return QStringLiteral("Decodifica");
}

void TCSDDecodifica::ScriviNodo(XmlElement &nodo) const
{
    scriviSeNonVuoto(nodo, QStringLiteral("Etichetta"), Etichetta);
    nodo.addText(QStringLiteral("TabellaCol"), TabellaCol);
    nodo.addText(QStringLiteral("CampoCol"), CampoCol);
    nodo.addText(QStringLiteral("CampoDec"), CampoDec);
}

void TCSDDecodifica::LeggiNodo(const XmlElement &nodo)
{
    Etichetta = nodo.childText(QStringLiteral("Etichetta"));
    TabellaCol = nodo.childText(QStringLiteral("TabellaCol"));
    CampoCol = nodo.childText(QStringLiteral("CampoCol"));
    CampoDec = nodo.childText(QStringLiteral("CampoDec"));
}

// --- TCSDStampaOld

namespace {
const QString kOrizzontale = QStringLiteral("ORIZZONTALE");
} // namespace

QString TCSDStampaOld::NomeTag() const
{
    return QStringLiteral("Stampa");
}

void TCSDStampaOld::ScriviNodo(XmlElement &nodo) const
{
    scriviSeNonVuoto(nodo, QStringLiteral("NomeReport"), NomeReport);
    if (Orizzontale)
        nodo.addText(QStringLiteral("OrientamentoStampa"), kOrizzontale);
    scriviSeNonVuoto(nodo, QStringLiteral("SQLStampa"), SQLStampa);
    scriviSeNonVuoto(nodo, QStringLiteral("TitoloStampa"), TitoloStampa);
}

void TCSDStampaOld::LeggiNodo(const XmlElement &nodo)
{
    NomeReport = nodo.childText(QStringLiteral("NomeReport"));
    Orizzontale = nodo.childText(QStringLiteral("OrientamentoStampa")) == kOrizzontale;
    SQLStampa = nodo.childText(QStringLiteral("SQLStampa"));
    TitoloStampa = nodo.childText(QStringLiteral("TitoloStampa"));
}

// --- Fields

TCSDCampo::TCSDCampo() = default;
TCSDCampo::~TCSDCampo() = default;

void TCSDCampo::ScriviNodo(XmlElement &nodo) const
{
    nodo.addText(QStringLiteral("Nome"), Nome);
    scriviSeNonVuoto(nodo, QStringLiteral("Etichetta"), Etichetta);
    if (Decodifica)
        Decodifica->AggiungiNodo(nodo);
    if (RicercaSecLiv)
        RicercaSecLiv->AggiungiNodo(nodo);
}

void TCSDCampo::LeggiNodo(const XmlElement &nodo)
{
    Nome = nodo.childText(QStringLiteral("Nome"));
    Etichetta = nodo.childText(QStringLiteral("Etichetta"));
    leggiOpzionale(Decodifica, nodo);
    leggiOpzionale(RicercaSecLiv, nodo);
}

QString TCSDCampoRic::NomeTag() const
{
    return QStringLiteral("CampoRic");
}

QString TCSDCampoVis::NomeTag() const
{
    return QStringLiteral("CampoVis");
}

void TCSDCampoVisCombo::ScriviNodo(XmlElement &nodo) const
{
    TCSDCampoVis::ScriviNodo(nodo);
    nodo.addText(QStringLiteral("Tipo"), QStringLiteral("Combo"));
    if (!Valori.isEmpty()) {
        XmlElement &valori = nodo.addChild(QStringLiteral("Valori"));
        for (const QString &v : Valori)
            valori.addText(QStringLiteral("Valore"), v);
    }
}

void TCSDCampoVisCombo::LeggiNodo(const XmlElement &nodo)
{
    TCSDCampoVis::LeggiNodo(nodo);
    Valori.clear();
    if (const XmlElement *valori = nodo.child(QStringLiteral("Valori"))) {
        for (const auto &v : valori->children())
            Valori.append(v->text);
    }
}

// --- Lists

void TCSDCampiList::Add(std::unique_ptr<TCSDCampo> campo)
{
    m_items.push_back(std::move(campo));
}

XmlElement &TCSDCampiList::AggiungiNodo(XmlElement &padre) const
{
    XmlElement &nodo = padre.addChild(NomeTag());
    for (const auto &c : m_items)
        c->AggiungiNodo(nodo);
    return nodo;
}

QString TCSDCampiVis::NomeTag() const
{
    return QStringLiteral("CampiVis");
}

void TCSDCampiVis::LeggiNodo(const XmlElement &nodo)
{
    // The item's own element name plays no part; "Tipo" tells a combo.
    Clear();
    for (const auto &figlio : nodo.children()) {
        std::unique_ptr<TCSDCampo> campo;
        if (figlio->childText(QStringLiteral("Tipo")) == QLatin1String("Combo"))
            campo = std::make_unique<TCSDCampoVisCombo>();
        else
            campo = std::make_unique<TCSDCampoVis>();
        campo->LeggiNodo(*figlio);
        Add(std::move(campo));
    }
}

QString TCSDCampiRic::NomeTag() const
{
    return QStringLiteral("CampiRic");
}

void TCSDCampiRic::LeggiNodo(const XmlElement &nodo)
{
    Clear();
    for (const auto &figlio : nodo.children()) {
        auto campo = std::make_unique<TCSDCampoRic>();
        campo->LeggiNodo(*figlio);
        Add(std::move(campo));
    }
}
