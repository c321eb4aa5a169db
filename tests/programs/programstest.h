#pragma once

#include "messagerecorder.h"
#include "tabform.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

// A signed-in archive object on a fresh user database made with its own
// first schema (DETTMENU without PARAMETRIBLOB), in a scratch program
// folder with the pictures folder.
class ProgramsTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    QString cartella() const { return m_dir.path() + QLatin1Char('/'); }
    // Statements through another connection, committed: what other programs see.
    void other(const QString &sql);
    QString committed(const QString &sql);
    // Ends the shared transaction, so that it sees the rows made for the test.
    void nuovaIstantanea();
    // Adds PARAMETRIBLOB as the programs editor would, without its warning.
    void conParametriBlob(const QString &tipo = QStringLiteral("BLOB SUB_TYPE TEXT"));
    void programma(int codice, const QString &nome);
    int caratteriPARAMETRIBLOB();

    MessageRecorder rec;
    std::unique_ptr<TTabForm> tab;
    TTabForm *tabVar = nullptr;

private:
    QTemporaryDir m_dir;
};
