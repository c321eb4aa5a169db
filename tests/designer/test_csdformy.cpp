#include "../support/testlib/testlibrecorder.h"
#include "csdfinestre.h"
#include "csdformy.h"
#include "library.h"
#include "messagerecorder.h"
#include "scriptsamples.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(EseguiShowCSDFormY, HandsTheComposedScriptToTheFormsLibrary)
{
    TestLibRecorder norvak(testLibsDir() + "/Norvak.dll");
    ASSERT_TRUE(norvak.valid());
    norvak.reset();
    MessageRecorder messages;
    TCSDForm f;
    f.NomeTabella = "ARTICOLI€";
    TLibrary::setSearchFolder(testLibsDir());
    EXPECT_TRUE(EseguiShowCSDFormY(f.GetXML(), 12));
    EXPECT_EQ(norvak.lastCall(), "ShowCSDFormY|12|0|" + f.GetXML());

    QTemporaryDir empty;
    TLibrary::setSearchFolder(empty.path());
    messages.expect(TMsgDlgType::Warning, "Attenzione: file \"Norvak.dll\" mancante");
    EXPECT_FALSE(EseguiShowCSDFormY(f.GetXML(), 0));
    TLibrary::setSearchFolder(testLibsDir() + "/noexport");
    messages.expect(TMsgDlgType::Warning,
                    "Attenzione: funzione \"ShowCSDFormY\" non trovata nel file \"Norvak.dll\"");
    EXPECT_FALSE(EseguiShowCSDFormY(f.GetXML(), 0));
    TLibrary::setSearchFolder(QString());
    EXPECT_EQ(messages.pending(), 0);
}
