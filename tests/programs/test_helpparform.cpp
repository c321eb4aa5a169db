#include "helpparform.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>
#include <gtest/gtest.h>

namespace {

QStringList memoLines(const THelpTestoForm &form)
{
    QStringList lines;
    for (QTextBlock b = form.Memo1->document()->begin(); b.isValid(); b = b.next())
        lines << b.text();
    return lines;
}

void expectShownWhole(THelpTestoForm &form)
{
    form.show();
    EXPECT_TRUE(form.Memo1->isReadOnly());
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Help parametri"));
    EXPECT_EQ(form.ButtonChiudi->text(), QStringLiteral("Ch&iudi"));
    // The whole text fits: nothing to scroll in either direction.
    EXPECT_EQ(form.Memo1->horizontalScrollBar()->maximum(), 0);
    EXPECT_EQ(form.Memo1->verticalScrollBar()->maximum(), 0);
    form.ButtonChiudi->click();
    EXPECT_FALSE(form.isVisible());
}

} // namespace

TEST(HelpParForm, ParametersTextLineByLine)
{
    THelpParForm form;
    const QStringList atteso = {
        "Nei parametri è possibile inserire dei tag che condizionano il comportamento",
        "delle funzioni nel momento in cui vengono aperte dall'utente tramite voci di",
        "menu.",
        "Di seguito vengono riportati i tag disponibili ed il loro significato.",
        "",
        "- TIPOLINEA : specifica il tipo di linea da usare (Documenti);",
        "",
        "- PARAMETROLINEA : specifica il nome del parametro pravlin che",
        "                                    memorizza la linea corrente (Documenti);",
        "",
        "Nota: ogni tag va separato dall'altro con il carattere \";\"",
        "",
        "Esempio:",
        "",
        "TIPOLINEA=FT;",
        "PARAMETROLINEA=UltimaLineaFT;",
        "",
    };
    EXPECT_EQ(memoLines(form), atteso);
    EXPECT_EQ(atteso[8].indexOf(QLatin1Char('m')), 36);
    expectShownWhole(form);
}

TEST(HelpParForm, DescriptionTextLineByLine)
{
    THelpPar2Form form;
    const QStringList atteso = {
        "Attraverso alcuni tag è possibile parametrizzare la visualizzazione della",
        "descrizione specificando il nome di un parametro contenuto nel pravlin",
        "dal quale verrà caricato il valore contenuto.",
        "Di seguito vengono riportati i tag riconosciuti.",
        "",
        "- <LINEA></LINEA> : specifica il tipo di linea da usare (Documenti);",
        "",
        "Esempio:",
        "",
        "Linea corrente: <LINEA>UltimaLineaFT</LINEA>",
    };
    EXPECT_EQ(memoLines(form), atteso);
    expectShownWhole(form);
}
