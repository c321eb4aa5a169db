#pragma once

#include "archivefixture.h"

// The archive fixture on the archive object's own first schema (DETTMENU
// without PARAMETRIBLOB).
class ProgramsTest : public ArchiveTest
{
protected:
    void SetUp() override;

    // Adds PARAMETRIBLOB as the programs editor would, without its warning.
    void conParametriBlob(const QString &tipo = QStringLiteral("BLOB SUB_TYPE TEXT"));
    void programma(int codice, const QString &nome);
    int caratteriPARAMETRIBLOB();
};
