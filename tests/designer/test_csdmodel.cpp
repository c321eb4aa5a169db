#include "csdfinestre.h"
#include "scriptsamples.h"
#include "win1252.h"

#include <climits>
#include <gtest/gtest.h>

using ScriptSamples::normalisedLineEnds;

namespace {

QString w(const QString &tag, const QString &text)
{
    return "<" + tag + ">" + text + "</" + tag + ">";
}

QString zeros()
{
    return w("CodiceProgetto", "0") + w("SituazioneCSDGrid", "0") + w("CodiceProgettoForm", "0") +
           w("SituazioneForm", "0");
}

template <typename T> std::unique_ptr<T> readScript(const QString &text)
{
    auto o = std::make_unique<T>();
    o->SetXML(text);
    return o;
}

} // namespace

TEST(ScriptFormat, WriterOrderAndConditions)
{
    TCSDForm f;
    f.NomeTabella = "ART";
    EXPECT_EQ(f.GetXML(), "<CSDForm>" + w("NomeTabella", "ART") + zeros() + "</CSDForm>");
    EXPECT_EQ(readScript<TCSDForm>(f.GetXML())->ParametroArchivio, "Archivio");

    // An empty value that is always written is an empty element.
    TCSDForm empty;
    EXPECT_EQ(empty.GetXML(), "<CSDForm><NomeTabella/>" + zeros() + "</CSDForm>");

    f.ParametroArchivio = "Archivio";
    f.PercorsoArchivio = "C:\\a.fdb";
    f.CampoFile = "F";
    f.CampoFoto = "P";
    f.PosizionaCampo = std::make_unique<TCSDCampoPosList>();
    f.CreaTabella = "CREATE";
    f.GeneratoreNome = "G";
    f.GeneratoreCampo = "C";
    f.Ricerche = std::make_unique<TCSDRicerche>();
    f.Stampa = std::make_unique<TCSDStampaOld>();
    auto combo = std::make_unique<TCSDCampoVisCombo>();
    combo->Nome = "X";
    f.CampiVis.Add(std::move(combo));
    f.NascondiNuovoEditaDuplicaElimina = true;
    EXPECT_EQ(f.GetXML(), "<CSDForm>" + w("ParametroArchivio", "Archivio") +
                              w("NomeTabella", "ART") + zeros() + w("CampoFile", "F") +
                              w("CampoFoto", "P") + "<PosizionaCampo/>" +
                              w("CreaTabella", "CREATE") + w("GeneratoreNome", "G") +
                              w("GeneratoreCampo", "C") + "<Ricerche><NomeTabella/>" + zeros() +
                              "</Ricerche><Stampa/><CampiVis><CampoVis>" + w("Nome", "X") +
                              w("Tipo", "Combo") + "</CampoVis></CampiVis>" +
                              w("NascondiNuovoEditaDuplicaElimina", "1") + "</CSDForm>");

    // Only one generator is no generator; the path is written only without a
    // parameter.
    f.GeneratoreCampo.clear();
    f.ParametroArchivio.clear();
    const QString text = f.GetXML();
    EXPECT_FALSE(text.contains("Generatore"));
    EXPECT_TRUE(text.startsWith("<CSDForm>" + w("PercorsoArchivio", "C:\\a.fdb")));
}

TEST(ScriptFormat, SearchFieldDecodingPrintAndFilterElements)
{
    TCSDRicercaSecLiv r;
    r.ParametroArchivio = "Archivio";
    r.NomeTabella = "T";
    r.FocusIniziale = "A";
    auto c = std::make_unique<TCSDCampoRic>();
    c->Nome = "A";
    c->Decodifica = std::make_unique<TCSDDecodifica>();
    c->Decodifica->TabellaCol = "T2";
    r.CampiRic.Add(std::move(c));
    auto filtro = std::make_unique<TCSDFiltroContaining>();
    filtro->CampoFiltro = "B";
    r.Filtro = std::move(filtro);
    r.CampiRitorno = {"A", "B"};
    EXPECT_EQ(r.GetXML(), "<RicercaSecLiv>" + w("ParametroArchivio", "Archivio") +
                              w("NomeTabella", "T") + zeros() + w("FocusIniziale", "A") +
                              "<CampiRic><CampoRic>" + w("Nome", "A") + "<Decodifica>" +
                              w("TabellaCol", "T2") + "<CampoCol/><CampoDec/></Decodifica>" +
                              "</CampoRic></CampiRic><Filtro>" + w("CampoFiltro", "B") +
                              "<ValoreContenuto/></Filtro><CampiRitorno>" + w("CampoRitorno", "A") +
                              w("CampoRitorno", "B") + "</CampiRitorno></RicercaSecLiv>");

    TCSDStampaOld s;
    EXPECT_EQ(s.GetXML(), "<Stampa/>");
    s.Orizzontale = true;
    s.TitoloStampa = "T";
    EXPECT_EQ(s.GetXML(), "<Stampa>" + w("OrientamentoStampa", "ORIZZONTALE") +
                              w("TitoloStampa", "T") + "</Stampa>");
    EXPECT_FALSE(
        readScript<TCSDStampaOld>("<Stampa>" + w("OrientamentoStampa", "orizzontale") + "</Stampa>")
            ->Orizzontale);

    TCSDFiltroIn in;
    EXPECT_EQ(in.GetXML(), "<Filtro><CampoFiltro/><Query/></Filtro>");
    TCSDFiltroRaw raw;
    EXPECT_EQ(raw.GetXML(), "<Filtro><QueryRaw/></Filtro>");
}

