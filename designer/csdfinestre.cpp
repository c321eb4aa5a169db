#include "csdfinestre.h"
#include "csdmodelparts.h"

using CSDModelParts::leggiOpzionale;
using CSDModelParts::scriviSeNonVuoto;

namespace {

const QString kDirectoryListino = QStringLiteral("Directory listino");
const QString kArchivio = QStringLiteral("Archivio");

} // namespace

// --- TCSDXMLComponent

XmlElement &TCSDXMLComponent::AggiungiNodo(XmlElement &padre) const
{
    XmlElement &nodo = padre.addChild(NomeTag());
    ScriviNodo(nodo);
    return nodo;
}

QString TCSDXMLComponent::GetXML() const
{
    XmlElement radice(NomeTag());
    ScriviNodo(radice);
    return ScriptXml::serialize(radice);
}

void TCSDXMLComponent::CaricaDaDocumento(const XmlDocument &documento)
{
    const XmlElement *radice = documento.root.get();
    if (!radice || radice->name != NomeTag()) {
        const QString trovato = radice ? radice->name : QString();
        throw EScriptXMLError(
            QStringLiteral("Script XML non valido alla riga %1, colonna %2: l'elemento radice è "
                           "\"%3\" invece di \"%4\"")
                .arg(radice ? radice->line : 0)
                .arg(radice ? radice->column : 0)
                .arg(trovato, NomeTag()),
            radice ? radice->line : 0, radice ? radice->column : 0);
    }
    LeggiNodo(*radice);
}

void TCSDXMLComponent::SetXML(const QString &testo)
{
    // The whole text is read and its root checked before any field changes.
    CaricaDaDocumento(ScriptXml::parse(testo));
}

// --- Filters

QString TCSDFiltro::NomeTag() const
{
    return QStringLiteral("Filtro");
}

std::unique_ptr<TCSDFiltro> TCSDFiltro::Crea(const XmlElement &nodo)
{
    const bool campoFiltro = nodo.child(QStringLiteral("CampoFiltro"));
    if (nodo.child(QStringLiteral("QueryRaw")))
        return std::make_unique<TCSDFiltroRaw>();
    if (campoFiltro && nodo.child(QStringLiteral("Query")))
        return std::make_unique<TCSDFiltroIn>();
    if (campoFiltro && nodo.child(QStringLiteral("ValoreContenuto")))
        return std::make_unique<TCSDFiltroContaining>();
    return nullptr;
}

void TCSDFiltroIn::ScriviNodo(XmlElement &nodo) const
{
    nodo.addText(QStringLiteral("CampoFiltro"), CampoFiltro);
    nodo.addText(QStringLiteral("Query"), Query);
}

void TCSDFiltroIn::LeggiNodo(const XmlElement &nodo)
{
    CampoFiltro = nodo.childText(QStringLiteral("CampoFiltro"));
    Query = nodo.childText(QStringLiteral("Query"));
}

void TCSDFiltroRaw::ScriviNodo(XmlElement &nodo) const
{
    nodo.addText(QStringLiteral("QueryRaw"), QueryRaw);
}

void TCSDFiltroRaw::LeggiNodo(const XmlElement &nodo)
{
    QueryRaw = nodo.childText(QStringLiteral("QueryRaw"));
}

void TCSDFiltroContaining::ScriviNodo(XmlElement &nodo) const
{
    nodo.addText(QStringLiteral("CampoFiltro"), CampoFiltro);
    nodo.addText(QStringLiteral("ValoreContenuto"), ValoreContenuto);
}

void TCSDFiltroContaining::LeggiNodo(const XmlElement &nodo)
{
    CampoFiltro = nodo.childText(QStringLiteral("CampoFiltro"));
    ValoreContenuto = nodo.childText(QStringLiteral("ValoreContenuto"));
}

// --- TCSDCampoPosList

TCSDCampoPos *TCSDCampoPosList::NuovoCampo()
{
    m_items.push_back(std::make_unique<TCSDCampoPos>());
    return m_items.back().get();
}

void TCSDCampoPosList::Add(std::unique_ptr<TCSDCampoPos> campo)
{
    m_items.push_back(std::move(campo));
}

