#include "helpparform.h"

#include "guard.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

THelpTestoForm::THelpTestoForm(QWidget *owner, const QStringList &righe)
    : QDialog(owner)
    , Memo1(new QPlainTextEdit(this))
    , ButtonChiudi(new QPushButton(QStringLiteral("Ch&iudi"), this))
{
    setWindowTitle(QStringLiteral("Help parametri"));
    Memo1->setObjectName(QStringLiteral("Memo1"));
    ButtonChiudi->setObjectName(QStringLiteral("ButtonChiudi"));

    Memo1->setReadOnly(true);
    // Lines are laid out by hand (the indented continuation): never wrap them.
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setPlainText(righe.join(QLatin1Char('\n')));

    // Big enough for the whole text in the current font, so nothing scrolls.
    const QFontMetrics fm(Memo1->font());
    int larghezza = 0;
    for (const QString &r : righe)
        larghezza = qMax(larghezza, fm.horizontalAdvance(r));
    const int margine = 2 * (Memo1->frameWidth() + int(Memo1->document()->documentMargin())) +
                        Memo1->verticalScrollBar()->sizeHint().width();
    Memo1->setMinimumSize(larghezza + margine, fm.lineSpacing() * (righe.size() + 1) + margine);

    auto *pulsanti = new QHBoxLayout;
    pulsanti->addStretch(1);
    pulsanti->addWidget(ButtonChiudi);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Memo1, 1);
    layout->addLayout(pulsanti);
    ButtonChiudi->setDefault(true);
    Guard::connect(ButtonChiudi, &QPushButton::clicked, this, [this] { close(); });
}

THelpParForm::THelpParForm(QWidget *owner)
    : THelpTestoForm(owner, Testo())
{
    setObjectName(QStringLiteral("HelpParForm"));
}

QStringList THelpParForm::Testo()
{
    return {
        QStringLiteral("Nei parametri è possibile inserire dei tag che condizionano il "
                       "comportamento"),
        QStringLiteral("delle funzioni nel momento in cui vengono aperte dall'utente tramite "
                       "voci di"),
        QStringLiteral("menu."),
        QStringLiteral("Di seguito vengono riportati i tag disponibili ed il loro significato."),
        QString(),
        QStringLiteral("- TIPOLINEA : specifica il tipo di linea da usare (Documenti);"),
        QString(),
        QStringLiteral("- PARAMETROLINEA : specifica il nome del parametro pravlin che"),
        QString(36, QLatin1Char(' ')) + QStringLiteral("memorizza la linea corrente (Documenti);"),
        QString(),
        QStringLiteral("Nota: ogni tag va separato dall'altro con il carattere \";\""),
        QString(),
        QStringLiteral("Esempio:"),
        QString(),
        QStringLiteral("TIPOLINEA=FT;"),
        QStringLiteral("PARAMETROLINEA=UltimaLineaFT;"),
        QString(),
    };
}

THelpPar2Form::THelpPar2Form(QWidget *owner)
    : THelpTestoForm(owner, Testo())
{
    setObjectName(QStringLiteral("HelpPar2Form"));
}

QStringList THelpPar2Form::Testo()
{
    return {
        QStringLiteral("Attraverso alcuni tag è possibile parametrizzare la visualizzazione "
                       "della"),
        QStringLiteral("descrizione specificando il nome di un parametro contenuto nel pravlin"),
        QStringLiteral("dal quale verrà caricato il valore contenuto."),
        QStringLiteral("Di seguito vengono riportati i tag riconosciuti."),
        QString(),
        QStringLiteral("- <LINEA></LINEA> : specifica il tipo di linea da usare (Documenti);"),
        QString(),
        QStringLiteral("Esempio:"),
        QString(),
        QStringLiteral("Linea corrente: <LINEA>UltimaLineaFT</LINEA>"),
    };
}
