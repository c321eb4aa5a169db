#pragma once

#include "field.h"

#include <QString>
#include <QStringList>
#include <optional>

// The statements a record editor runs on its table, as text lines. Values
// are never part of the text: keys of the editor's parent, the new code and
// the code typed by the user are ":NAME" parameters.
namespace EditorSQL {

// "SELECT * FROM T ORDER BY K1,K2", with "WHERE P=:P" for the columns fixed
// by the editor's parent.
QStringList selectAll(const QString &table, const QStringList &keyFields,
                      const QStringList &parentFields);
// The key condition of the modify statement ("OLD_") or the delete statement:
// "WHERE (CODICE=:OLD_CODICE)", or one line per column joined by ")AND".
QStringList keyCondition(const QStringList &keyFields, const QString &prefix);
QStringList deleteStatement(const QString &table, const QStringList &keyFields);
// The highest code among the rows of the parent.
QStringList maxCode(const QString &table, const QString &codeField,
                    const QStringList &parentFields);
// Whether a row with this whole key exists.
QStringList keyExists(const QString &table, const QStringList &keyFields);

// A code typed by the user: an integer within the key column's range,
// blanks around it allowed; nothing otherwise.
std::optional<qint64> parseCode(const QString &text, TFieldType keyType);
// The range of the integer key types; SMALLINT for any other type.
qint64 minCode(TFieldType keyType);
qint64 maxCodeValue(TFieldType keyType);

} // namespace EditorSQL