std::unique_ptr<TCSDCampoPosList> TCSDCampoPosList::Copia() const
{
    auto copia = std::make_unique<TCSDCampoPosList>();
    for (const auto &c : m_items)
        copia->Add(std::make_unique<TCSDCampoPos>(*c));
    return copia;
}

QString TCSDCampoPosList::NomeTag() const
{
    return QStringLiteral("PosizionaCampo");
}

XmlElement &TCSDCampoPosList::AggiungiNodo(XmlElement &padre) const
{
    XmlElement &nodo = padre.addChild(NomeTag());
    for (const auto &c : m_items) {
        XmlElement &campo = nodo.addChild(QStringLiteral("Campo"));
        campo.addText(QStringLiteral("NomeCampo"), c->NomeCampo.left(TCSDCampoPos::MaxNome));
        campo.addText(QStringLiteral("ValoreCampo"), c->ValoreCampo.left(TCSDCampoPos::MaxValore));
    }
    return nodo;
}

void TCSDCampoPosList::LeggiNodo(const XmlElement &nodo)
{
    Clear();
    for (const auto &figlio : nodo.children()) {
        TCSDCampoPos *c = NuovoCampo();
        c->NomeCampo = figlio->childText(QStringLiteral("NomeCampo")).left(TCSDCampoPos::MaxNome);
        c->ValoreCampo =
            figlio->childText(QStringLiteral("ValoreCampo")).left(TCSDCampoPos::MaxValore);
    }
}

// --- TCSDFinestra

TCSDFinestra::TCSDFinestra() = default;
TCSDFinestra::~TCSDFinestra() = default;

QString TCSDFinestra::NomeTag() const
{
    return QStringLiteral("CSDForm");
}

void TCSDFinestra::ScriviNodo(XmlElement &nodo) const
{
    if (!ParametroArchivio.isEmpty())
        nodo.addText(QStringLiteral("ParametroArchivio"), ParametroArchivio);
    else
        scriviSeNonVuoto(nodo, QStringLiteral("PercorsoArchivio"), PercorsoArchivio);
    nodo.addText(QStringLiteral("NomeTabella"), NomeTabella);
    nodo.addText(QStringLiteral("CodiceProgetto"), QString::number(CodiceProgetto));
    nodo.addText(QStringLiteral("SituazioneCSDGrid"), QString::number(SituazioneCSDGrid));
    nodo.addText(QStringLiteral("CodiceProgettoForm"), QString::number(CodiceProgettoForm));
    nodo.addText(QStringLiteral("SituazioneForm"), QString::number(SituazioneForm));
    scriviSeNonVuoto(nodo, QStringLiteral("CampoFile"), CampoFile);
    scriviSeNonVuoto(nodo, QStringLiteral("CampoFoto"), CampoFoto);
    if (PosizionaCampo)
        PosizionaCampo->AggiungiNodo(nodo);
}

void TCSDFinestra::LeggiNodo(const XmlElement &nodo)
{
    if (nodo.childText(QStringLiteral("IBDatabase")) == QLatin1String("2")) {
        ParametroArchivio = kDirectoryListino;
        PercorsoArchivio.clear();
    } else {
        ParametroArchivio = nodo.childText(QStringLiteral("ParametroArchivio"));
        PercorsoArchivio = nodo.childText(QStringLiteral("PercorsoArchivio"));
        if (ParametroArchivio.isEmpty() && PercorsoArchivio.isEmpty())
            ParametroArchivio = kArchivio;
    }
    NomeTabella = nodo.childText(QStringLiteral("NomeTabella"));
    CodiceProgetto = ScriptXml::readInteger(nodo.childText(QStringLiteral("CodiceProgetto")));
    SituazioneCSDGrid = ScriptXml::readInteger(nodo.childText(QStringLiteral("SituazioneCSDGrid")));
    CodiceProgettoForm =
        ScriptXml::readInteger(nodo.childText(QStringLiteral("CodiceProgettoForm")));
    SituazioneForm = ScriptXml::readInteger(nodo.childText(QStringLiteral("SituazioneForm")));
    CampoFile = nodo.childText(QStringLiteral("CampoFile"));
    CampoFoto = nodo.childText(QStringLiteral("CampoFoto"));

    PosizionaCampo.reset();
    const XmlElement *posiziona = nodo.child(QStringLiteral("PosizionaCampo"));
    if (posiziona && !posiziona->children().empty()) {
        PosizionaCampo = std::make_unique<TCSDCampoPosList>();
        PosizionaCampo->LeggiNodo(*posiziona);
    }
}

