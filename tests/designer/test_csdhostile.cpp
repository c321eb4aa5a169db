#include "csdfinestre.h"
#include "scriptsamples.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>
#include <random>

// The reader against text that is not a script: every failure is our one
// exception, with its place, and leaves the object as it was.

namespace {

// An object already holding a script, so that a partial read would show.
std::unique_ptr<TCSDForm> loadedForm()
{
    auto f = std::make_unique<TCSDForm>();
    f->SetXML(ScriptSamples::fullForm()->GetXML());
    return f;
}

// Reads the text into a loaded object: true when it read; on failure checks
// that nothing changed and the message names the place.
bool readsOrFailsCleanly(const QString &text, QString *written = nullptr)
{
    auto f = loadedForm();
    const QString before = f->GetXML();
    try {
        f->SetXML(text);
    } catch (const EScriptXMLError &e) {
        EXPECT_EQ(f->GetXML(), before) << qPrintable(text.left(200));
        EXPECT_TRUE(e.message().startsWith("Script XML non valido alla riga "))
            << qPrintable(e.message());
        return false;
    }
    if (written)
        *written = f->GetXML();
    return true;
}

QString refusal(const QString &text)
{
    TCSDForm f;
    try {
        f.SetXML(text);
    } catch (const EScriptXMLError &e) {
        return e.message();
    }
    return QString();
}

} // namespace

TEST(ScriptHostile, EveryPrefixReadsOrFailsCleanly)
{
    const QString script = ScriptSamples::fullForm()->GetXML();
    int read = 0;
    for (int n = 0; n < script.size(); ++n)
        read += readsOrFailsCleanly(script.left(n)) ? 1 : 0;
    EXPECT_EQ(read, 0); // no proper prefix of a one-line script is whole
    EXPECT_TRUE(readsOrFailsCleanly(script));
}

TEST(ScriptHostile, SingleCharacterMutationsReadOrFailAndWhatReadsIsStable)
{
    const QString script = ScriptSamples::fullForm()->GetXML();
    const QString alphabet = QStringLiteral("<>/&;#\"'=!?[]-x \r\n\t\x01") + QChar(0xFFFF) +
                             QChar(0xD800) + QStringLiteral("àé€");
    std::mt19937 rng(20240518);
    int read = 0;
    const int runs = 4000;
    for (int i = 0; i < runs; ++i) {
        QString text = script;
        const int pos = int(rng() % unsigned(text.size()));
        const QChar ch = alphabet.at(int(rng() % unsigned(alphabet.size())));
        switch (rng() % 3) {
        case 0:
            text[pos] = ch;
            break;
        case 1:
            text.insert(pos, ch);
            break;
        default:
            text.remove(pos, 1);
            break;
        }
        QString first;
        if (!readsOrFailsCleanly(text, &first))
            continue;
        ++read;
        TCSDForm again;
        again.SetXML(first);
        EXPECT_EQ(again.GetXML(), first) << "mutation " << i;
    }
    // Both outcomes occur, so the run tests something on either side.
    EXPECT_GT(read, runs / 10);
    EXPECT_LT(read, runs - runs / 10);
}

TEST(ScriptHostile, DeepNestingIsRefusedQuickly)
{
    QString deep;
    const int levels = 100000;
    deep.reserve(levels * 7);
    deep += "<CSDForm>";
    for (int i = 0; i < levels; ++i)
        deep += "<a>";
    for (int i = 0; i < levels; ++i)
        deep += "</a>";
    deep += "</CSDForm>";
    QElapsedTimer t;
    t.start();
    EXPECT_FALSE(readsOrFailsCleanly(deep));
    EXPECT_TRUE(refusal(deep).contains("elementi annidati oltre 64 livelli"));

    // 64 levels are still a script; 65 are not.
    auto nested = [](int depth) {
        QString s;
        for (int i = 0; i < depth; ++i)
            s += i == 0 ? "<CSDForm>" : "<a>";
        for (int i = depth - 1; i >= 0; --i)
            s += i == 0 ? "</CSDForm>" : "</a>";
        return s;
    };
    EXPECT_TRUE(readsOrFailsCleanly(nested(64)));
    EXPECT_FALSE(readsOrFailsCleanly(nested(65)));
}

