#include "infoform.h"

#include "guard.h"
#include "pathutil.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

QString productTitle()
{
    return QStringLiteral("Amministrazione");
}

TInfoForm::TInfoForm(QWidget *owner)
    : QDialog(owner)
    , ProgramIcon(new QLabel(this))
    , ProductName(new QLabel(this))
    , Version(new QLabel(QStringLiteral("Versione 1.0"), this))
    , OKButton(new QPushButton(QStringLiteral("OK"), this))
{
    setObjectName(QStringLiteral("InfoForm"));
    setWindowTitle(QStringLiteral("Informazioni Programma"));
    ProgramIcon->setObjectName(QStringLiteral("ProgramIcon"));
    ProductName->setObjectName(QStringLiteral("ProductName"));
    Version->setObjectName(QStringLiteral("Version"));
    OKButton->setObjectName(QStringLiteral("OKButton"));

    const QPixmap picture(resolvePath(programFolder() + QStringLiteral("Grafica/Verde.bmp")));
    if (!picture.isNull())
        ProgramIcon->setPixmap(picture.scaled(32, 32));
    ProductName->setText(productTitle());
    QFont bold = ProductName->font();
    bold.setBold(true);
    ProductName->setFont(bold);

    auto *text = new QVBoxLayout;
    text->addWidget(ProductName);
    text->addWidget(Version);
    auto *top = new QHBoxLayout;
    top->addWidget(ProgramIcon);
    top->addLayout(text, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(OKButton, 0, Qt::AlignCenter);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    // Wide enough for the caption and the title bar's buttons beside it.
    layout->addStrut(fontMetrics().horizontalAdvance(windowTitle()) +
                     fontMetrics().averageCharWidth() * 16);
    OKButton->setDefault(true);
    Guard::connect(OKButton, &QPushButton::clicked, this, [this] { done(1); });
}
