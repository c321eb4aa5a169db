#include "datasetmodel.h"

#include "guard.h"
#include "valueconv.h"

namespace {

// Counts a notification in progress, however it ends.
struct Following
{
    explicit Following(int &counter)
        : m_counter(counter)
    {
        ++m_counter;
    }
    ~Following() { --m_counter; }
    int &m_counter;
};

} // namespace

TDataSetModel::TDataSetModel(TDataSet *dataSet, QObject *parent)
    : QAbstractTableModel(parent)
{
    setDataSet(dataSet);
}

TDataSetModel::~TDataSetModel()
{
    if (m_dataSet)
        m_dataSet->removeObserver(this);
}

void TDataSetModel::setDataSet(TDataSet *dataSet)
{
    if (dataSet == m_dataSet)
        return;
    if (m_dataSet)
        m_dataSet->removeObserver(this);
    m_dataSet = dataSet;
    if (m_dataSet)
        m_dataSet->addObserver(this);
    dataSetReset(m_dataSet);
}

void TDataSetModel::setColumnHidden(const QString &fieldName, bool hidden)
{
    const QString key = fieldName.toUpper();
    if (hidden == m_hidden.contains(key))
        return;
    hidden ? void(m_hidden.insert(key)) : void(m_hidden.remove(key));
    beginResetModel();
    rebuild();
    endResetModel();
}

bool TDataSetModel::isColumnHidden(const QString &fieldName) const
{
    return m_hidden.contains(fieldName.toUpper());
}

void TDataSetModel::rebuild()
{
    m_columns.clear();
    m_rows = 0;
    m_shiftAt = -1;
    m_shift = 0;
    if (!m_dataSet || !m_dataSet->Active())
        return;
    for (int i = 0; i < m_dataSet->FieldCount(); ++i) {
        if (!m_hidden.contains(m_dataSet->Fields(i)->FieldName().toUpper()))
            m_columns.append(i);
    }
    m_rows = m_dataSet->ViewRowCount();
}

TField *TDataSetModel::fieldOfColumn(int column) const
{
    if (!m_dataSet || column < 0 || column >= m_columns.size())
        return nullptr;
    const int fieldNo = m_columns[column];
    return fieldNo < m_dataSet->FieldCount() ? m_dataSet->Fields(fieldNo) : nullptr;
}

int TDataSetModel::columnOfField(const QString &fieldName) const
{
    for (int c = 0; c < m_columns.size(); ++c) {
        const TField *f = fieldOfColumn(c);
        if (f && f->FieldName().compare(fieldName, Qt::CaseInsensitive) == 0)
            return c;
    }
    return -1;
}

// ---- Reading ----------------------------------------------------------------

int TDataSetModel::dataSetRow(int row) const
{
    if (m_shiftAt < 0 || row < m_shiftAt)
        return row;
    if (m_shift > 0 && row == m_shiftAt)
        return -1; // the row being removed is gone already
    return row - m_shift;
}

QVariant TDataSetModel::rawValue(int row, int fieldNo) const
{
    if (!m_dataSet || row < 0 || row >= m_rows)
        return {};
    return m_dataSet->ViewValue(dataSetRow(row), fieldNo);
}

QVariant TDataSetModel::value(int row, const QString &fieldName) const
{
    const TField *f = m_dataSet ? m_dataSet->FindField(fieldName) : nullptr;
    return f ? rawValue(row, f->Index()) : QVariant();
}

QString TDataSetModel::cellText(int row, int column) const
{
    const TField *f = fieldOfColumn(column);
    if (!f || row < 0 || row >= m_rows)
        return {};
    QString text;
    const TFieldType type = f->DataType();
    if (type == ftMemo || type == ftFmtMemo || type == ftOraClob)
        text = QStringLiteral("(MEMO)");
    else if (FieldTypes::isBlob(type))
        text = QStringLiteral("(BLOB)");
    else
        text = ValueConv::toText(rawValue(row, f->Index()));
    if (m_cellText)
        m_cellText(row, f, text);
    return text;
}

int TDataSetModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int TDataSetModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant TDataSetModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows || index.column() >= m_columns.size())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return cellText(index.row(), index.column());
    case Qt::BackgroundRole:
    case Qt::ForegroundRole: {
        if (!m_rowColours)
            return {};
        QColor background, text;
        m_rowColours(index.row(), background, text);
        const QColor &c = role == Qt::BackgroundRole ? background : text;
        return c.isValid() ? QVariant(c) : QVariant();
    }
    default:
        return {};
    }
}

QVariant TDataSetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    const TField *f = fieldOfColumn(section);
    return f ? QVariant(f->DisplayName()) : QVariant();
}

Qt::ItemFlags TDataSetModel::flags(const QModelIndex &index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

// ---- The current row --------------------------------------------------------------

int TDataSetModel::currentRow() const
{
    if (!m_dataSet)
        return -1;
    const int row = m_dataSet->ViewCurrentRow();
    return row < m_rows ? row : -1;
}

void TDataSetModel::setCurrentRow(int row)
{
    // During a notification the view only follows; while the controls are
    // disabled the dataset is in the middle of a walk of its owner's.
    if (following() || !m_dataSet || !m_dataSet->Active() || m_dataSet->ControlsDisabled())
        return;
    if (row < 0 || row >= m_rows || row == currentRow())
        return;
    Guard::run([&] { m_dataSet->setViewCurrentRow(row); });
}

// ---- The dataset's notifications ------------------------------------------------------

void TDataSetModel::dataSetReset(TDataSet *)
{
    Following f(m_following);
    beginResetModel();
    rebuild();
    endResetModel();
    emit currentRowChanged(currentRow());
}

void TDataSetModel::cursorMoved(TDataSet *)
{
    Following f(m_following);
    emit currentRowChanged(currentRow());
}

void TDataSetModel::rowInserted(TDataSet *, int row)
{
    Following f(m_following);
    if (row < 0 || row > m_rows) {
        dataSetReset(m_dataSet);
        return;
    }
    // The dataset has the row already; the views hear of it first.
    m_shiftAt = row;
    m_shift = -1;
    beginInsertRows(QModelIndex(), row, row);
    m_shiftAt = -1;
    m_shift = 0;
    ++m_rows;
    endInsertRows();
}

void TDataSetModel::rowRemoved(TDataSet *, int row)
{
    Following f(m_following);
    if (row < 0 || row >= m_rows) {
        dataSetReset(m_dataSet);
        return;
    }
    m_shiftAt = row;
    m_shift = 1;
    beginRemoveRows(QModelIndex(), row, row);
    m_shiftAt = -1;
    m_shift = 0;
    --m_rows;
    endRemoveRows();
}

void TDataSetModel::rowChanged(TDataSet *, int row)
{
    Following f(m_following);
    if (row >= 0 && row < m_rows && !m_columns.isEmpty())
        emit dataChanged(index(row, 0), index(row, int(m_columns.size()) - 1));
}

void TDataSetModel::recordChanged(TDataSet *, TField *field)
{
    Following f(m_following);
    const int row = currentRow();
    if (row < 0 || m_columns.isEmpty())
        return;
    const int column = field ? m_columns.indexOf(field->Index()) : -1;
    if (field && column < 0)
        return;
    if (column >= 0)
        emit dataChanged(index(row, column), index(row, column));
    else
        emit dataChanged(index(row, 0), index(row, int(m_columns.size()) - 1));
}

void TDataSetModel::dataSetDestroyed(TDataSet *)
{
    m_dataSet = nullptr;
    beginResetModel();
    rebuild();
    endResetModel();
}
