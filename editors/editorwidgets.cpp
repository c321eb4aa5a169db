#include "editorwidgets.h"

#include "dbcontrols.h"
#include "dbgrid.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace EditorWidgets {

void keyBox(QLineEdit *edit)
{
    setTag(edit, 0);
    edit->setReadOnly(true);
    edit->setFocusPolicy(Qt::ClickFocus);
    QPalette p = edit->palette();
    p.setColor(QPalette::Base, clBackground);
    edit->setPalette(p);
}

TDBEdit *keyEdit(QWidget *parent, const char *name, TDataSet *dataSet, const char *field)
{
    auto *edit = bound<TDBEdit>(parent, name, dataSet, field, 0);
    keyBox(edit);
    return edit;
}

QPushButton *captionButton(QWidget *parent, const QString &objectName, const QString &caption)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(objectName);
    b->setFlat(true);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

QPushButton *labelButton(QWidget *parent, const QString &objectName, const QString &caption,
                         QWidget *target)
{
    auto *b = captionButton(parent, objectName, caption);
    b->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    b->setStyleSheet(QStringLiteral("text-align: left; padding: 1px 2px;"));
    setTag(b, 2);
    if (target)
        QObject::connect(b, &QPushButton::clicked, target, [target] { target->setFocus(); });
    return b;
}

QPushButton *button(const char *name, const QString &caption, int tag)
{
    auto *b = new QPushButton(caption);
    b->setObjectName(QLatin1String(name));
    setTag(b, tag);
    return b;
}

QPushButton *pushButton(QWidget *parent, const char *name, const QString &caption)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}

QHBoxLayout *buttonRow(std::initializer_list<QWidget *> buttons)
{
    auto *row = new QHBoxLayout;
    row->addStretch(1);
    for (QWidget *b : buttons)
        row->addWidget(b);
    return row;
}

QPushButton *helpButton(QWidget *parent, const char *name)
{
    auto *b = new QPushButton(QStringLiteral("?"), parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    const int side = b->fontMetrics().height() + 8;
    b->setFixedSize(side, side);
    return b;
}

QVBoxLayout *cell(QWidget *label, QWidget *control)
{
    auto *box = new QVBoxLayout;
    box->setSpacing(1);
    box->addWidget(label);
    box->addWidget(control);
    return box;
}

QHBoxLayout *withHelp(QWidget *label, QWidget *help)
{
    auto *row = new QHBoxLayout;
    row->setSpacing(2);
    row->addWidget(label, 1);
    row->addWidget(help);
    return row;
}

} // namespace EditorWidgets
