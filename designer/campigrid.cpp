#include "campigrid.h"

#include <QHeaderView>
#include <QLineEdit>

TCampiGrid::TCampiGrid(QWidget *parent)
    : QTableView(parent)
{
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed);
    verticalHeader()->hide();
    // One line per field: a label loaded with line ends is not a tall row.
    setWordWrap(false);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
    setItemDelegate(new TCampiDelegate(this));
}

void TCampiGrid::commitOpenEditor()
{
    if (QWidget *editor = m_editor.data()) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

TCampiDelegate::TCampiDelegate(TCampiGrid *grid)
    : QStyledItemDelegate(grid)
    , m_grid(grid)
{
}

QWidget *TCampiDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                                      const QModelIndex &index) const
{
    QWidget *editor = QStyledItemDelegate::createEditor(parent, option, index);
    m_grid->m_editor = editor;
    return editor;
}

void TCampiDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    if (auto *edit = qobject_cast<QLineEdit *>(editor)) {
        const QString testo = index.data(Qt::EditRole).toString();
        edit->setMaxLength(qMax(MaxTyped, int(testo.size())));
        edit->setText(testo);
        return;
    }
    QStyledItemDelegate::setEditorData(editor, index);
}