TEST(ScriptRoundTrip, EveryClassAndFieldComesBackCharacterForCharacter)
{
    const auto original = ScriptSamples::fullForm();
    const QString s = original->GetXML();
    EXPECT_FALSE(s.contains("#"));
    EXPECT_FALSE(s.contains("&#"));
    EXPECT_FALSE(s.contains("\n<"));                  // one line: no line breaks between elements
    EXPECT_TRUE(s.contains("perché\r\nriga\nfine ")); // a CR stays a raw CR
    EXPECT_TRUE(s.contains(" a &amp; b &lt; c &gt; d \"e\" 'f' d´g €5"));

    TCSDForm read;
    read.Titolo = "kept";
    read.SetXML(s);
    const QString again = read.GetXML();
    EXPECT_EQ(again, normalisedLineEnds(s));
    EXPECT_EQ(Win1252::encode(again), Win1252::encode(normalisedLineEnds(s)));
    EXPECT_EQ(read.Titolo, "kept");

    // The fields themselves, where a lost or mixed-up value would not show in
    // a text comparison of a writer and reader that agree by mistake.
    EXPECT_EQ(read.ParametroArchivio, "Archivio");
    EXPECT_EQ(read.CodiceProgetto, 514);
    EXPECT_EQ(read.SituazioneCSDGrid, -2);
    EXPECT_EQ(read.CodiceProgettoForm, 7);
    EXPECT_EQ(read.SituazioneForm, 2147483647);
    ASSERT_TRUE(read.PosizionaCampo);
    ASSERT_EQ(read.PosizionaCampo->Count(), 2);
    EXPECT_EQ(read.PosizionaCampo->Items(0)->ValoreCampo,
              normalisedLineEnds(original->PosizionaCampo->Items(0)->ValoreCampo));
    EXPECT_EQ(read.GeneratoreNome, "ARTCOUNTER");
    EXPECT_TRUE(read.NascondiNuovoEditaDuplicaElimina);
    ASSERT_TRUE(read.Stampa);
    EXPECT_TRUE(read.Stampa->Orizzontale);
    ASSERT_TRUE(read.Ricerche);
    EXPECT_EQ(read.Ricerche->ParametroArchivio, "");
    EXPECT_EQ(read.Ricerche->PercorsoArchivio, "C:\\Dati\\Ditta 1\\archivio.fdb");
    ASSERT_NE(dynamic_cast<TCSDFiltroIn *>(read.Ricerche->Filtro.get()), nullptr);
    ASSERT_EQ(read.Ricerche->CampiRic.Count(), 2);
    const TCSDCampo *conRicerca = read.Ricerche->CampiRic.Items(1);
    ASSERT_TRUE(conRicerca->RicercaSecLiv);
    EXPECT_EQ(conRicerca->RicercaSecLiv->ParametroArchivio, "Directory listino");
    EXPECT_NE(dynamic_cast<TCSDFiltroContaining *>(conRicerca->RicercaSecLiv->Filtro.get()),
              nullptr);
    EXPECT_EQ(conRicerca->RicercaSecLiv->CampiRic.Items(0)->Etichetta, " ");
    EXPECT_EQ(conRicerca->RicercaSecLiv->CampiRitorno, QStringList({"CODICE", "RAGSOC"}));

    ASSERT_EQ(read.CampiVis.Count(), 4);
    EXPECT_EQ(read.CampiVis.Items(1)->Etichetta, " ");
    const auto *combo = dynamic_cast<TCSDCampoVisCombo *>(read.CampiVis.Items(2));
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->Valori, QStringList({"A&B", "", " à ", "<x>"}));
    EXPECT_EQ(combo->Etichetta, " a & b < c > d \"e\" 'f' d´g €5 perché\nriga\nfine ");
    const TCSDCampo *dec = read.CampiVis.Items(3);
    ASSERT_TRUE(dec->Decodifica);
    EXPECT_EQ(dec->Decodifica->Etichetta, "Fornitore´s");
    EXPECT_EQ(dec->Decodifica->CampoDec, "RAGSOC");
    ASSERT_TRUE(dec->RicercaSecLiv);
    EXPECT_NE(dynamic_cast<TCSDFiltroRaw *>(dec->RicercaSecLiv->Filtro.get()), nullptr);
    EXPECT_EQ(dec->RicercaSecLiv->ParametroArchivio, "Listino \"2\"");
}

