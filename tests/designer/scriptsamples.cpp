#include "scriptsamples.h"

namespace ScriptSamples {
namespace {

const QString kTricky = QStringLiteral(" a & b < c > d \"e\" 'f' d´g €5 perché\r\nriga\nfine ");

std::unique_ptr<TCSDCampoRic> campoRic(const QString &nome, const QString &etichetta)
{
    auto c = std::make_unique<TCSDCampoRic>();
    c->Nome = nome;
    c->Etichetta = etichetta;
    return c;
}

} // namespace

std::unique_ptr<TCSDForm> fullForm()
{
    auto f = std::make_unique<TCSDForm>();
    f->Titolo = QStringLiteral("Articoli");
    f->ParametroArchivio = QStringLiteral("Archivio");
    f->NomeTabella = QStringLiteral("ART");
    f->CodiceProgetto = 514;
    f->SituazioneCSDGrid = -2;
    f->CodiceProgettoForm = 7;
    f->SituazioneForm = 2147483647;
    f->CampoFile = QStringLiteral("DOC");
    f->CampoFoto = QStringLiteral("FOTO");
    f->PosizionaCampo = std::make_unique<TCSDCampoPosList>();
    TCSDCampoPos *p = f->PosizionaCampo->NuovoCampo();
    p->NomeCampo = QStringLiteral("DITTA");
    p->ValoreCampo = kTricky;
    f->PosizionaCampo->NuovoCampo(); // both empty
    f->CreaTabella = QStringLiteral("CREATE TABLE ART(\r\n  COD INTEGER NOT NULL,\r\n  ") +
                     QStringLiteral("DES VARCHAR(40)\r\n)");
    f->GeneratoreNome = QStringLiteral("ARTCOUNTER");
    f->GeneratoreCampo = QStringLiteral("COD");
    f->NascondiNuovoEditaDuplicaElimina = true;

    f->Stampa = std::make_unique<TCSDStampaOld>();
    f->Stampa->NomeReport = QStringLiteral("art.lst");
    f->Stampa->Orizzontale = true;
    f->Stampa->SQLStampa = QStringLiteral("SELECT * FROM ART WHERE DES <> '' AND COD > 0");
    f->Stampa->TitoloStampa = QStringLiteral("Stampa articoli");

    // The window's search: by path, with an IN filter and a field that has a
    // search of its own (containing filter) inside.
    f->Ricerche = std::make_unique<TCSDRicerche>();
    TCSDRicerche &r = *f->Ricerche;
    r.PercorsoArchivio = QStringLiteral("C:\\Dati\\Ditta 1\\archivio.fdb");
    r.NomeTabella = QStringLiteral("ART");
    r.CodiceProgetto = 1;
    r.SituazioneCSDGrid = 3;
    r.SituazioneForm = 4;
    r.FocusIniziale = QStringLiteral("DES");
    auto filtroIn = std::make_unique<TCSDFiltroIn>();
    filtroIn->CampoFiltro = QStringLiteral("COD");
    filtroIn->Query = QStringLiteral("SELECT COD FROM LIS WHERE X < 3 & Y > 2");
    r.Filtro = std::move(filtroIn);
    r.CampiRic.Add(campoRic(QStringLiteral("COD"), QStringLiteral("Codice")));
    auto conRicerca = campoRic(QStringLiteral("FOR"), kTricky);
    conRicerca->RicercaSecLiv = std::make_unique<TCSDRicercaSecLiv>();
    TCSDRicercaSecLiv &sec = *conRicerca->RicercaSecLiv;
    sec.ParametroArchivio = QStringLiteral("Directory listino");
    sec.NomeTabella = QStringLiteral("FORNITORI");
    auto contiene = std::make_unique<TCSDFiltroContaining>();
    contiene->CampoFiltro = QStringLiteral("RAGSOC");
    contiene->ValoreContenuto = QStringLiteral("s.r.l.");
    sec.Filtro = std::move(contiene);
    sec.CampiRic.Add(campoRic(QStringLiteral("RAGSOC"), QStringLiteral(" ")));
    sec.CampiRitorno = {QStringLiteral("CODICE"), QStringLiteral("RAGSOC")};
    r.CampiRic.Add(std::move(conRicerca));
    r.CampiRitorno = {QStringLiteral("COD")};

    // Visible fields: plain, one-blank label, combo with values (an empty
    // one among them), decoded with a raw-filtered search of its own.
    auto cod = std::make_unique<TCSDCampoVis>();
    cod->Nome = QStringLiteral("COD");
    cod->Etichetta = QStringLiteral("Codice");
    f->CampiVis.Add(std::move(cod));
    auto blank = std::make_unique<TCSDCampoVis>();
    blank->Nome = QStringLiteral("SPAZIO");
    blank->Etichetta = QStringLiteral(" ");
    f->CampiVis.Add(std::move(blank));
    auto combo = std::make_unique<TCSDCampoVisCombo>();
    combo->Nome = QStringLiteral("TIPO");
    combo->Etichetta = kTricky;
    combo->Valori = {QStringLiteral("A&B"), QString(), QStringLiteral(" à "),
                     QStringLiteral("<x>")};
    f->CampiVis.Add(std::move(combo));
    auto dec = std::make_unique<TCSDCampoVis>();
    dec->Nome = QStringLiteral("FOR");
    dec->Decodifica = std::make_unique<TCSDDecodifica>();
    dec->Decodifica->Etichetta = QStringLiteral("Fornitore´s");
    dec->Decodifica->TabellaCol = QStringLiteral("FORNITORI");
    dec->Decodifica->CampoCol = QStringLiteral("CODICE");
    dec->Decodifica->CampoDec = QStringLiteral("RAGSOC");
    dec->RicercaSecLiv = std::make_unique<TCSDRicercaSecLiv>();
    dec->RicercaSecLiv->ParametroArchivio = QStringLiteral("Listino \"2\"");
    dec->RicercaSecLiv->NomeTabella = QStringLiteral("FORNITORI");
    auto raw = std::make_unique<TCSDFiltroRaw>();
    raw->QueryRaw = QStringLiteral("ATTIVO = 'S' AND TIPO <> 'X'");
    dec->RicercaSecLiv->Filtro = std::move(raw);
    dec->RicercaSecLiv->CampiRitorno = {QStringLiteral("CODICE")};
    f->CampiVis.Add(std::move(dec));
    return f;
}

QString normalisedLineEnds(const QString &text)
{
    QString t = text;
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return t;
}

} // namespace ScriptSamples
