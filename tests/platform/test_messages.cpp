#include "dberrortext.h"
#include "guard.h"
#include "iberror.h"
#include "messagerecorder.h"
#include "messages.h"
#include "modaldriver.h"

#include <QDialog>
#include <QTest>
#include <gtest/gtest.h>

TEST(Messages, RecorderSeesKindTextAndAnswers)
{
    MessageRecorder rec;
    rec.expect(TMsgDlgType::Confirmation, QStringLiteral("Procedere?"), mrYes)
        .expect(TMsgDlgType::Confirmation, QStringLiteral("Davvero?"), mrNo)
        .expect(TMsgDlgType::None, QStringLiteral("Fatto"));
    EXPECT_TRUE(Messages::confirm(QStringLiteral("Procedere?")));
    EXPECT_FALSE(Messages::confirm(QStringLiteral("Davvero?")));
    Messages::plain(QStringLiteral("Fatto"));
    ASSERT_EQ(rec.seen().size(), 3);
    EXPECT_EQ(rec.seen()[0].buttons, TMsgDlgButtons::YesNo);
    EXPECT_EQ(rec.seen()[2].buttons, TMsgDlgButtons::Ok);
}

TEST(Guard, ShowsTheExceptionMessageAndReportsFailure)
{
    MessageRecorder rec;
    // A conflict with another administrator is said first, in Italian.
    rec.expect(TMsgDlgType::Error, DbErrorText::MsgConflitto +
                                       QStringLiteral("\rlock conflict on no wait transaction"));
    int after = 0;
    const bool ok = Guard::run([&] {
        throw EIBError(QStringLiteral("lock conflict on no wait transaction"), {335544345});
        after = 1;
    });
    EXPECT_FALSE(ok);
    EXPECT_EQ(after, 0);
    EXPECT_TRUE(Guard::run([] {}));
}

TEST(Guard, EventHandlerExceptionDoesNotEscapeTheEventLoop)
{
    MessageRecorder rec;
    rec.expect(TMsgDlgType::Error, QStringLiteral("boom"));
    QObject target;
    struct Thrower : QObject
    {
        bool event(QEvent *) override { throw std::runtime_error("boom"); }
    } thrower;
    QEvent ev(QEvent::User);
    QCoreApplication::sendEvent(&thrower, &ev);
    EXPECT_EQ(rec.seen().size(), 1);
}

TEST(Modal, RunnerDrivesTheDialog)
{
    Modal::setRunner([](QDialog *d) {
        d->done(1);
        return d->result();
    });
    QDialog dlg;
    EXPECT_EQ(Modal::exec(&dlg), 1);
    Modal::setRunner([](QDialog *d) {
        d->show();
        d->close(); // the close box
        return d->result();
    });
    QDialog closed;
    EXPECT_EQ(Modal::exec(&closed), int(mrCancel));
    Modal::setRunner({});
}

TEST(MessagesReal, BoxesAreCaptionedByKindOrByTheProgramTitle)
{
    const QString title = QCoreApplication::applicationName();
    QCoreApplication::setApplicationName(QStringLiteral("Amministrazione"));
    QStringList captions;
    auto readAndClose = [&](QWidget *box) {
        captions << box->windowTitle();
        QTest::keyClick(box, Qt::Key_Escape);
    };
    {
        ModalDriver driver(readAndClose);
        Messages::plain(QStringLiteral("Fatto"));
    }
    {
        ModalDriver driver(readAndClose);
        Messages::warning(QStringLiteral("Attenzione!"));
    }
    QCoreApplication::setApplicationName(title);
    EXPECT_EQ(captions, QStringList({"Amministrazione", "Attenzione"}));
}
