#include "../support/testlib/testlibrecorder.h"
#include "ibquery.h"
#include "library.h"
#include "messagerecorder.h"
#include "suitelibraries.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QString pointerText(const void *p)
{
    return QString::number(quintptr(p));
}

class SuiteLibrariesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(norvak.valid());
        ASSERT_TRUE(tolq.valid());
        norvak.reset();
        tolq.reset();
        TLibrary::setSearchFolder(testLibsDir());
    }
    void TearDown() override { TLibrary::setSearchFolder(QString()); }

    MessageRecorder messages;
    TestLibRecorder norvak{testLibsDir() + "/Norvak.dll"};
    TestLibRecorder tolq{testLibsDir() + "/libTolq.so"};
    QTemporaryDir empty;
};

TEST(LibraryLoader, CandidatesKeepTheNameAndAddSharedObjectSpellings)
{
    EXPECT_EQ(TLibrary::candidates("Norvak.dll", "/opt/x"),
              QStringList({"/opt/x/Norvak.dll", "Norvak.dll"}));
    EXPECT_EQ(TLibrary::candidates("Tolq", "/opt/x/"),
              QStringList({"/opt/x/Tolq", "/opt/x/Tolq.so", "/opt/x/libTolq.so", "Tolq", "Tolq.so",
                           "libTolq.so"}));
    // A name with a folder is looked for only there.
    EXPECT_EQ(TLibrary::candidates("\\opt\\suite\\Norvak.dll", "/opt/x"),
              QStringList({"/opt/suite/Norvak.dll"}));
    EXPECT_TRUE(TLibrary::candidates("  ", "/opt/x").isEmpty());
}

TEST_F(SuiteLibrariesTest, LoaderFindsTheFileInTheSearchFolderIgnoringCase)
{
    TLibrary lib;
    ASSERT_TRUE(lib.load("NORVAK.DLL"));
    EXPECT_EQ(lib.fileName(), testLibsDir() + "/Norvak.dll");
    EXPECT_NE(lib.resolve("ShowCSDFormStatic"), nullptr);
    EXPECT_EQ(lib.resolve("NoSuchExport"), nullptr);
    lib.release();
    EXPECT_FALSE(lib.loaded());
    EXPECT_EQ(lib.resolve("ShowCSDFormStatic"), nullptr);

    TLibrary::setSearchFolder(empty.path());
    EXPECT_FALSE(lib.load("Norvak.dll"));
    EXPECT_FALSE(lib.errorString().isEmpty());
    EXPECT_FALSE(lib.load(""));
}

TEST_F(SuiteLibrariesTest, ShowCSDFormYPassesUserZeroAndWin1252Script)
{
    EXPECT_TRUE(SuiteLibraries::ShowCSDFormY(17, "<CSDForm>perché €</CSDForm>"));
    EXPECT_EQ(norvak.lastCall(), "ShowCSDFormY|17|0|<CSDForm>perché €</CSDForm>");
    EXPECT_TRUE(SuiteLibraries::ShowCSDFormY(0, ""));
    EXPECT_EQ(norvak.lastCall(), "ShowCSDFormY|0|0|");
    EXPECT_EQ(norvak.calls(), 2);
}

TEST_F(SuiteLibrariesTest, ShowCSDFormYWarnsWhenLibraryOrExportIsMissing)
{
    TLibrary::setSearchFolder(empty.path());
    messages.expect(TMsgDlgType::Warning, "Attenzione: file \"Norvak.dll\" mancante");
    EXPECT_FALSE(SuiteLibraries::ShowCSDFormY(1, "<CSDForm></CSDForm>"));

    TLibrary::setSearchFolder(testLibsDir() + "/noexport");
    messages.expect(TMsgDlgType::Warning,
                    "Attenzione: funzione \"ShowCSDFormY\" non trovata nel file \"Norvak.dll\"");
    EXPECT_FALSE(SuiteLibraries::ShowCSDFormY(1, "<CSDForm></CSDForm>"));
    EXPECT_EQ(messages.pending(), 0);
    EXPECT_EQ(norvak.calls(), 0);
}

TEST_F(SuiteLibrariesTest, TextOutsideTheCodePageStopsBeforeAnyCall)
{
    EXPECT_THROW(SuiteLibraries::ShowCSDFormY(1, "Ω"), Win1252::EncodingError);
    EXPECT_THROW(SuiteLibraries::ShowCSDFormStatic("db", "Ω"), Win1252::EncodingError);
    EXPECT_EQ(norvak.calls(), 0);
}

