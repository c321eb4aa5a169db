#include "filescambiomenu.h"
#include "win1252.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

#include <functional>
#include <random>

using namespace FileScambioMenu;

namespace {

// Every character the code page has, decoded from its byte.
QString anyChar(std::mt19937 &rng)
{
    const char b = char(std::uniform_int_distribution<int>(0, 255)(rng));
    return Win1252::decode(&b, 1);
}

QString randomText(std::mt19937 &rng, int maxLen, bool lineBreaks)
{
    const int len = std::uniform_int_distribution<int>(0, maxLen)(rng);
    QString s;
    while (s.size() < len) {
        QString c = anyChar(rng);
        // Favour the characters the format treats specially.
        switch (std::uniform_int_distribution<int>(0, 9)(rng)) {
        case 0:
            c = QStringLiteral("\\");
            break;
        case 1:
            c = QStringLiteral("r");
            break;
        case 2:
            c = QStringLiteral("\r");
            break;
        case 3:
            c = QStringLiteral("\n");
            break;
        default:
            break;
        }
        if (c == QLatin1String("#"))
            continue;
        if (!lineBreaks && (c == QLatin1String("\r") || c == QLatin1String("\n")))
            continue;
        s += c;
    }
    if (lineBreaks) {
        // The two-character texts "\r" and "\n" are what the export refuses.
        while (s.contains(QLatin1String("\\r")) || s.contains(QLatin1String("\\n")))
            s.replace(QLatin1String("\\r"), QLatin1String("\\"))
                .replace(QLatin1String("\\n"), QLatin1String("\\"));
    }
    return s;
}

QString randomNumber(std::mt19937 &rng, bool required)
{
    if (!required && std::uniform_int_distribution<int>(0, 3)(rng) == 0)
        return QString();
    return QString::number(std::uniform_int_distribution<int>(-32768, 32767)(rng));
}

TRigaScambio randomRow(std::mt19937 &rng)
{
    TRigaScambio r;
    r[Progetto] = randomText(rng, 30, false);
    r[Codice] = randomNumber(rng, true);
    do
        r[Nome] = randomText(rng, 15, false);
    while (r[Nome].isEmpty());
    r[Descrizione] = randomText(rng, 64, false);
    r[Icona] = randomText(rng, 64, false);
    r[Programma] = r[Codice];
    r[Menu] = randomNumber(rng, true);
    r[MenuPrec] = randomNumber(rng, false);
    r[LivelloMenu] = randomNumber(rng, false);
    r[DescrizioneMenu] = randomText(rng, 64, false);
    r[Dll] = randomText(rng, 20, false);
    r[Funzione] = randomText(rng, 30, false);
    r[Note] = randomText(rng, 300, false);
    r[Livello2Versione] = randomNumber(rng, false);
    r[Parametri] = randomText(rng, 256, false);
    r[Visibile] = randomNumber(rng, false);
    r[VoceRapida] = randomNumber(rng, false);
    r[ParametriBlob] = randomText(rng, 400, true);
    return r;
}

// The reader's promises, checked apart from its code.
void expectReadable(const TRigaScambio &r)
{
    EXPECT_FALSE(r[Nome].isEmpty());
    const int limits[][2] = {{Nome, 15}, {Descrizione, 64}, {Icona, 64},     {DescrizioneMenu, 64},
                             {Dll, 20},  {Funzione, 30},    {Parametri, 256}};
    for (const auto &l : limits)
        EXPECT_LE(r[l[0]].size(), l[1]) << l[0];
    for (int campo : {Menu, MenuPrec, LivelloMenu, Livello2Versione, Visibile, VoceRapida}) {
        if (campo != Menu && r[campo].isEmpty())
            continue;
        bool ok = false;
        const int n = r[campo].trimmed().toInt(&ok);
        EXPECT_TRUE(ok && n >= -32768 && n <= 32767) << r[campo].toStdString();
    }
}

// Where each line ends, CR LF, LF and a lone CR alike: the offsets just past
// each line end.
QVector<int> lineEnds(const QByteArray &bytes)
{
    QVector<int> ends;
    for (int i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            ++i;
        if (bytes[i] == '\r' || bytes[i] == '\n')
            ends.append(i + 1);
    }
    return ends;
}

int lineCount(const QByteArray &bytes)
{
    return int(lineEnds(bytes).size()) + 1;
}

// Bytes up to the end of the given line (counted from 1), its line end included.
QByteArray firstLines(const QByteArray &bytes, int lines)
{
    const QVector<int> ends = lineEnds(bytes);
    return lines <= ends.size() ? bytes.left(ends[lines - 1]) : bytes;
}

// The same file with other line ends, in UTF-8 (with or without its mark),
// and with what editors and old systems leave at the end.
QByteArray asUsersHaveIt(const QByteArray &windows1252, std::mt19937 &rng)
{
    auto pick = [&rng](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
    QString text = Win1252::decode(windows1252);
    const char *ends[] = {"\r\n", "\n", "\r"};
    text.replace(QStringLiteral("\r\n"), QLatin1String(ends[pick(3)]));
    const char *tails[] = {"", "\r\n", "   ", "\t\n \r\n\r\n"};
    text += QLatin1String(tails[pick(4)]);
    QByteArray bytes;
    switch (pick(3)) {
    case 0:
        bytes = Win1252::encode(text);
        break;
    case 1:
        bytes = text.toUtf8();
        break;
    case 2:
        bytes = "\xEF\xBB\xBF" + text.toUtf8();
        break;
    }
    if (pick(2))
        bytes += '\x1A';
    return bytes;
}

} // namespace

TEST(FileScambioRoundTrip, RandomCarriableValuesComeBackUnchanged)
{
    std::mt19937 rng(20240517);
    for (int round = 0; round < 50; ++round) {
        QVector<TRigaScambio> righe;
        const int n = std::uniform_int_distribution<int>(0, 20)(rng);
        for (int i = 0; i < n; ++i)
            righe.append(randomRow(rng));
        const TFileComposto file = ComponiFile(righe);
        ASSERT_TRUE(file.ok()) << file.Rifiuto.toStdString();
        EXPECT_FALSE(file.Contenuto.startsWith("\xEF\xBB\xBF"));
        for (const QByteArray &bytes : {file.Contenuto, asUsersHaveIt(file.Contenuto, rng)}) {
            const TLettura letti = LeggiFile(bytes);
            ASSERT_TRUE(letti.ok()) << letti.Errore.toStdString();
            ASSERT_EQ(letti.Righe.size(), righe.size());
            for (int i = 0; i < n; ++i)
                EXPECT_EQ(letti.Righe[i], righe[i]) << "round " << round << " row " << i;
        }
    }
}

TEST(FileScambioFuzz, WhatTheExportCannotWriteOrTheDatabaseCannotHoldIsRefusedAtItsLine)
{
    std::mt19937 rng(4127);
    const QString quale = QStringLiteral("File non valido alla riga %1:\r");
    for (int round = 0; round < 40; ++round) {
        QVector<TRigaScambio> righe;
        const int n = std::uniform_int_distribution<int>(1, 6)(rng);
        for (int i = 0; i < n; ++i)
            righe.append(randomRow(rng));
        const int bad = std::uniform_int_distribution<int>(0, n - 1)(rng);
        const QByteArray valid = ComponiFile(righe).Contenuto;
        // The text of row `bad` (line bad + 2) changed by `change`, in UTF-8.
        auto withLine = [&](const std::function<QString(QString)> &change) {
            QStringList lines = Win1252::decode(valid).split(QLatin1Char('\n'));
            lines[bad + 1] = change(lines[bad + 1]);
            return lines.join(QLatin1Char('\n')).toUtf8();
        };
        const struct
        {
            QByteArray file;
            const char *reason;
        } cases[] = {
            // A "#" in the last field, which a reader cutting there would lose.
            {withLine([](QString l) { return l.insert(l.size() - 2, QStringLiteral("a#b")); }),
             "DETTMENU.PARAMETRIBLOB (campo 18) contiene \"#\""},
            // A line of blanks with text after it is no end of the file.
            {withLine([](QString l) { return QStringLiteral("  \r\n") + l; }), "separatori"},
            // A character the database's code page has not.
            {withLine([](QString l) {
                 QStringList campi = l.split(QLatin1Char('#'));
                 campi[DescrizioneMenu] = QStringLiteral("ł");
                 return campi.join(QLatin1Char('#'));
             }),
             "DETTMENU.DESCRIZIONE (campo 10) contiene il carattere \"ł\""},
        };
        for (const auto &c : cases) {
            const TLettura l = LeggiFile(c.file);
            EXPECT_TRUE(l.Errore.startsWith(quale.arg(bad + 2))) << l.Errore.toStdString();
            EXPECT_TRUE(l.Errore.contains(QString::fromUtf8(c.reason))) << l.Errore.toStdString();
            EXPECT_TRUE(l.Righe.isEmpty());
        }
    }
}

TEST(FileScambioFuzz, MutatedFilesGiveRowsThatPassOrAnErrorNamingALine)
{
    std::mt19937 rng(77003);
    QVector<TRigaScambio> righe;
    for (int i = 0; i < 8; ++i)
        righe.append(randomRow(rng));
    const QByteArray valido = ComponiFile(righe).Contenuto;
    ASSERT_FALSE(valido.isEmpty());
    const QRegularExpression forma(QStringLiteral("^File non valido alla riga (\\d+):\r(.+)$"),
                                   QRegularExpression::DotMatchesEverythingOption);

    int errori = 0;
    for (int round = 0; round < 3000; ++round) {
        QByteArray file = valido;
        const int mutations = std::uniform_int_distribution<int>(1, 4)(rng);
        for (int m = 0; m < mutations; ++m) {
            const int pos = std::uniform_int_distribution<int>(0, int(file.size()))(rng);
            switch (std::uniform_int_distribution<int>(0, 8)(rng)) {
            case 0: { // cut a line from here to its end
                const int end = file.indexOf('\n', pos);
                file.remove(pos, end < 0 ? file.size() - pos : end - pos);
                break;
            }
            case 1:
                file.insert(pos, '#');
                break;
            case 2: {
                const int hash = file.indexOf('#', pos);
                if (hash >= 0)
                    file.remove(hash, 1);
                break;
            }
            case 3: { // a letter in a number
                static const QRegularExpression digit(QStringLiteral("[0-9]"));
                const int d = QString::fromLatin1(file).indexOf(digit, pos);
                if (d >= 0)
                    file[d] = 'x';
                break;
            }
            case 4: // any byte value
                if (pos < file.size())
                    file[pos] = char(std::uniform_int_distribution<int>(0, 255)(rng));
                break;
            case 5:
                file.insert(pos, '\r');
                break;
            case 6:
                file.insert(pos, std::uniform_int_distribution<int>(0, 1)(rng) ? "\r\n" : "\n");
                break;
            case 7: { // two lines joined
                const int lf = file.indexOf('\n', pos);
                if (lf >= 0)
                    file.remove(lf, 1);
                break;
            }
            case 8:
                file.truncate(pos);
                break;
            }
        }

        const TLettura l = LeggiFile(file);
        if (l.ok()) {
            for (const TRigaScambio &r : l.Righe)
                expectReadable(r);
            EXPECT_LE(l.Righe.size(), lineCount(file) - 1);
            continue;
        }
        ++errori;
        EXPECT_TRUE(l.Righe.isEmpty()) << "round " << round;
        const QRegularExpressionMatch match = forma.match(l.Errore);
        ASSERT_TRUE(match.hasMatch()) << l.Errore.toStdString();
        const int riga = match.captured(1).toInt();
        ASSERT_GE(riga, 1);
        ASSERT_LE(riga, lineCount(file));
        // Every line before the one named reads; the one named does not.
        if (riga > 1) {
            EXPECT_TRUE(LeggiFile(firstLines(file, riga - 1)).ok()) << "round " << round;
        }
        EXPECT_EQ(LeggiFile(firstLines(file, riga)).Errore, l.Errore) << "round " << round;
    }
    // The mutations reach both outcomes.
    EXPECT_GT(errori, 300);
    EXPECT_LT(errori, 3000);
}