TEST(ScriptHostile, DoctypeIsRefusedWithItsEntities)
{
    const QString laughs = "<?xml version=\"1.0\"?>\n"
                           "<!DOCTYPE CSDForm [\n"
                           "<!ENTITY a \"aaaaaaaaaa\">\n"
                           "<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">\n"
                           "<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\">\n"
                           "<!ENTITY d \"&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;\">\n"
                           "]>\n"
                           "<CSDForm><NomeTabella>&d;</NomeTabella></CSDForm>";
    EXPECT_FALSE(readsOrFailsCleanly(laughs));
    EXPECT_EQ(refusal(laughs),
              "Script XML non valido alla riga 7, colonna 2: una dichiarazione DOCTYPE non è "
              "ammessa");
    const QString external = "<!DOCTYPE CSDForm [<!ENTITY x SYSTEM \"file:///etc/passwd\">]>"
                             "<CSDForm><NomeTabella>&x;</NomeTabella></CSDForm>";
    EXPECT_FALSE(readsOrFailsCleanly(external));
    EXPECT_TRUE(refusal(external).contains("DOCTYPE"));
    // Without a DOCTYPE no entity is declared, so none can be used.
    EXPECT_FALSE(readsOrFailsCleanly("<CSDForm><NomeTabella>&x;</NomeTabella></CSDForm>"));
    // The five predefined ones and character references still read.
    TCSDForm f;
    f.SetXML("<CSDForm><NomeTabella>&lt;&gt;&amp;&quot;&apos;&#233;&#x20AC;</NomeTabella>"
             "</CSDForm>");
    EXPECT_EQ(f.NomeTabella, "<>&\"'é€");
}

TEST(ScriptHostile, WrongRootTwoRootsAndEmptyText)
{
    EXPECT_FALSE(readsOrFailsCleanly("<Ricerche><NomeTabella>X</NomeTabella></Ricerche>"));
    EXPECT_EQ(refusal("\n  <csdform/>"), "Script XML non valido alla riga 2, colonna 12: "
                                         "l'elemento radice è \"csdform\" invece di \"CSDForm\"");
    EXPECT_FALSE(readsOrFailsCleanly("<CSDForm/><CSDForm/>"));
    EXPECT_FALSE(readsOrFailsCleanly(""));
    EXPECT_EQ(refusal(""), "Script XML non valido alla riga 1, colonna 0: il testo finisce prima "
                           "della fine del documento");
    EXPECT_FALSE(readsOrFailsCleanly("   \n "));
    EXPECT_FALSE(readsOrFailsCleanly("testo"));
    EXPECT_FALSE(readsOrFailsCleanly("<CSDForm><NomeTabella>X</CSDForm>"));
    EXPECT_FALSE(readsOrFailsCleanly(QString("<CSDForm>") + QChar(0) + "</CSDForm>"));
    EXPECT_FALSE(readsOrFailsCleanly(QString("<CSDForm>") + QChar(1) + "</CSDForm>"));
    // A prefix on a name is only part of the name: no namespace is declared.
    EXPECT_FALSE(readsOrFailsCleanly("<x:CSDForm/>"));
}

TEST(ScriptHostile, HugeAttributeIsIgnored)
{
    const QString huge(10 * 1024 * 1024, QChar('a'));
    TCSDForm f;
    f.SetXML("<CSDForm note=\"" + huge + "\"><NomeTabella t=\"1\">ART</NomeTabella></CSDForm>");
    EXPECT_EQ(f.NomeTabella, "ART");
    TCSDForm plain;
    plain.SetXML("<CSDForm><NomeTabella>ART</NomeTabella></CSDForm>");
    EXPECT_EQ(f.GetXML(), plain.GetXML());
}
