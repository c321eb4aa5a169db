#pragma once

#include "csdxml.h"

#include <memory>

// Rules every model class applies when it writes and reads its children.
namespace CSDModelParts {

// An optional part: the old one goes; a new one is read when the holder has
// a direct child of its name.
template <typename T> void leggiOpzionale(std::unique_ptr<T> &campo, const XmlElement &nodo)
{
    campo.reset();
    auto nuovo = std::make_unique<T>();
    if (const XmlElement *figlio = nodo.child(nuovo->NomeTag())) {
        nuovo->LeggiNodo(*figlio);
        campo = std::move(nuovo);
    }
}

inline void scriviSeNonVuoto(XmlElement &nodo, const QString &nome, const QString &valore)
{
    if (!valore.isEmpty())
        nodo.addText(nome, valore);
}

} // namespace CSDModelParts
