#pragma once

#include <QString>

class QWidget;
class TTabForm;

// The users editor's external text editor: its path in TABX, each access in
// a short transaction of its own so that nothing the shared transaction
// holds is committed with it, and the run of the program itself.
namespace EditorEsterno {

// TESTO is a VARCHAR(128).
constexpr int kLunghezzaPercorso = 128;

// The stored path, empty when there is none; TABX and its generator are
// created first when the user database lacks them.
QString Percorso(TTabForm &tab);
void MemorizzaPercorso(TTabForm &tab, const QString &percorso);
// Forgets the stored path, so the next start asks for it again.
void Reset(TTabForm &tab);

// The exchange file of a user: program folder, user code, "_utente.txt".
QString FileEditorUtente(const TTabForm &tab, const QString &codiceUtente);

enum class TEsito { Terminato, NonAvviato, Anomalo };
// Starts the program with the file as its one argument, no shell, and waits
// for it in a local event loop with the window disabled.
TEsito EseguiEAttendi(const QString &programma, const QString &file, QWidget *finestra);

} // namespace EditorEsterno
