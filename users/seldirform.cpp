#include "seldirform.h"

#include "guard.h"
#include "messages.h"

#include <QComboBox>
#include <QDir>
#include <QFileSystemModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStorageInfo>
#include <QTreeView>
#include <QVBoxLayout>

TSelDirForm::TSelDirForm(QWidget *owner)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint)
    , LabelUnita(new QLabel(QStringLiteral("&Unità disco:"), this))
    , DriveComboBox1(new QComboBox(this))
    , LabelPercorso(new QLabel(QStringLiteral("Percorso"), this))
    , DirectoryListBox1(new QTreeView(this))
    , ButtonOk(new QPushButton(QStringLiteral("Ok"), this))
    , ButtonCancel(new QPushButton(QStringLiteral("Cancel"), this))
    , m_model(new QFileSystemModel(this))
{
    setObjectName(QStringLiteral("SelDirForm"));
    setWindowTitle(QStringLiteral("Selezione Percorso"));
    DriveComboBox1->setObjectName(QStringLiteral("DriveComboBox1"));
    DirectoryListBox1->setObjectName(QStringLiteral("DirectoryListBox1"));
    ButtonOk->setObjectName(QStringLiteral("ButtonOk"));
    ButtonOk->setDefault(true);
    ButtonCancel->setObjectName(QStringLiteral("ButtonCancel"));
    LabelUnita->setBuddy(DriveComboBox1);
    LabelPercorso->setBuddy(DirectoryListBox1);

    m_model->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    m_model->setReadOnly(true);
    DirectoryListBox1->setModel(m_model);
    for (int c = 1; c < m_model->columnCount(); ++c)
        DirectoryListBox1->hideColumn(c);
    DirectoryListBox1->header()->hide();
    const QFontMetrics fm(font());
    DirectoryListBox1->setMinimumSize(fm.averageCharWidth() * 44, fm.lineSpacing() * 16);
    DriveComboBox1->addItems(Unita());

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(LabelUnita);
    layout->addWidget(DriveComboBox1);
    layout->addWidget(LabelPercorso);
    layout->addWidget(DirectoryListBox1);
    auto *pulsanti = new QHBoxLayout;
    pulsanti->addStretch();
    pulsanti->addWidget(ButtonOk);
    pulsanti->addWidget(ButtonCancel);
    layout->addLayout(pulsanti);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    Guard::connect(DriveComboBox1, &QComboBox::textActivated, this,
                   [this](const QString &radice) { setUnita(radice); });
    Guard::connect(DirectoryListBox1->selectionModel(), &QItemSelectionModel::currentChanged, this,
                   [this](const QModelIndex &corrente, const QModelIndex &) {
                       if (corrente.isValid())
                           m_directory = m_model->filePath(corrente);
                   });
    Guard::connect(ButtonOk, &QPushButton::clicked, this, [this] { done(mrOk); });
    Guard::connect(ButtonCancel, &QPushButton::clicked, this, [this] { done(mrCancel); });

    setDirectory(QDir::currentPath());
}

QStringList TSelDirForm::Unita()
{
    QStringList radici;
    for (const QStorageInfo &v : QStorageInfo::mountedVolumes()) {
        if (v.isValid() && v.isReady() && !radici.contains(v.rootPath()))
            radici.append(v.rootPath());
    }
    radici.sort();
    return radici;
}

void TSelDirForm::setUnita(const QString &radice)
{
    const QModelIndex indice = m_model->setRootPath(radice);
    DirectoryListBox1->setRootIndex(indice);
    DirectoryListBox1->setCurrentIndex(QModelIndex());
    DriveComboBox1->setCurrentText(radice);
    m_directory = radice;
}

void TSelDirForm::setDirectory(const QString &percorso)
{
    const QString assoluto = QDir(percorso).absolutePath();
    // The deepest volume root that holds the folder.
    QString radice;
    for (const QString &r : Unita()) {
        const QString conBarra = r.endsWith(QLatin1Char('/')) ? r : r + QLatin1Char('/');
        if ((assoluto == r || assoluto.startsWith(conBarra)) && r.size() > radice.size())
            radice = r;
    }
    if (!radice.isEmpty())
        setUnita(radice);
    const QModelIndex indice = m_model->index(assoluto);
    if (indice.isValid()) {
        DirectoryListBox1->setCurrentIndex(indice);
        DirectoryListBox1->scrollTo(indice);
    }
    m_directory = assoluto;
}

void TSelDirForm::showEvent(QShowEvent *e)
{
    if (QScreen *s = screen())
        move(s->availableGeometry().center() - rect().center());
    QDialog::showEvent(e);
}
