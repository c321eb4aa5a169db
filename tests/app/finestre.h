#pragma once

#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

class TTabForm;

// Every window of the tool as the desktop tests open it: a name and how to
// make it on a signed-in archive object. A new window is one more line in
// finestre.cpp.
struct TFinestraInProva
{
    const char *nome;
    std::function<std::unique_ptr<QWidget>(TTabForm *&tab)> crea;
};

const std::vector<TFinestraInProva> &finestre();

class QDialog;
// Opens each window as its callers do (through Modal::exec), lets Qt lay it
// out, hands it to `guarda` and closes it.
void perOgniFinestra(TTabForm *&tab, const std::function<void(const char *, QDialog &)> &guarda);
