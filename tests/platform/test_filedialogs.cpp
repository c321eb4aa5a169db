#include "filedialogs.h"
#include "modaldriver.h"
#include "qttranslations.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

// Qt's real dialog, driven as the administrator would: no responder.
namespace {

QLineEdit *fileNameBox(QWidget *dialog)
{
    return dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
}

// Types a name into the dialog's name box and presses Enter.
ModalDriver::Action typeAndEnter(const QString &name, QString *acceptText = nullptr)
{
    return [=](QWidget *w) {
        auto *dialog = qobject_cast<QFileDialog *>(w);
        ASSERT_NE(dialog, nullptr);
        QLineEdit *box = fileNameBox(dialog);
        ASSERT_NE(box, nullptr);
        if (acceptText) {
            auto *buttons = dialog->findChild<QDialogButtonBox *>();
            ASSERT_NE(buttons, nullptr);
            *acceptText = buttons->button(QDialogButtonBox::Open)->text();
        }
        QTest::keyClicks(box, name);
        QTest::keyClick(box, Qt::Key_Return);
    };
}

const QString kFilter = QStringLiteral("Archivi Interbase (*.gdb;*.fdb)|*.gdb;*.fdb");

} // namespace

TEST(FileDialogsReal, OpenTakesATypedNameOfAFileStillToBeMade)
{
    ASSERT_TRUE(loadQtItalian());
    QTemporaryDir dir;
    QString acceptText;
    QString chosen;
    {
        ModalDriver driver(typeAndEnter(QStringLiteral("nuovo.fdb"), &acceptText));
        chosen = FileDialogs::open(nullptr, kFilter, dir.path());
        EXPECT_TRUE(driver.acted());
        EXPECT_FALSE(driver.timedOut());
    }
    EXPECT_EQ(chosen, dir.path() + QStringLiteral("/nuovo.fdb"));
    EXPECT_FALSE(QFile::exists(chosen)); // only named, not made
    // Qt's own texts are Italian.
    EXPECT_EQ(acceptText.remove(QLatin1Char('&')), QStringLiteral("Apri"));

    ModalDriver cancel([](QWidget *w) { QTest::keyClick(w, Qt::Key_Escape); });
    EXPECT_EQ(FileDialogs::open(nullptr, kFilter, dir.path()), QString());
    EXPECT_TRUE(cancel.acted());
}

TEST(FileDialogsReal, OpenOfAFileThatMustExist)
{
    QTemporaryDir dir;
    QFile existing(dir.path() + QStringLiteral("/vecchio.fdb"));
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.close();

    ModalDriver driver(typeAndEnter(QStringLiteral("vecchio.fdb")));
    EXPECT_EQ(
        FileDialogs::open(nullptr, kFilter, dir.path(), FileDialogs::OpenOption::FileMustExist),
        existing.fileName());
    EXPECT_FALSE(driver.timedOut());
}

TEST(FileDialogs, RequestTellsWhetherTheFileMustExist)
{
    QList<bool> mustExist;
    FileDialogs::setResponder([&](const FileDialogRequest &r) {
        mustExist << r.mustExist;
        return QString();
    });
    FileDialogs::open(nullptr, kFilter);
    FileDialogs::open(nullptr, kFilter, QString(), FileDialogs::OpenOption::FileMustExist);
    FileDialogs::setResponder({});
    EXPECT_EQ(mustExist, QList<bool>({false, true}));
}

TEST(FileDialogs, ClassLibraryFiltersBecomeQtFilters)
{
    EXPECT_EQ(FileDialogs::qtFilter("Archivi Interbase (*.gdb;*.fdb)|*.gdb;*.fdb"),
              "Archivi Interbase (*.gdb *.fdb)");
    EXPECT_EQ(FileDialogs::qtFilter("Testo|*.txt|Tutti|*.*"), "Testo (*.txt);;Tutti (*.*)");
}
