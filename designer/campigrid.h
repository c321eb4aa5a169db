#pragma once

#include <QPointer>
#include <QStyledItemDelegate>
#include <QTableView>

class QLineEdit;

// The field grid. Its one editable column, the label, takes 31 typed
// characters but keeps a longer loaded text whole.
class TCampiGrid : public QTableView
{
    Q_OBJECT
public:
    explicit TCampiGrid(QWidget *parent = nullptr);
    // Stores what an open cell editor holds, so nothing is pending when rows
    // change or the script is composed.
    void commitOpenEditor();

private:
    friend class TCampiDelegate;
    QPointer<QWidget> m_editor;
};

class TCampiDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    static constexpr int MaxTyped = 31;
    explicit TCampiDelegate(TCampiGrid *grid);
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;

private:
    TCampiGrid *m_grid;
};
