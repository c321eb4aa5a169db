#pragma once

#include "messagerecorder.h"
#include "tabform.h"
#include "testdb.h"

#include <QDialog>
#include <QString>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

// A signed-in archive object on a fresh user database (its first schema and
// the sign-in upgrade), in a scratch program folder with the two status
// pictures. Embedded, or through the private test server for suites that
// call useServer() in SetUp before anything else; firstSchemaOnly() there
// leaves out the upgrade.
class ArchiveTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;
    // Reaches the user database through the test server; skips without one.
    void useServer() { m_server = true; }
    // The database keeps the archive object's own first schema.
    void firstSchemaOnly() { m_upgrade = false; }
    QString cartella() const { return dir.path() + QLatin1Char('/'); }

    // Committed, through another connection: what other programs see.
    QString committed(const QString &sql);
    // paramCheck off sends the text unscanned (a block with ":VARIABLE"s).
    void other(const QString &sql, bool paramCheck = true);
    // Every row of a SELECT, each as its values joined by "|" (NULL empty):
    // as the shared transaction sees them, or as committed for others.
    QStringList righe(const QString &sql);
    QStringList righeCommitted(const QString &sql);
    // Ends the shared transaction, so a window opened next sees what other()
    // committed.
    void nuovoSnapshot();
    // Another administrator's unsaved change: `sql` on a connection of its
    // own, left uncommitted (rolled back when the result goes).
    std::shared_ptr<OtherConnection> inSospeso(const QString &sql);
    // The shared transaction waits one second for a lock, from its next start.
    void attesaBreve();
    // Shows a dialog as its callers do, through Modal::exec; `drive` presses
    // its buttons.
    int mostra(QDialog &dialog, const std::function<void()> &drive);

    QTemporaryDir dir;
    MessageRecorder rec;
    std::unique_ptr<TTabForm> tab;
    TTabForm *tabVar = nullptr;

private:
    bool m_server = false;
    bool m_upgrade = true;
};
