# SPDX-License-Identifier: GPL-3.0-or-later
# The translations of the program's texts: translations/telvaro_LANG.ts, kept
# up to date from the sources by tools/i18n/update-translations.sh, built by
# lrelease into telvaro_LANG.qm and embedded in the windows' library under
# :/i18n, where installTranslations (src/app/Translations.cpp) finds them.
find_package(Qt6 REQUIRED COMPONENTS LinguistTools)
qt_add_translations(telvaro_gui
    TS_FILES ${PROJECT_SOURCE_DIR}/translations/telvaro_de.ts
    RESOURCE_PREFIX /i18n
    LRELEASE_OPTIONS -silent)