TEST(ScriptRoundTrip, FragmentsRoundTripUnderTheirOwnRoots)
{
    const auto form = ScriptSamples::fullForm();
    const QString ricerche = form->Ricerche->GetXML();
    EXPECT_TRUE(ricerche.startsWith("<Ricerche>"));
    EXPECT_EQ(readScript<TCSDRicerche>(ricerche)->GetXML(), normalisedLineEnds(ricerche));
    const QString sec = form->CampiVis.Items(3)->RicercaSecLiv->GetXML();
    EXPECT_TRUE(sec.startsWith("<RicercaSecLiv>"));
    EXPECT_EQ(readScript<TCSDRicercaSecLiv>(sec)->GetXML(), sec);
    const QString stampa = form->Stampa->GetXML();
    EXPECT_EQ(readScript<TCSDStampaOld>(stampa)->GetXML(), stampa);
    // A fragment is not a window, nor the other kind of search.
    TCSDForm f;
    EXPECT_THROW(f.SetXML(ricerche), EScriptXMLError);
    TCSDRicerche r;
    EXPECT_THROW(r.SetXML(sec), EScriptXMLError);
}

TEST(ScriptReading, ArchiveRule)
{
    const QString tail = w("NomeTabella", "T") + "</CSDForm>";
    auto both = readScript<TCSDForm>("<CSDForm>" + w("ParametroArchivio", "P") +
                                     w("PercorsoArchivio", "C:\\x.fdb") + tail);
    EXPECT_EQ(both->ParametroArchivio, "P");
    EXPECT_EQ(both->PercorsoArchivio, "C:\\x.fdb");

    TCSDForm written;
    written.ParametroArchivio = "P";
    written.PercorsoArchivio = "C:\\x.fdb";
    EXPECT_EQ(readScript<TCSDForm>(written.GetXML())->PercorsoArchivio, "");

    EXPECT_EQ(readScript<TCSDForm>("<CSDForm>" + tail)->ParametroArchivio, "Archivio");
    auto path = readScript<TCSDForm>("<CSDForm>" + w("PercorsoArchivio", "C:\\x.fdb") + tail);
    EXPECT_EQ(path->ParametroArchivio, "");
    auto listino =
        readScript<TCSDForm>("<CSDForm>" + w("ParametroArchivio", "P") +
                             w("PercorsoArchivio", "C:\\x.fdb") + w("IBDatabase", "2") + tail);
    EXPECT_EQ(listino->ParametroArchivio, "Directory listino");
    EXPECT_EQ(listino->PercorsoArchivio, "");
    EXPECT_EQ(readScript<TCSDForm>("<CSDForm>" + w("IBDatabase", " 2") + tail)->ParametroArchivio,
              "Archivio");
}

