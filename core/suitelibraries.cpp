#include "suitelibraries.h"

#include "library.h"
#include "messages.h"
#include "win1252.h"

#include <QObject>
#include <cstdint>

namespace SuiteLibraries {

const char *const FormsLibrary = "Norvak.dll";
const char *const PrintLibrary = "Tolq";

namespace {

using ShowCSDFormYFn = std::int32_t (*)(std::int32_t, std::int32_t, const char *);
using ShowCSDFormStaticFn = std::int32_t (*)(const char *, std::int32_t, const char *);
using TolqFn = std::int32_t (*)(void *, void *);
using MenuEntryFn = std::int32_t (*)(std::int32_t);

QString quoted(const char *text)
{
    return QLatin1Char('"') + QString::fromLatin1(text) + QLatin1Char('"');
}

} // namespace

bool ShowCSDFormY(qint32 codiceUtente, const QString &script)
{
    // Encoded before loading: a text the code page cannot hold stops here,
    // with nothing loaded.
    const QByteArray text = Win1252::encode(script);
    TLibrary library;
    if (!library.load(QString::fromLatin1(FormsLibrary))) {
        Messages::warning(QStringLiteral("Attenzione: file ") + quoted(FormsLibrary) +
                          QStringLiteral(" mancante"));
        return false;
    }
    const auto show = library.function<ShowCSDFormYFn>("ShowCSDFormY");
    if (!show) {
        library.release();
        Messages::warning(QStringLiteral("Attenzione: funzione ") + quoted("ShowCSDFormY") +
                          QStringLiteral(" non trovata nel file ") + quoted(FormsLibrary));
        return false;
    }
    show(codiceUtente, 0, text.constData());
    return true;
}

bool ShowCSDFormStatic(const QString &databaseName, const QString &script)
{
    const QByteArray name = Win1252::encode(databaseName);
    const QByteArray text = Win1252::encode(script);
    TLibrary library;
    if (!library.load(QString::fromLatin1(FormsLibrary)))
        return false;
    const auto show = library.function<ShowCSDFormStaticFn>("ShowCSDFormStatic");
    if (!show)
        return false;
    library.keep();
    show(name.constData(), 0, text.constData());
    return true;
}

bool ShowTolqPrint(QObject *dataset, void *tabXVariable)
{
    const bool isQuery = dataset && qstrcmp(dataset->metaObject()->className(), "TIBQuery") == 0;
    const char *exportName = isQuery ? "ShowTolq11FormD" : "ShowTolq11MemFormD";
    TLibrary library;
    if (!library.load(QString::fromLatin1(PrintLibrary)))
        return false;
    const auto print = library.function<TolqFn>(exportName);
    if (!print)
        return false;
    print(static_cast<void *>(dataset), tabXVariable);
    return true;
}

bool CallMenuEntry(const QString &libraryName, const QString &function, qint32 parameter)
{
    const QByteArray symbol = function.trimmed().toLatin1();
    TLibrary library;
    if (symbol.isEmpty() || !library.load(libraryName.trimmed()))
        return false;
    const auto entry = library.function<MenuEntryFn>(symbol.constData());
    if (!entry)
        return false;
    library.keep();
    entry(parameter);
    return true;
}

} // namespace SuiteLibraries
