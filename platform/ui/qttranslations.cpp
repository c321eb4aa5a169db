#include "qttranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QPointer>
#include <QTranslator>

bool loadQtItalian()
{
    static QPointer<QTranslator> translator;
    if (translator)
        return true;
    auto *t = new QTranslator(QCoreApplication::instance());
    if (!t->load(QLocale(QLocale::Italian, QLocale::Italy), QStringLiteral("qtbase"),
                 QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete t;
        return false;
    }
    QCoreApplication::installTranslator(t);
    translator = t;
    return true;
}

void useItalianLocale()
{
    if (qEnvironmentVariableIsEmpty("LC_ALL"))
        qputenv("LC_TIME", "it_IT.UTF-8");
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
}
