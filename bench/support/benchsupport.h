#pragma once

// What the benchmark programs share: a run of interleaved repetitions, their
// medians and each measure's ratio to its floor, a fresh user database made
// outside the timing, and a Firebird server to reach one through.

#include <QString>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class TIBDatabase;
class TIBTransaction;
class TTabForm;

namespace BenchSupport {

constexpr int kRepetitions = 7;

// kRepetitions, or more when BENCH_REPETITIONS asks for them (on a loaded
// machine the medians settle only over more runs).
int repetitions();

// Google Benchmark's own start, with the repetitions interleaved unless the
// command line says otherwise. False on an argument it does not know.
bool initialize(int argc, char **argv);

// For Apply(): one timed run per repetition, in milliseconds, repetitions()
// times, so the medians compare like with like.
void repeated(benchmark::internal::Benchmark *b);

// Keeps the medians while printing as usual.
class Medians : public benchmark::ConsoleReporter
{
public:
    Medians();
    void ReportRuns(const std::vector<Run> &runs) override;

    // The median of `measure` over the median of `floor`; nothing when a
    // filter left either out.
    std::optional<double> ratio(const std::string &measure, const std::string &floor) const;

private:
    std::map<std::string, double> m_medians;
};

// Prints "<label> (medians): <ratio> (target <= <maximum>)"; true within it.
bool reportRatio(const std::string &label, double ratio, double maximum);

// Error boxes on standard error, each answered with OK.
void reportErrorBoxes();

// A fresh user database in a temporary folder (inside `parent` when one is
// named) that becomes the program folder, through `server` ("host/port") when
// one is named. Fatal when the archive object cannot connect.
struct UserDatabase
{
    explicit UserDatabase(const QString &server = QString(), const QString &parent = QString());
    ~UserDatabase();

    TIBDatabase *db() const;
    TIBTransaction *tr() const;

    QTemporaryDir folder;
    std::unique_ptr<TTabForm> tab;
};

// `users` users (codes from 1, company "Ditta 00"), each with `companies`
// times `parameters` TABPRAVLIN rows of about 30 characters, an apostrophe
// (stored as "´") among them, the headings stored out of order so the
// database has to sort them. With `signIn` each user also gets a password,
// profile 1 and project 1. Committed at once.
void fillUsers(TIBDatabase *db, int users, int companies, int parameters, bool signIn = false);

// The server named by the environment variable `variable` ("127.0.0.1/<port>",
// SYSDBA password "plumtree7") when it is set; otherwise a private one started
// through scripts/fbserver.sh in `folder` (a temporary folder of its own when
// empty) and stopped with this object. The Debian server runs only as root or
// the firebird user, so elsewhere there is none and the address is empty.
class FirebirdServer
{
public:
    FirebirdServer(const char *variable, const QString &folder = QString());
    ~FirebirdServer();
    FirebirdServer(const FirebirdServer &) = delete;
    FirebirdServer &operator=(const FirebirdServer &) = delete;

    const QString &address() const { return m_address; }

private:
    std::unique_ptr<QTemporaryDir> m_temporary; // when no folder was given
    QString m_folder;                           // set only while a server of our own runs there
    QString m_address;
};

} // namespace BenchSupport
