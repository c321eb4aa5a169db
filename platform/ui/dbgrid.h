#pragma once

#include "datasetmodel.h"

#include <QColor>
#include <QStringList>
#include <QTableView>

// The class library's clBackground, the Windows desktop colour, with which
// the editors paint marked rows (black text on it) and read-only key boxes.
// The desktop is often black; this light blue keeps black text readable.
inline const QColor clBackground{0xB9, 0xD1, 0xEA};

// The data-aware grid: a read-only table over a dataset whose current cell
// is the dataset's current record, both ways. Rows have one fixed height, so
// a view of many rows measures none of them. Disabled (its window editing),
// it still shows its rows as they are, the current one included.
class TDBGrid : public QTableView
{
    Q_OBJECT
public:
    explicit TDBGrid(QWidget *parent = nullptr);

    TDataSet *DataSet() const { return m_model->DataSet(); }
    void setDataSet(TDataSet *dataSet) { m_model->setDataSet(dataSet); }
    TDataSetModel *Model() const { return m_model; }

signals:
    // A double click anywhere on the rows: the current row is the clicked one.
    void DblClick();
    // Keys as they go down and come up; a held key's repeats are not sent.
    void KeyDown(int key, Qt::KeyboardModifiers modifiers);
    void KeyUp(int key, Qt::KeyboardModifiers modifiers);

protected:
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;

private:
    void followDataSet(int row);
    void fitColumns();
    int displayWidth(const TField *field) const;

    TDataSetModel *m_model;
    bool m_placing = false;
    QStringList m_fittedColumns;
};