TEST_F(SuiteLibrariesTest, ShowCSDFormStaticPassesDatabaseNameZeroAndScript)
{
    EXPECT_TRUE(SuiteLibraries::ShowCSDFormStatic("srv:/data/archivi.fdb", "<CSDForm/>"));
    EXPECT_EQ(norvak.lastCall(), "ShowCSDFormStatic|srv:/data/archivi.fdb|0|<CSDForm/>");
}

TEST_F(SuiteLibrariesTest, OnlyShowCSDFormYSpeaksWhenSomethingIsMissing)
{
    QObject dataset;
    void *tabX = nullptr;
    for (const QString &folder : {empty.path(), testLibsDir() + "/noexport"}) {
        TLibrary::setSearchFolder(folder);
        EXPECT_FALSE(SuiteLibraries::ShowCSDFormStatic("db", "<CSDForm/>"));
        EXPECT_FALSE(SuiteLibraries::ShowTolqPrint(&dataset, &tabX));
        EXPECT_FALSE(SuiteLibraries::CallMenuEntry("Norvak.dll", "TestMenuEntry", 1));
    }
    TLibrary::setSearchFolder(testLibsDir());
    EXPECT_FALSE(SuiteLibraries::CallMenuEntry("Norvak.dll", "NoSuchFunction", 1));
    EXPECT_FALSE(SuiteLibraries::CallMenuEntry("Norvak.dll", "", 1));
    EXPECT_FALSE(SuiteLibraries::CallMenuEntry("Missing.dll", "TestMenuEntry", 1));
    EXPECT_TRUE(messages.seen().isEmpty());
    EXPECT_EQ(norvak.calls(), 0);
    EXPECT_EQ(tolq.calls(), 0);
}

TEST_F(SuiteLibrariesTest, PrintLibraryIsFoundAsLibTolqAndPicksTheExportByDatasetClass)
{
    TIBQuery query;
    QObject memTable;
    int tabXObject = 0;
    void *tabX = &tabXObject;

    EXPECT_TRUE(SuiteLibraries::ShowTolqPrint(&query, &tabX));
    EXPECT_EQ(tolq.lastCall(), "ShowTolq11FormD|" + pointerText(static_cast<QObject *>(&query)) +
                                   "|" + pointerText(&tabX) + "|" + pointerText(&tabXObject));
    EXPECT_TRUE(SuiteLibraries::ShowTolqPrint(&memTable, &tabX));
    EXPECT_EQ(tolq.lastCall(), "ShowTolq11MemFormD|" + pointerText(&memTable) + "|" +
                                   pointerText(&tabX) + "|" + pointerText(&tabXObject));
    EXPECT_EQ(norvak.calls(), 0);
}

TEST_F(SuiteLibrariesTest, PrintLibraryMayBeNamedTolqSo)
{
    // A library that is there under "Tolq.so" but lacks the export: the call
    // is skipped without a word, and no other spelling is tried after it.
    QTemporaryDir folder;
    ASSERT_TRUE(QFile::copy(testLibsDir() + "/noexport/Norvak.dll", folder.path() + "/Tolq.so"));
    TLibrary::setSearchFolder(folder.path());
    TLibrary lib;
    ASSERT_TRUE(lib.load("Tolq"));
    EXPECT_EQ(lib.fileName(), folder.path() + "/Tolq.so");
    QObject dataset;
    EXPECT_FALSE(SuiteLibraries::ShowTolqPrint(&dataset, nullptr));
    EXPECT_TRUE(messages.seen().isEmpty());
}

TEST_F(SuiteLibrariesTest, MenuEntryCallsTheNamedFunctionWithItsParameter)
{
    EXPECT_TRUE(SuiteLibraries::CallMenuEntry("Norvak.dll", "TestMenuEntry", -5));
    EXPECT_EQ(norvak.lastCall(), "TestMenuEntry|-5");
    EXPECT_TRUE(SuiteLibraries::CallMenuEntry(testLibsDir() + "/libTolq.so", "TestMenuEntry", 9));
    EXPECT_EQ(tolq.lastCall(), "TestMenuEntry|9");
}

} // namespace
