#pragma once

#include "dataset.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QSet>
#include <QVector>
#include <functional>

// A read-only table over any dataset, one column per field (those hidden by
// name left out), one row per row the dataset's views show. It follows the
// dataset's notifications with the matching model signals, so a scroll or an
// edit never resets a view, and it reads values only for the cells a view
// asks about: blob cells show "(MEMO)" or "(BLOB)" without reading the blob.
class TDataSetModel : public QAbstractTableModel, public TDataSetObserver
{
    Q_OBJECT
public:
    // Colours of a row: left invalid, the view's own.
    using RowColourHook = std::function<void(int row, QColor &background, QColor &text)>;
    // May change the text a cell shows.
    using CellTextHook = std::function<void(int row, const TField *field, QString &text)>;

    explicit TDataSetModel(TDataSet *dataSet = nullptr, QObject *parent = nullptr);
    ~TDataSetModel() override;

    TDataSet *DataSet() const { return m_dataSet; }
    void setDataSet(TDataSet *dataSet);

    // Kept by name, so a hidden column stays hidden across reopenings.
    void setColumnHidden(const QString &fieldName, bool hidden = true);
    bool isColumnHidden(const QString &fieldName) const;
    TField *fieldOfColumn(int column) const;
    int columnOfField(const QString &fieldName) const;

    void setRowColourHook(RowColourHook hook) { m_rowColours = std::move(hook); }
    void setCellTextHook(CellTextHook hook) { m_cellText = std::move(hook); }

    // A value shown in a row, by field name: what the hooks look at.
    QVariant value(int row, const QString &fieldName) const;
    QString cellText(int row, int column) const;

    // The dataset's current row; -1 when there is none.
    int currentRow() const;
    // Makes a row current in the dataset, as a user's choice: a refused
    // move is reported and leaves the dataset where it was.
    void setCurrentRow(int row);
    // True while the model passes on a notification of its dataset; a view
    // does not send its own changes back then.
    bool following() const { return m_following > 0; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

signals:
    void currentRowChanged(int row);

private:
    void dataSetReset(TDataSet *) override;
    void cursorMoved(TDataSet *) override;
    void rowInserted(TDataSet *, int row) override;
    void rowRemoved(TDataSet *, int row) override;
    void rowChanged(TDataSet *, int row) override;
    void recordChanged(TDataSet *, TField *field) override;
    void dataSetDestroyed(TDataSet *) override;

    void rebuild();
    int dataSetRow(int row) const;
    QVariant rawValue(int row, int fieldNo) const;

    TDataSet *m_dataSet = nullptr;
    QSet<QString> m_hidden; // upper-case names
    QVector<int> m_columns; // field numbers
    int m_rows = 0;
    // While a view hears of an insert or removal the dataset has made
    // already, the model's row k at or after m_shiftAt is the dataset's row
    // k - m_shift.
    int m_shiftAt = -1;
    int m_shift = 0;
    int m_following = 0;
    RowColourHook m_rowColours;
    CellTextHook m_cellText;
};
