#include "busycursor.h"
#include "ibdatabase.h"
#include "messages.h"
#include "testdb.h"

#include <QApplication>
#include <QCursor>
#include <QElapsedTimer>
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// A server that takes every connection and never says a word: the kernel
// completes the handshake on the listening socket and nobody reads.
class SilentServer
{
public:
    SilentServer()
    {
        m_fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof a;
        if (m_fd < 0 || ::bind(m_fd, reinterpret_cast<sockaddr *>(&a), len) != 0 ||
            ::listen(m_fd, 8) != 0 ||
            ::getsockname(m_fd, reinterpret_cast<sockaddr *>(&a), &len) != 0)
            ADD_FAILURE() << "cannot listen on the loopback";
        m_port = ntohs(a.sin_port);
    }
    ~SilentServer() { ::close(m_fd); }
    QString databaseName() const
    {
        return QStringLiteral("127.0.0.1/%1:/dati/user.fdb").arg(m_port);
    }

private:
    int m_fd = -1;
    int m_port = 0;
};

// Attaches (or creates) and answers the failure with the time it took.
EIBError attachFailure(const QString &name, bool create, qint64 &ms)
{
    TIBDatabase db;
    db.DatabaseName = name;
    db.Params = create ? QStringList{"USER \"SYSDBA\"", "PASSWORD \"plumtree7\"", "PAGE_SIZE 4096"}
                       : connectionParams();
    QElapsedTimer clock;
    clock.start();
    try {
        create ? db.CreateDatabase() : db.Open();
    } catch (const EIBError &e) {
        ms = clock.elapsed();
        return e;
    }
    ADD_FAILURE() << "the silent server should not connect";
    return EIBError(QString());
}

} // namespace

TEST(ConnectTimeout, SilentServerFailsAfterTenSecondsWithAClearError)
{
    ASSERT_EQ(TIBDatabase::connectTimeout(), 10);
    SilentServer server;
    qint64 ms = 0;
    const EIBError e = attachFailure(server.databaseName(), false, ms);
    EXPECT_LT(ms, 20000);
    EXPECT_GE(ms, 9000);
    EXPECT_TRUE(e.message().startsWith("Il server non ha risposto entro 10 secondi\n"))
        << e.message().toStdString();
    // Not a file that could be created in its place.
    EXPECT_FALSE(e.isFileOpenFailure());
}

TEST(ConnectTimeout, CreationWaitsNoLongerThanTheTimeoutEither)
{
    TIBDatabase::setConnectTimeout(1);
    SilentServer server;
    qint64 ms = 0;
    const EIBError e = attachFailure(server.databaseName(), true, ms);
    TIBDatabase::setConnectTimeout(0);
    EXPECT_EQ(TIBDatabase::connectTimeout(), 10);
    EXPECT_LT(ms, 5000);
    EXPECT_TRUE(e.message().startsWith("Il server non ha risposto entro 1 secondi\n"))
        << e.message().toStdString();
}

TEST(ConnectTimeout, RefusedConnectionIsReportedAsItIs)
{
    // Nothing listens on port 1: refused at once, which is no silence.
    qint64 ms = 0;
    const EIBError e = attachFailure("127.0.0.1/1:/dati/user.fdb", false, ms);
    EXPECT_LT(ms, 5000);
    EXPECT_FALSE(e.message().startsWith("Il server non ha risposto")) << e.message().toStdString();
}

TEST(BusyCursor, WaitCursorForTheScopeAndTheNormalOneWhileABoxIsUp)
{
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    Qt::CursorShape duringBox = Qt::BlankCursor;
    Messages::setResponder([&](const TMessage &m) {
        duringBox = QApplication::overrideCursor()->shape();
        EXPECT_EQ(m.text, "Effettuata creazione data base");
        return int(mrOk);
    });
    {
        const BusyCursor outer;
        {
            const BusyCursor inner;
            EXPECT_EQ(BusyCursor::depth(), 2);
            Messages::plain("Effettuata creazione data base");
            EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        }
        EXPECT_EQ(BusyCursor::depth(), 1);
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    }
    Messages::setResponder({});
    EXPECT_EQ(duringBox, Qt::ArrowCursor);
    EXPECT_EQ(BusyCursor::depth(), 0);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    // Outside a busy scope a box leaves the cursor alone.
    Messages::setResponder([&](const TMessage &) {
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        return int(mrOk);
    });
    Messages::plain("Fatto");
    Messages::setResponder({});
}
