#pragma once

class QCoreApplication;

// The program's texts in the language of the system's locale (LANG, LC_ALL,
// LANGUAGE), from the translations embedded at :/i18n, and Qt's own texts
// (dialog buttons, command-line help) when Qt ships them for that language.
namespace Translation {

// Installs the translators as children of `application`, so they go with it.
// Returns whether the program's own texts have a translation for the locale;
// without one they stay in English.
bool Install(QCoreApplication &application);

} // namespace Translation
