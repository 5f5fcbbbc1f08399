#include "ui/Translation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace Translation {

namespace {

bool Load(QCoreApplication &application, const QLocale &locale, const QString &name, const QString &folder)
{
    auto *translator = new QTranslator(&application);
    if (!translator->load(locale, name, QStringLiteral("_"), folder)) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    return true;
}

} // namespace

bool Install(QCoreApplication &application)
{
    const QLocale locale = QLocale::system();
    Load(application, locale, QStringLiteral("qtbase"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    return Load(application, locale, QStringLiteral("tidefetch"), QStringLiteral(":/i18n"));
}

} // namespace Translation
