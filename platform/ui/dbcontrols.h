#pragma once

#include "fieldbinder.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStringList>

class QButtonGroup;
class QValidator;
class QVBoxLayout;

// The data-aware edit controls. Each shows one field of its dataset's
// current record and writes the user's changes into it; Change is sent
// whenever the control shows a record's value anew (a move, a reopening, a
// new record, also when the value is the same) and on every change the
// user makes. A closed dataset empties the control without a Change.

// A line edit: at most the column's size in characters; an integer column
// takes only a sign and digits.
class TDBEdit : public QLineEdit
{
    Q_OBJECT
public:
    explicit TDBEdit(QWidget *parent = nullptr);
    void bind(TDataSet *dataSet, const QString &fieldName);
    TField *Field() const { return m_binder.Field(); }
    // The class library's Color: the box's background.
    void setColor(const QColor &colour);

signals:
    void Change();

private:
    void showField();
    void edited(const QString &text);
    void applyLimits();
    bool integerField() const;
    TFieldBinder m_binder;
    QValidator *m_integerInput;
};

// A multi-line edit over a text field or a blob. Lines are kept with CR LF,
// as the suite stores them.
class TDBMemo : public QPlainTextEdit
{
    Q_OBJECT
public:
    explicit TDBMemo(QWidget *parent = nullptr);
    void bind(TDataSet *dataSet, const QString &fieldName);
    TField *Field() const { return m_binder.Field(); }
    QString text() const;

signals:
    void Change();

private:
    void showField();
    void edited();
    TFieldBinder m_binder;
    bool m_showing = false;
};

// A check box: ticked when the field's text is ValueChecked (ignoring
// case); a NULL or any other value shows unticked and stays in the field
// until the user clicks.
class TDBCheckBox : public QCheckBox
{
    Q_OBJECT
public:
    explicit TDBCheckBox(QWidget *parent = nullptr);
    explicit TDBCheckBox(const QString &caption, QWidget *parent = nullptr);
    void bind(TDataSet *dataSet, const QString &fieldName);
    TField *Field() const { return m_binder.Field(); }

    QString ValueChecked = QStringLiteral("1");
    QString ValueUnchecked = QStringLiteral("0");

signals:
    void Change();

private:
    void showField();
    void userClicked(bool checked);
    TFieldBinder m_binder;
};

// A captioned group of radio buttons, one per item; the field holds the
// item's value (the item's caption when it has no value). A value matching
// no item checks no button.
class TDBRadioGroup : public QGroupBox
{
    Q_OBJECT
public:
    explicit TDBRadioGroup(QWidget *parent = nullptr);
    explicit TDBRadioGroup(const QString &caption, QWidget *parent = nullptr);
    void bind(TDataSet *dataSet, const QString &fieldName);
    TField *Field() const { return m_binder.Field(); }

    void setItems(const QStringList &items, const QStringList &values = QStringList());
    QStringList Items() const { return m_items; }
    QStringList Values() const { return m_values; }
    // The checked button; -1 when none is.
    int ItemIndex() const;

signals:
    void Change();

private:
    QString valueOf(int item) const;
    void showField();
    void userClicked(int item);
    TFieldBinder m_binder;
    QStringList m_items, m_values;
    QButtonGroup *m_buttons;
    QVBoxLayout *m_layout;
};