// --- TCSDRicerca

void TCSDRicerca::ScriviNodo(XmlElement &nodo) const
{
    TCSDFinestra::ScriviNodo(nodo);
    scriviSeNonVuoto(nodo, QStringLiteral("FocusIniziale"), FocusIniziale);
    if (CampiRic.Count() > 0)
        CampiRic.AggiungiNodo(nodo);
    if (Filtro)
        Filtro->AggiungiNodo(nodo);
    if (!CampiRitorno.isEmpty()) {
        XmlElement &ritorno = nodo.addChild(QStringLiteral("CampiRitorno"));
        for (const QString &nome : CampiRitorno)
            ritorno.addText(QStringLiteral("CampoRitorno"), nome);
    }
}

void TCSDRicerca::LeggiNodo(const XmlElement &nodo)
{
    TCSDFinestra::LeggiNodo(nodo);
    FocusIniziale = nodo.childText(QStringLiteral("FocusIniziale"));

    CampiRic.Clear();
    if (const XmlElement *campi = nodo.child(CampiRic.NomeTag()))
        CampiRic.LeggiNodo(*campi);

    Filtro.reset();
    if (const XmlElement *filtro = nodo.child(QStringLiteral("Filtro"))) {
        Filtro = TCSDFiltro::Crea(*filtro);
        if (Filtro)
            Filtro->LeggiNodo(*filtro);
    }

    CampiRitorno.clear();
    if (const XmlElement *ritorno = nodo.child(QStringLiteral("CampiRitorno"))) {
        for (const auto &figlio : ritorno->children())
            CampiRitorno.append(figlio->text);
    }
}

QString TCSDRicercaSecLiv::NomeTag() const
{
    return QStringLiteral("RicercaSecLiv");
}

QString TCSDRicerche::NomeTag() const
{
    return QStringLiteral("Ricerche");
}

// --- TCSDForm

void TCSDForm::ScriviNodo(XmlElement &nodo) const
{
    TCSDFinestra::ScriviNodo(nodo);
    scriviSeNonVuoto(nodo, QStringLiteral("CreaTabella"), CreaTabella);
    if (!GeneratoreNome.isEmpty() && !GeneratoreCampo.isEmpty()) {
        nodo.addText(QStringLiteral("GeneratoreNome"), GeneratoreNome);
        nodo.addText(QStringLiteral("GeneratoreCampo"), GeneratoreCampo);
    }
    if (Ricerche)
        Ricerche->AggiungiNodo(nodo);
    if (Stampa)
        Stampa->AggiungiNodo(nodo);
    if (CampiVis.Count() > 0)
        CampiVis.AggiungiNodo(nodo);
    if (NascondiNuovoEditaDuplicaElimina)
        nodo.addText(QStringLiteral("NascondiNuovoEditaDuplicaElimina"), QStringLiteral("1"));
}

void TCSDForm::LeggiNodo(const XmlElement &nodo)
{
    TCSDFinestra::LeggiNodo(nodo);
    CreaTabella = nodo.childText(QStringLiteral("CreaTabella"));
    GeneratoreNome = nodo.childText(QStringLiteral("GeneratoreNome"));
    GeneratoreCampo = nodo.childText(QStringLiteral("GeneratoreCampo"));
    leggiOpzionale(Ricerche, nodo);
    leggiOpzionale(Stampa, nodo);
    CampiVis.Clear();
    if (const XmlElement *campi = nodo.child(CampiVis.NomeTag()))
        CampiVis.LeggiNodo(*campi);
    NascondiNuovoEditaDuplicaElimina =
        nodo.childText(QStringLiteral("NascondiNuovoEditaDuplicaElimina")) == QLatin1String("1");
}
