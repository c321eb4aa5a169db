#include "benchsupport.h"

#include "ibdatabase.h"
#include "ibsql.h"
#include "inifile.h"
#include "messages.h"
#include "pathutil.h"
#include "tabform.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace BenchSupport {

bool initialize(int argc, char **argv)
{
    std::vector<char *> arguments(argv, argv + argc);
    bool chosen = false;
    for (int i = 1; i < argc; ++i)
        chosen = chosen || std::strstr(argv[i], "random_interleaving") != nullptr;
    static char interleaving[] = "--benchmark_enable_random_interleaving=true";
    if (!chosen)
        arguments.push_back(interleaving);
    int n = int(arguments.size());
    benchmark::Initialize(&n, arguments.data());
    return !benchmark::ReportUnrecognizedArguments(n, arguments.data());
}

int repetitions()
{
    return std::max(kRepetitions, qEnvironmentVariableIntValue("BENCH_REPETITIONS"));
}

void repeated(benchmark::internal::Benchmark *b)
{
    b->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(repetitions());
}

// Colours only on a terminal: a reporter of one's own misses the flag.
Medians::Medians()
    : ConsoleReporter(isatty(fileno(stdout)) ? OO_Defaults : OO_Tabular)
{
}

void Medians::ReportRuns(const std::vector<Run> &runs)
{
    for (const Run &r : runs) {
        if (r.run_type == Run::RT_Aggregate && r.aggregate_name == "median")
            m_medians[r.run_name.function_name] = r.GetAdjustedRealTime();
    }
    ConsoleReporter::ReportRuns(runs);
}

std::optional<double> Medians::ratio(const std::string &measure, const std::string &floor) const
{
    const auto m = m_medians.find(measure);
    const auto f = m_medians.find(floor);
    if (m == m_medians.end() || f == m_medians.end())
        return std::nullopt;
    return m->second / f->second;
}

bool reportRatio(const std::string &label, double ratio, double maximum)
{
    std::printf("%s (medians): %.2f (target <= %.1f)\n", label.c_str(), ratio, maximum);
    return ratio <= maximum;
}

void reportErrorBoxes()
{
    Messages::setResponder([](const TMessage &m) {
        if (m.kind == TMsgDlgType::Error)
            std::fprintf(stderr, "error box: %s\n", qPrintable(m.text));
        return int(mrOk);
    });
}

// ---- The user database ---------------------------------------------------------

namespace {

// QTemporaryDir's own default name, in `parent` when one is named.
QString folderTemplate(const QString &parent)
{
    QString name = QCoreApplication::applicationName();
    if (name.isEmpty())
        name = QStringLiteral("qt_temp");
    return (parent.isEmpty() ? QDir::tempPath() : parent) + QLatin1Char('/') + name +
           QStringLiteral("-XXXXXX");
}

} // namespace

UserDatabase::UserDatabase(const QString &server, const QString &parent)
    : folder(folderTemplate(parent))
{
    const QString programFolder = folder.path() + QLatin1Char('/');
    if (!server.isEmpty()) {
        QDir(programFolder).mkpath(QStringLiteral("user"));
        TIniFile ini(programFolder + QStringLiteral("user/dati.ini"));
        ini.WriteString(QStringLiteral("CONFIG"), QStringLiteral("Nome Server"), server);
        ini.WriteString(QStringLiteral("CONFIG"), QStringLiteral("Alias"),
                        programFolder + QStringLiteral("user/user.fdb"));
    }
    setProgramFolder(programFolder);
    tab = std::make_unique<TTabForm>();
    if (!tab->ConnettiDatabaseArchivi())
        qFatal("no user database%s%s", server.isEmpty() ? "" : " through ", qPrintable(server));
}

UserDatabase::~UserDatabase() = default;

TIBDatabase *UserDatabase::db() const
{
    return tab->IBDatabase1;
}

TIBTransaction *UserDatabase::tr() const
{
    return tab->IBTransaction1;
}

