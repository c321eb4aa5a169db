#pragma once

#include "csdxml.h"

#include <QStringList>
#include <memory>
#include <vector>

// The in-memory model of a window script: each object writes itself as one
// XML element and reads itself back. Fields are reached directly. An object
// in a std::unique_ptr field is optional and owned by its holder.

class TCSDXMLComponent
{
public:
    virtual ~TCSDXMLComponent() = default;
    TCSDXMLComponent(const TCSDXMLComponent &) = delete;
    TCSDXMLComponent &operator=(const TCSDXMLComponent &) = delete;

    // The object's element name.
    virtual QString NomeTag() const = 0;
    // Writes the object's content as children of the node.
    virtual void ScriviNodo(XmlElement &nodo) const = 0;
    // Reads the object's content from the children of the node. Never fails:
    // a missing element reads as empty.
    virtual void LeggiNodo(const XmlElement &nodo) = 0;

    // Appends a child named NomeTag to the parent and writes into it.
    XmlElement &AggiungiNodo(XmlElement &padre) const;
    // The object as one line of markup, without declaration.
    QString GetXML() const;
    // Reads the document's root, which must be named NomeTag.
    void CaricaDaDocumento(const XmlDocument &documento);
    // Reads the text, or raises EScriptXMLError and leaves the object as it
    // was.
    void SetXML(const QString &testo);

protected:
    TCSDXMLComponent() = default;
};

// A search's condition; the children tell the kind.
class TCSDFiltro : public TCSDXMLComponent
{
public:
    QString NomeTag() const override;
    // The kind told by the node's children, or null when none fits.
    static std::unique_ptr<TCSDFiltro> Crea(const XmlElement &nodo);
};

class TCSDFiltroIn : public TCSDFiltro
{
public:
    QString CampoFiltro;
    QString Query;
    void ScriviNodo(XmlElement &nodo) const override;
    void LeggiNodo(const XmlElement &nodo) override;
};

class TCSDFiltroRaw : public TCSDFiltro
{
public:
    QString QueryRaw;
    void ScriviNodo(XmlElement &nodo) const override;
    void LeggiNodo(const XmlElement &nodo) override;
};

class TCSDFiltroContaining : public TCSDFiltro
{
public:
    QString CampoFiltro;
    QString ValoreContenuto;
    void ScriviNodo(XmlElement &nodo) const override;
    void LeggiNodo(const XmlElement &nodo) override;
};

// A preset value of a field. The forms library holds both in short strings,
// so they never carry more than MaxNome and MaxValore characters.
struct TCSDCampoPos
{
    static constexpr int MaxNome = 31;
    static constexpr int MaxValore = 255;
    QString NomeCampo;
    QString ValoreCampo;
};

class TCSDCampoPosList
{
public:
    TCSDCampoPos *NuovoCampo();
    TCSDCampoPos *Items(int i) const { return m_items.at(std::size_t(i)).get(); }
    int Count() const { return int(m_items.size()); }
    void Add(std::unique_ptr<TCSDCampoPos> campo);
    void Clear() { m_items.clear(); }
    std::unique_ptr<TCSDCampoPosList> Copia() const;

    QString NomeTag() const;
    XmlElement &AggiungiNodo(XmlElement &padre) const;
    void LeggiNodo(const XmlElement &nodo);

private:
    std::vector<std::unique_ptr<TCSDCampoPos>> m_items;
};

// A look-up that shows a description for a coded field.
class TCSDDecodifica : public TCSDXMLComponent
{
public:
    QString Etichetta;
    QString TabellaCol;
    QString CampoCol;
    QString CampoDec;
    QString NomeTag() const override;
    void ScriviNodo(XmlElement &nodo) const override;
    void LeggiNodo(const XmlElement &nodo) override;
};

class TCSDStampaOld : public TCSDXMLComponent
{
public:
    QString NomeReport;
    bool Orizzontale = false;
    QString SQLStampa;
    QString TitoloStampa;
    QString NomeTag() const override;
    void ScriviNodo(XmlElement &nodo) const override;
    void LeggiNodo(const XmlElement &nodo) override;
};

class TCSDRicercaSecLiv;