TEST(ScriptReading, ListsFieldsAndFiltersByTheirChildren)
{
    auto f = readScript<TCSDForm>(
        "<CSDForm><CampiVis>"
        "<Qualsiasi><Nome>A</Nome><Tipo>combo</Tipo><Valori><Valore>x</Valore></Valori></Qualsiasi>"
        "<CampoVis><Nome>B</Nome><Tipo>Combo</Tipo><Valori><V>1</V><Altro>2</Altro></Valori>"
        "</CampoVis>"
        "<CampoVis><Tipo> Combo</Tipo></CampoVis>"
        "</CampiVis><PosizionaCampo/></CSDForm>");
    ASSERT_EQ(f->CampiVis.Count(), 3);
    EXPECT_EQ(dynamic_cast<TCSDCampoVisCombo *>(f->CampiVis.Items(0)), nullptr);
    EXPECT_EQ(f->CampiVis.Items(0)->Nome, "A");
    const auto *combo = dynamic_cast<TCSDCampoVisCombo *>(f->CampiVis.Items(1));
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->Valori, QStringList({"1", "2"}));
    EXPECT_EQ(dynamic_cast<TCSDCampoVisCombo *>(f->CampiVis.Items(2)), nullptr);
    EXPECT_FALSE(f->PosizionaCampo);

    auto filtro = [](const QString &children) {
        return readScript<TCSDRicerche>("<Ricerche><Filtro>" + children + "</Filtro></Ricerche>");
    };
    auto raw = filtro(w("CampoFiltro", "A") + w("Query", "Q") + w("QueryRaw", "R"));
    ASSERT_NE(dynamic_cast<TCSDFiltroRaw *>(raw->Filtro.get()), nullptr);
    EXPECT_EQ(static_cast<TCSDFiltroRaw *>(raw->Filtro.get())->QueryRaw, "R");
    EXPECT_NE(dynamic_cast<TCSDFiltroIn *>(
                  filtro(w("Query", "Q") + w("ValoreContenuto", "V") + w("CampoFiltro", "A"))
                      ->Filtro.get()),
              nullptr);
    EXPECT_NE(dynamic_cast<TCSDFiltroContaining *>(
                  filtro(w("ValoreContenuto", "V") + w("CampoFiltro", "A"))->Filtro.get()),
              nullptr);
    EXPECT_FALSE(filtro(w("CampoFiltro", "A"))->Filtro);
    // A child looked for is a direct child: a grandchild of that name is not.
    EXPECT_FALSE(filtro("<X>" + w("QueryRaw", "R") + "</X>")->Filtro);
    auto nested = readScript<TCSDForm>("<CSDForm><X><Stampa/><NomeTabella>N</NomeTabella></X>"
                                       "</CSDForm>");
    EXPECT_FALSE(nested->Stampa);
    EXPECT_EQ(nested->NomeTabella, "");
}

TEST(ScriptReading, PositionListCutsToTheShortStrings)
{
    const QString name40(40, QChar('N'));
    const QString value300(300, QChar('v'));
    auto f = readScript<TCSDForm>("<CSDForm><PosizionaCampo><Qualsiasi>" + w("NomeCampo", name40) +
                                  w("ValoreCampo", value300) +
                                  "</Qualsiasi><Campo/></PosizionaCampo></CSDForm>");
    ASSERT_TRUE(f->PosizionaCampo);
    ASSERT_EQ(f->PosizionaCampo->Count(), 2);
    EXPECT_EQ(f->PosizionaCampo->Items(0)->NomeCampo, name40.left(31));
    EXPECT_EQ(f->PosizionaCampo->Items(0)->ValoreCampo, value300.left(255));
    EXPECT_EQ(f->PosizionaCampo->Items(1)->NomeCampo, "");
    EXPECT_TRUE(f->GetXML().contains("<Campo><NomeCampo/><ValoreCampo/></Campo>"));
}

TEST(ScriptReading, ReadingReplacesEveryPartAndKeepsOnlyTheTitle)
{
    auto f = ScriptSamples::fullForm();
    f->Ricerche->Filtro = std::make_unique<TCSDFiltroRaw>();
    f->SetXML("<CSDForm><CampiVis><CampoVis><Nome>A</Nome></CampoVis></CampiVis></CSDForm>");
    EXPECT_FALSE(f->Ricerche);
    EXPECT_FALSE(f->Stampa);
    EXPECT_FALSE(f->PosizionaCampo);
    EXPECT_EQ(f->GeneratoreNome, "");
    EXPECT_EQ(f->CodiceProgetto, 0);
    EXPECT_FALSE(f->NascondiNuovoEditaDuplicaElimina);
    ASSERT_EQ(f->CampiVis.Count(), 1);
    EXPECT_FALSE(f->CampiVis.Items(0)->Decodifica);
    EXPECT_EQ(f->Titolo, "Articoli");
    EXPECT_EQ(f->GetXML(), "<CSDForm>" + w("ParametroArchivio", "Archivio") + "<NomeTabella/>" +
                               zeros() + "<CampiVis><CampoVis>" + w("Nome", "A") +
                               "</CampoVis></CampiVis></CSDForm>");

    auto r = std::make_unique<TCSDRicerche>();
    r->Filtro = std::make_unique<TCSDFiltroIn>();
    r->CampiRitorno = {"X"};
    r->SetXML("<Ricerche/>");
    EXPECT_FALSE(r->Filtro);
    EXPECT_TRUE(r->CampiRitorno.isEmpty());
}