void fillUsers(TIBDatabase *db, int users, int companies, int parameters, bool signIn)
{
    TIBTransaction tr;
    tr.setDefaultDatabase(db);
    TIBSQL utente;
    utente.setDatabase(db);
    utente.setTransaction(&tr);
    utente.SQL = QStringList{
        signIn ? QStringLiteral("INSERT INTO UTENTI (CODICE,NOMEUTENTE,PWDUTENTE,DITTA,"
                                "PROFILOSICUREZZA,PROGETTO) VALUES (:C,:N,:P,:D,1,1)")
               : QStringLiteral("INSERT INTO UTENTI (CODICE,NOMEUTENTE,DITTA) VALUES (:C,:N,:D)")};
    TIBSQL riga;
    riga.setDatabase(db);
    riga.setTransaction(&tr);
    riga.SQL = QStringList{"INSERT INTO TABPRAVLIN (UTENTE,INTESTAZIONE,PARAMETRO,VALORE,"
                           "PROGRESSIVO) VALUES (:U,:I,:P,:V,:O)"};
    for (int u = 1; u <= users; ++u) {
        utente.ParamByName("C").setAsInteger(u);
        utente.ParamByName("N").setAsString(QStringLiteral("Utente %1").arg(u));
        if (signIn)
            utente.ParamByName("P").setAsString(QStringLiteral("pwd%1").arg(u));
        utente.ParamByName("D").setAsString(QStringLiteral("Ditta 00"));
        utente.ExecQuery();
        int progressivo = 0;
        for (int d = companies - 1; d >= 0; --d) {
            for (int p = 0; p < parameters; ++p) {
                const QString valore = QStringLiteral("C:\\Suite\\Dati\\D%1\\l'archivio%2_%3\\")
                                           .arg(d)
                                           .arg(p)
                                           .arg(u % 97);
                riga.ParamByName("U").setAsInteger(u);
                riga.ParamByName("I").setAsString(
                    QStringLiteral("Ditta %1").arg(d, 2, 10, QChar('0')));
                riga.ParamByName("P").setAsString(QStringLiteral("Parametro %1").arg(p));
                riga.ParamByName("V").setAsString(QString(valore).replace('\'', QChar(0xB4)));
                riga.ParamByName("O").setAsInteger(++progressivo);
                riga.ExecQuery();
            }
        }
    }
    tr.Commit();
}

// ---- The server ----------------------------------------------------------------

namespace {

// The script's own lines go to standard error, apart from the figures.
bool runScript(const QStringList &arguments)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p.start(QStringLiteral("bash"), QStringList{QStringLiteral(FBSERVER_SCRIPT)} + arguments);
    const bool finished = p.waitForFinished(-1);
    std::fputs(p.readAllStandardOutput().constData(), stderr);
    return finished && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

} // namespace

FirebirdServer::FirebirdServer(const char *variable, const QString &folder)
{
    m_address = qEnvironmentVariable(variable).trimmed();
    if (!m_address.isEmpty())
        return;
    QString where = folder;
    if (where.isEmpty()) {
        m_temporary = std::make_unique<QTemporaryDir>();
        where = m_temporary->path() + QStringLiteral("/fb");
    }
    // A few ports, in case one is taken.
    for (int attempt = 0; attempt < 5; ++attempt) {
        const int port = 31000 + (getpid() + 37 * attempt) % 1000;
        if (runScript({QStringLiteral("start"), where, QString::number(port)})) {
            m_folder = where;
            m_address = QStringLiteral("127.0.0.1/%1").arg(port);
            return;
        }
    }
}

FirebirdServer::~FirebirdServer()
{
    if (m_folder.isEmpty())
        return;
    if (!runScript({QStringLiteral("stop"), m_folder}))
        std::fprintf(stderr, "%s: the private server did not stop\n",
                     qPrintable(QCoreApplication::applicationName()));
}

} // namespace BenchSupport
