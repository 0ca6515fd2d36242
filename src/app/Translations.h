// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QApplication;

namespace telvaro {

// Puts the program's texts and Qt's own (standard buttons and dialogs) into
// the first of the user's languages (LANGUAGE, LC_ALL, LC_MESSAGES, LANG)
// that Telvaro has a translation for. English, the language the texts are
// written in, needs none. Call once, after the application is made and
// before the first window; the translators are children of `app`.
void installTranslations(QApplication& app);

} // namespace telvaro
