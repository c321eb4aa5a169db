#include "dbgrid.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QScopedValueRollback>

namespace {

// A disabled or unfocused grid keeps the colours of an active one: the
// rows and the current cell stay readable while the window edits.
QPalette steadyPalette(QPalette palette)
{
    for (QPalette::ColorRole role :
         {QPalette::Base, QPalette::AlternateBase, QPalette::Text, QPalette::Window,
          QPalette::WindowText, QPalette::Button, QPalette::ButtonText, QPalette::Highlight,
          QPalette::HighlightedText}) {
        const QBrush brush = palette.brush(QPalette::Active, role);
        palette.setBrush(QPalette::Disabled, role, brush);
        palette.setBrush(QPalette::Inactive, role, brush);
    }
    return palette;
}

} // namespace

TDBGrid::TDBGrid(QWidget *parent)
    : QTableView(parent)
    , m_model(new TDataSetModel(nullptr, this))
{
    setModel(m_model);
    setPalette(steadyPalette(palette()));
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(fontMetrics().height());
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setHighlightSections(false);
    connect(m_model, &TDataSetModel::currentRowChanged, this, &TDBGrid::followDataSet);
    connect(m_model, &QAbstractItemModel::modelReset, this, &TDBGrid::fitColumns);
}

void TDBGrid::followDataSet(int row)
{
    QScopedValueRollback<bool> placing(m_placing, true);
    if (row < 0) {
        selectionModel()->clear();
        return;
    }
    const int column = qMax(currentIndex().column(), 0);
    const QModelIndex target = m_model->index(row, column);
    if (!target.isValid())
        return;
    if (currentIndex() != target)
        selectionModel()->setCurrentIndex(target, QItemSelectionModel::ClearAndSelect);
    scrollTo(target);
}

void TDBGrid::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QTableView::currentChanged(current, previous);
    if (m_placing || m_model->following() || !current.isValid())
        return;
    if (current.row() == m_model->currentRow())
        return;
    m_model->setCurrentRow(current.row());
    // A refused move: back to where the dataset stayed, once Qt is done
    // with this change of the current cell.
    if (m_model->currentRow() != current.row())
        QMetaObject::invokeMethod(
            this, [this] { followDataSet(m_model->currentRow()); }, Qt::QueuedConnection);
}

void TDBGrid::mouseDoubleClickEvent(QMouseEvent *event)
{
    QTableView::mouseDoubleClickEvent(event);
    emit DblClick();
}

void TDBGrid::keyPressEvent(QKeyEvent *event)
{
    if (!event->isAutoRepeat())
        emit KeyDown(event->key(), event->modifiers());
    QTableView::keyPressEvent(event);
}

void TDBGrid::keyReleaseEvent(QKeyEvent *event)
{
    if (!event->isAutoRepeat())
        emit KeyUp(event->key(), event->modifiers());
    QTableView::keyReleaseEvent(event);
}

// ---- Column widths ----------------------------------------------------------

// The class library's display widths, in characters, from the field's type
// and size; no row is measured.
int TDBGrid::displayWidth(const TField *field) const
{
    switch (field->DataType()) {
    case ftSmallint:
    case ftWord:
    case ftBoolean:
        return 6;
    case ftInteger:
    case ftAutoInc:
        return 11;
    case ftLargeint:
        return 15;
    case ftDate:
    case ftFloat:
    case ftCurrency:
    case ftBCD:
    case ftFMTBcd:
        return 10;
    case ftTime:
        return 8;
    case ftDateTime:
    case ftTimeStamp:
        return 19;
    default:
        if (FieldTypes::isSizedText(field->DataType()))
            return qBound(2, field->Size(), 40);
        return 8;
    }
}

void TDBGrid::fitColumns()
{
    QStringList names;
    for (int c = 0; c < m_model->columnCount(); ++c)
        names.append(m_model->fieldOfColumn(c)->FieldName());
    // A reopening with the same columns keeps the widths the user set.
    if (names == m_fittedColumns)
        return;
    m_fittedColumns = names;
    // Names and codes are mostly capitals and digits, wider than the
    // average character: a column measured in average characters cuts them.
    const int character = fontMetrics().horizontalAdvance(QLatin1Char('N'));
    for (int c = 0; c < m_model->columnCount(); ++c) {
        const int text = displayWidth(m_model->fieldOfColumn(c)) * character + 12;
        // The header's own measure: its text with the style's margins.
        const int title = horizontalHeader()->sectionSizeHint(c);
        setColumnWidth(c, qMax(text, title));
    }
}
