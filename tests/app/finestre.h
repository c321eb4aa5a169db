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
    // A record editor: its Tab chain is read in edit mode.
    bool editor = false;
};

const std::vector<TFinestraInProva> &finestre();
