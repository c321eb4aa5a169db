#pragma once

#include <QDateTime>
#include <QString>
#include <QVariant>
#include <QVector>
#include <stdexcept>

class TDataSet;

// The error a dataset raises for a misuse (a field that does not exist, a
// write outside edit or insert...). Database failures stay EIBError.
class EDatabaseError : public std::runtime_error
{
public:
    explicit EDatabaseError(const QString &message);
    QString message() const { return QString::fromUtf8(what()); }
};

// The class library's field types, in its order. A dataset decides which of
// them it can hold.
enum TFieldType {
    ftUnknown,
    ftString,
    ftSmallint,
    ftInteger,
    ftWord,
    ftBoolean,
    ftFloat,
    ftCurrency,
    ftBCD,
    ftDate,
    ftTime,
    ftDateTime,
    ftBytes,
    ftVarBytes,
    ftAutoInc,
    ftBlob,
    ftMemo,
    ftGraphic,
    ftFmtMemo,
    ftParadoxOle,
    ftDBaseOle,
    ftTypedBinary,
    ftCursor,
    ftFixedChar,
    ftWideString,
    ftLargeint,
    ftADT,
    ftArray,
    ftReference,
    ftDataSet,
    ftOraBlob,
    ftOraClob,
    ftVariant,
    ftInterface,
    ftIDispatch,
    ftGuid,
    ftTimeStamp,
    ftFMTBcd
};

namespace FieldTypes {
// Text kept to the field's size.
bool isSizedText(TFieldType t);
// Blob kinds: held whole, never cut.
bool isBlob(TFieldType t);
// Converts a value to what a field of this type holds: QString for text,
// int, qint64, double, bool, QDate, QTime, QDateTime, QByteArray for binary.
// Empty text gives NULL for every non-text type. Raises EConvertError.
QVariant coerce(TFieldType type, int size, const QVariant &value);
} // namespace FieldTypes

struct TFieldDef
{
    QString Name;
    TFieldType DataType = ftUnknown;
    int Size = 0;
    bool Required = false;
};

// The column definitions of a dataset. While their dataset is open they are
// what its records and field objects were built on, so every change is
// refused then; a copy belongs to no dataset.
class TFieldDefs
{
public:
    TFieldDefs() = default;
    explicit TFieldDefs(const TDataSet *owner)
        : m_owner(owner)
    {
    }
    TFieldDefs(const TFieldDefs &o)
        : m_defs(o.m_defs)
    {
    }
    TFieldDefs &operator=(const TFieldDefs &o);

    void Add(const QString &name, TFieldType type, int size = 0, bool required = false);
    void Clear();
    int Count() const { return m_defs.size(); }
    const TFieldDef &operator[](int i) const { return m_defs[i]; }
    // For changing one definition.
    TFieldDef &Items(int i);
    // Case-insensitive; -1 when absent.
    int IndexOf(const QString &name) const;
    bool operator==(const TFieldDefs &o) const;
    bool operator!=(const TFieldDefs &o) const { return !(*this == o); }

private:
    void checkChangeable() const;

    QVector<TFieldDef> m_defs;
    const TDataSet *m_owner = nullptr;
};

// One column of a dataset. The value lives in the dataset (the current record
// or the edit buffer); the field only knows its place and type.
class TField
{
public:
    TField(TDataSet *dataSet, int fieldNo, const TFieldDef &def);

    TDataSet *DataSet() const { return m_dataSet; }
    QString FieldName() const { return m_def.Name; }
    TFieldType DataType() const { return m_def.DataType; }
    int Size() const { return m_def.Size; }
    int Index() const { return m_fieldNo; }
    const TFieldDef &Def() const { return m_def; }

    bool Required = false;
    bool ReadOnly = false;
    bool Visible = true;
    QString DisplayLabel;
    QString DisplayName() const { return DisplayLabel.isEmpty() ? m_def.Name : DisplayLabel; }

    bool IsNull() const;
    QVariant Value() const;
    QVariant AsVariant() const { return Value(); }
    QString AsString() const;
    int AsInteger() const;
    qint64 AsLargeInt() const;
    double AsFloat() const;
    bool AsBoolean() const;
    QDateTime AsDateTime() const;
    QDate AsDate() const { return AsDateTime().date(); }
    QByteArray AsBytes() const;

    // Every write converts to the field's type and keeps text to Size.
    void setValue(const QVariant &v);
    void setAsVariant(const QVariant &v) { setValue(v); }
    void setAsString(const QString &s) { setValue(s); }
    void setAsInteger(int i) { setValue(i); }
    void setAsLargeInt(qint64 i) { setValue(i); }
    void setAsFloat(double d) { setValue(d); }
    void setAsBoolean(bool b) { setValue(b); }
    void setAsDateTime(const QDateTime &dt) { setValue(dt); }
    void setAsDate(const QDate &d) { setValue(d); }
    void setAsBytes(const QByteArray &b) { setValue(b); }
    void Clear() { setValue(QVariant()); }

private:
    friend class TDataSet;
    TDataSet *m_dataSet;
    int m_fieldNo;
    TFieldDef m_def;
};
