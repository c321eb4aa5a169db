// The programs register: its window, the icon and the opening.

#include "programmiform.h"

#include "dbcontrols.h"
#include "dbgrid.h"
#include "editorwidgets.h"
#include "filedialogs.h"
#include "ibquery.h"
#include "messages.h"
#include "parametriblob.h"
#include "pathutil.h"
#include "tabform.h"
#include "tag.h"

#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QPushButton>

using EditorWidgets::bound;

namespace {

const int kLatoIcona = 32;

} // namespace

TProgrammiForm::TProgrammiForm(QWidget *owner, TTabForm *&tabForm)
    : TRecordEditorForm(
          owner, tabForm,
          {QStringLiteral("PROGRAMMI"), {QStringLiteral("CODICE")}, QStringLiteral("CODICE"), {}})
    , QueryProgrammi(MainQuery)
    , UpdateProgrammi(MainUpdate)
    , QueryAux2(new TIBQuery(this))
{
    setNames(QStringLiteral("ProgrammiForm"), QStringLiteral("Gestione programmi"),
             QStringLiteral("QueryProgrammi"), QStringLiteral("UpdateProgrammi"));
    QueryAux2->setObjectName(QStringLiteral("QueryAux2"));
    buildFields();

    GridProgrammi = mainGrid("GridProgrammi");

    ButtonMenu = addCommand("ButtonMenu", QStringLiteral("Menu"), true);
    ButtonDuplica = addCommand("ButtonDuplica", QStringLiteral("Duplica"), false);
    // Browse mode only: its restart of the shared transaction would throw
    // away the row being edited.
    ButtonConversioneMemo =
        addCommand("ButtonConversioneMemo", QStringLiteral("Conversione MEMO DETTMENU"), true);

    onClick(ButtonIcona, this, &TProgrammiForm::ButtonIconaClick);
    onClick(ButtonMenu, this, &TProgrammiForm::ButtonMenuClick);
    onClick(ButtonDuplica, this, &TProgrammiForm::ButtonDuplicaClick);
    onClick(ButtonConversioneMemo, this, &TProgrammiForm::ButtonConversioneMemoClick);
    onSignal(EditIcona, &TDBEdit::Change, this, &TProgrammiForm::EditIconaChange);

    fitTo(QSize(820, 520));
    Apri();
}

void TProgrammiForm::buildFields()
{
    auto *grid = new QGridLayout(PanelCampi);
    grid->setContentsMargins(0, 0, 0, 6);
    grid->setVerticalSpacing(2);
    rigaCodice(grid, EditCodice, EditNome, EditDescrizione, ButtonCodice, ButtonNome,
               ButtonDescrizione);
    EditIcona = bound<TDBEdit>(PanelCampi, "EditIcona", QueryProgrammi, "ICONA");
    ButtonIcona = labelButton(QStringLiteral("ButtonIcona"), QStringLiteral("Icona"), nullptr);

    PanelIcona = new QFrame(PanelCampi);
    PanelIcona->setObjectName(QStringLiteral("PanelIcona"));
    PanelIcona->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    auto *iconLayout = new QHBoxLayout(PanelIcona);
    iconLayout->setContentsMargins(2, 2, 2, 2);
    ImageIcona = new QLabel(PanelIcona);
    ImageIcona->setObjectName(QStringLiteral("ImageIcona"));
    ImageIcona->setFixedSize(kLatoIcona, kLatoIcona);
    ImageIcona->setAlignment(Qt::AlignCenter);
    ImageIcona->hide();
    iconLayout->addWidget(ImageIcona);
    PanelIcona->setFixedSize(kLatoIcona + 2 * PanelIcona->frameWidth() + 4,
                             kLatoIcona + 2 * PanelIcona->frameWidth() + 4);

    grid->setRowMinimumHeight(2, 6);
    grid->addWidget(ButtonIcona, 3, 0, 1, 3);
    // The preview beside the file name.
    auto *iconRow = new QHBoxLayout;
    iconRow->addWidget(EditIcona, 1);
    iconRow->addWidget(PanelIcona, 0, Qt::AlignVCenter);
    grid->addLayout(iconRow, 4, 0, 1, 3);
    grid->setColumnStretch(2, 1);
}

QWidget *TProgrammiForm::EditChiave() const
{
    return EditCodice;
}

void TProgrammiForm::PrimaDellApertura()
{
    QueryAux2->setDatabase(FTabForm->IBDatabase1);
    QueryAux2->setTransaction(FTabForm->IBTransaction1);
    ParametriBlob::VerificaCampo(FTabForm->IBDatabase1, FTabForm->IBTransaction1);
}

// ---- The icon --------------------------------------------------------------------

QString TProgrammiForm::cartellaGrafica() const
{
    return resolvePath(FTabForm->DirectoryProgramma + QStringLiteral("Grafica"));
}

QString TProgrammiForm::FiltroImmagini()
{
    QStringList patterns;
    for (const QByteArray &format : QImageReader::supportedImageFormats()) {
        const QString ext = QString::fromLatin1(format).toLower();
        // The suite's pictures come from Windows, in any case.
        for (const QString &e : {ext, ext.toUpper()}) {
            const QString pattern = QStringLiteral("*.") + e;
            if (!patterns.contains(pattern))
                patterns << pattern;
        }
    }
    const QString all = patterns.join(QLatin1Char(';'));
    return QStringLiteral("Immagini (") + all + QStringLiteral(")|") + all +
           QStringLiteral("|Tutti i file (*)|*");
}

QPixmap TProgrammiForm::Anteprima(const QString &file)
{
    QImageReader reader(file);
    const QSize box(kLatoIcona, kLatoIcona);
    const QSize size = reader.size();
    // Large pictures are read already scaled, where the format allows it.
    if (size.isValid() && (size.width() > kLatoIcona || size.height() > kLatoIcona))
        reader.setScaledSize(size.scaled(box, Qt::KeepAspectRatio));
    QImage image = reader.read();
    if (image.isNull())
        return QPixmap();
    if (image.width() > kLatoIcona || image.height() > kLatoIcona)
        image = image.scaled(box, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return QPixmap::fromImage(image);
}

void TProgrammiForm::ButtonIconaClick()
{
    const QString chosen = FileDialogs::open(this, FiltroImmagini(), cartellaGrafica());
    if (!chosen.isEmpty()) {
        const QString name = QFileInfo(chosen).fileName();
        TField *icona = QueryProgrammi->FieldByName(QStringLiteral("ICONA"));
        // A shortened name would name another file.
        if (name.size() > icona->Size()) {
            Messages::warning(
                QStringLiteral("Il nome del file è troppo lungo: al massimo %1 caratteri")
                    .arg(icona->Size()));
        } else {
            ScriviCampo(QStringLiteral("ICONA"), name);
        }
    }
    EditIcona->setFocus();
}

void TProgrammiForm::EditIconaChange()
{
    ImageIcona->hide();
    ImageIcona->clear();
    const QString name = EditIcona->text();
    // ICONA names a file of the pictures folder, never a path.
    if (name.isEmpty() || name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')))
        return;
    const QFileInfo file(resolvePath(cartellaGrafica() + QLatin1Char('/') + name));
    if (!file.isFile())
        return;
    const QPixmap picture = Anteprima(file.filePath());
    if (picture.isNull())
        return;
    ImageIcona->setPixmap(picture);
    ImageIcona->show();
}