TEST(ScriptReading, HandIndentedScriptKeepsBlankTextsButNotBlankItems)
{
    auto f = readScript<TCSDForm>("<?xml version=\"1.0\" encoding=\"windows-1252\"?>\n"
                                  "<CSDForm>\n"
                                  "  <NomeTabella>ART</NomeTabella>\n"
                                  "  <CampiVis>\n"
                                  "    <CampoVis>\n"
                                  "      <Nome>A</Nome>\n"
                                  "      <Etichetta> </Etichetta>\n"
                                  "    </CampoVis>\n"
                                  "    <!-- a note -->\n"
                                  "    <CampoVis><Nome><![CDATA[<B&>]]></Nome></CampoVis>\n"
                                  "  </CampiVis>\n"
                                  "</CSDForm>\n");
    EXPECT_EQ(f->NomeTabella, "ART");
    ASSERT_EQ(f->CampiVis.Count(), 2);
    EXPECT_EQ(f->CampiVis.Items(0)->Etichetta, " ");
    EXPECT_EQ(f->CampiVis.Items(1)->Nome, "<B&>");
}

TEST(ScriptReading, IntegersAreDecimalWithOptionalSignAndBlanks)
{
    const QList<QPair<QString, int>> cases = {{"12", 12},
                                              {" 12 ", 12},
                                              {"\t+5\n", 5},
                                              {"-3", -3},
                                              {"", 0},
                                              {"abc", 0},
                                              {"12a", 0},
                                              {"1e3", 0},
                                              {"0x10", 0},
                                              {"1 2", 0},
                                              {"+", 0},
                                              {"--1", 0},
                                              {"1.5", 0},
                                              {"1,000", 0},
                                              {"2147483647", INT_MAX},
                                              {"-2147483648", INT_MIN},
                                              {"2147483648", 0},
                                              {"99999999999999999999", 0},
                                              {QString::fromUtf8("١٢"), 0}};
    for (const auto &c : cases)
        EXPECT_EQ(ScriptXml::readInteger(c.first), c.second) << qPrintable(c.first);
    EXPECT_EQ(readScript<TCSDForm>("<CSDForm><CodiceProgetto> -7 </CodiceProgetto></CSDForm>")
                  ->CodiceProgetto,
              -7);
}

TEST(ScriptWriting, CharactersXmlCannotCarryAreLeftOut)
{
    TCSDForm f;
    f.NomeTabella = QString("A") + QChar(1) + "B" + QChar(0x1F) + "\tC" + QChar(0) + "D" +
                    QChar(0xFFFE) + QChar(0xD800) + "E" + QChar(0xDC00) +
                    QString::fromUtf8("\xF0\x9F\x98\x80"); // a pair is kept
    const QString text = f.GetXML();
    const auto back = readScript<TCSDForm>(text);
    EXPECT_EQ(back->NomeTabella, QString("AB\tCDE") + QString::fromUtf8("\xF0\x9F\x98\x80"));
}

TEST(ScriptWriting, TooDeepAModelIsRefusedWithTheReadersMessage)
{
    // Searches nested through their fields: the deepest that still writes
    // reads back; one more is refused as the reader would refuse its text.
    auto ricerche = [](int annidate) {
        auto r = std::make_unique<TCSDRicerche>();
        TCSDRicerca *livello = r.get();
        for (int i = 0; i < annidate; ++i) {
            auto campo = std::make_unique<TCSDCampoRic>();
            campo->Nome = QStringLiteral("C%1").arg(i);
            campo->RicercaSecLiv = std::make_unique<TCSDRicercaSecLiv>();
            TCSDRicerca *sotto = campo->RicercaSecLiv.get();
            livello->CampiRic.Add(std::move(campo));
            livello = sotto;
        }
        return r;
    };
    int annidate = 1;
    while (annidate < 64) {
        QString testo;
        try {
            testo = ricerche(annidate)->GetXML();
        } catch (const EScriptXMLError &e) {
            EXPECT_TRUE(e.message().startsWith(
                QStringLiteral("Script XML non valido alla riga 1, colonna ")));
            EXPECT_TRUE(e.message().endsWith(QStringLiteral("elementi annidati oltre 64 livelli")));
            break;
        }
        EXPECT_NO_THROW(readScript<TCSDRicerche>(testo)) << annidate;
        ++annidate;
    }
    EXPECT_EQ(annidate, 21);
}