// A field of a window or of a search.
class TCSDCampo : public TCSDXMLComponent
{
public:
    ~TCSDCampo() override;
    QString Nome;
    QString Etichetta;
    std::unique_ptr<TCSDDecodifica> Decodifica;
    // The search that fills this field.
    std::unique_ptr<TCSDRicercaSecLiv> RicercaSecLiv;
    void ScriviNodo(XmlElement &nodo) const override;
    void LeggiNodo(const XmlElement &nodo) override;

protected:
    TCSDCampo();
};

class TCSDCampoRic : public TCSDCampo
{
public:
    QString NomeTag() const override;
};

class TCSDCampoVis : public TCSDCampo
{
public:
    QString NomeTag() const override;
};

class TCSDCampoVisCombo : public TCSDCampoVis
{
public:
    QStringList Valori;
    void ScriviNodo(XmlElement &nodo) const override;
    void LeggiNodo(const XmlElement &nodo) override;
};

// A list that owns its fields.
class TCSDCampiList
{
public:
    virtual ~TCSDCampiList() = default;
    TCSDCampo *Items(int i) const { return m_items.at(std::size_t(i)).get(); }
    void Add(std::unique_ptr<TCSDCampo> campo);
    int Count() const { return int(m_items.size()); }
    void Clear() { m_items.clear(); }
    // Appends an element named NomeTag holding every item in order.
    XmlElement &AggiungiNodo(XmlElement &padre) const;
    virtual QString NomeTag() const = 0;
    // Empties the list, then reads one item per element child.
    virtual void LeggiNodo(const XmlElement &nodo) = 0;

private:
    std::vector<std::unique_ptr<TCSDCampo>> m_items;
};

// Items: TCSDCampoVis or TCSDCampoVisCombo.
class TCSDCampiVis : public TCSDCampiList
{
public:
    QString NomeTag() const override;
    void LeggiNodo(const XmlElement &nodo) override;
};

// Items: TCSDCampoRic.
class TCSDCampiRic : public TCSDCampiList
{
public:
    QString NomeTag() const override;
    void LeggiNodo(const XmlElement &nodo) override;
};

// What a window and a search share: the database, the table, the looks.
class TCSDFinestra : public TCSDXMLComponent
{
public:
    ~TCSDFinestra() override;
    // Used by the searches only.
    std::unique_ptr<TCSDFiltro> Filtro;
    // The per-user parameter naming the database ("Archivio", ...).
    QString ParametroArchivio;
    // The database by its path, used when ParametroArchivio is empty.
    QString PercorsoArchivio;
    QString NomeTabella;
    qint32 CodiceProgetto = 0;
    qint32 SituazioneCSDGrid = 0;
    qint32 CodiceProgettoForm = 0;
    qint32 SituazioneForm = 0;
    QString CampoFile;
    QString CampoFoto;
    std::unique_ptr<TCSDCampoPosList> PosizionaCampo;

    QString NomeTag() const override;
    void ScriviNodo(XmlElement &nodo) const override;
    void LeggiNodo(const XmlElement &nodo) override;

protected:
    TCSDFinestra();
};

class TCSDRicerca : public TCSDFinestra
{
public:
    QString FocusIniziale;
    TCSDCampiRic CampiRic;
    QStringList CampiRitorno;
    void ScriviNodo(XmlElement &nodo) const override;
    void LeggiNodo(const XmlElement &nodo) override;

protected:
    TCSDRicerca() = default;
};

// The search of one field.
class TCSDRicercaSecLiv : public TCSDRicerca
{
public:
    QString NomeTag() const override;
};

// The search window of a window.
class TCSDRicerche : public TCSDRicerca
{
public:
    QString NomeTag() const override;
};

class TCSDForm : public TCSDFinestra
{
public:
    // The title as the wizard knows it; never written or read.
    QString Titolo;
    QString GeneratoreNome;
    QString GeneratoreCampo;
    // The SQL that creates the table where it is missing.
    QString CreaTabella;
    std::unique_ptr<TCSDRicerche> Ricerche;
    std::unique_ptr<TCSDStampaOld> Stampa;
    TCSDCampiVis CampiVis;
    // Consultation only: no new, edit, duplicate or delete.
    bool NascondiNuovoEditaDuplicaElimina = false;

    void ScriviNodo(XmlElement &nodo) const override;
    void LeggiNodo(const XmlElement &nodo) override;
};
