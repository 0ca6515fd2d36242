// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Translations.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <memory>

namespace telvaro {

namespace {

// The program's own translations are built into it (qt_add_translations).
constexpr auto kOwnFolder = ":/i18n";

bool load(QApplication& app, const QLocale& locale, const QString& name, const QString& folder)
{
    auto translator = std::make_unique<QTranslator>(&app);
    if (!translator->load(locale, name, QStringLiteral("_"), folder))
        return false;
    QApplication::installTranslator(translator.release());
    return true;
}

} // namespace

void installTranslations(QApplication& app)
{
    // The first of the user's languages that Telvaro speaks; Qt's texts
    // follow in the same language, so that one window never mixes two.
    // English stops the search: the texts are written in it, so a user who
    // puts English before German sees English.
    for (const QString& language : QLocale().uiLanguages()) {
        const QLocale locale(language);
        if (locale.language() == QLocale::English || locale.language() == QLocale::C)
            return;
        if (load(app, locale, QStringLiteral("telvaro"), QString::fromLatin1(kOwnFolder))) {
            load(app, locale, QStringLiteral("qtbase"),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath));
            return;
        }
    }
}

} // namespace telvaro
