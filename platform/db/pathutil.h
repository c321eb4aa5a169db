#pragma once

#include <QString>

// File names reach the tool in Windows form: backslashes, and any mix of
// upper and lower case, since the suite was written for a file system that
// ignores case. These helpers map such names onto the local file system.

// The name with every "\" turned into "/".
QString toLocalPath(const QString &path);

// The path as it exists on disk. When the exact path is missing, each
// component is matched against its folder's entries ignoring case
// ("GRAFICA\VERDE.BMP" finds "Grafica/Verde.bmp"). Matching stops at the first
// component that has no counterpart; that component and the rest are kept as
// given, so a file about to be created lands in the existing folder. When
// nothing matches the answer is the input with "/" separators.
QString resolvePath(const QString &path);

// The folder of the running program, with a trailing "/".
QString programFolder();
// Makes programFolder() answer another folder (tests run the tool in a scratch
// folder); an empty folder restores the executable's.
void setProgramFolder(const QString &folder);
