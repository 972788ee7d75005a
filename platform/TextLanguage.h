#pragma once
// Which texts a user gets: the built-in Russian ones or those of the English resource
// libraries. A library put beside its module is taken as it always was; the libraries
// installed in the folder "lang" beside the modules are taken when the user asks for English,
// in the program's settings or, when those leave it to the system, through the locale.
// Nothing is ever written beside the modules to make the choice.
#include <functional>
#include <string>

namespace platform {

enum class TextLanguage { System, Russian, English };

// The choice of this process; a program sets it from its settings before the first text is
// read (the tables choose once, at their first text). System when never set.
void SetTextLanguage(TextLanguage language);
TextLanguage GetTextLanguage();

// The settings' spelling of a choice: "ru", "en", and "" for the system's.
std::wstring TextLanguageName(TextLanguage language);
TextLanguage TextLanguageFromName(const std::wstring& name);

// Whether the locale asks for a language other than Russian. The first of LC_ALL,
// LC_MESSAGES and LANG that is set and not empty names the locale, as for any program's
// messages; "C", "POSIX" and no locale at all ask for none, and keep the built-in texts.
bool LocaleAsksForEnglish(const char* lcAll, const char* lcMessages, const char* lang);
// The same for this process's environment.
bool LocaleAsksForEnglish();

// The English library `name` of a module in `folder` to load, or empty for the built-in
// texts: "folder/name" (put there by hand) unless the user chose Russian, and
// "folder/lang/name" when English is chosen or the system's locale asks for it. `exists`
// tells whether a file is there.
std::string ChooseEnglishLibrary(const std::string& folder, const std::string& name, TextLanguage choice,
                                 bool localeEnglish, const std::function<bool(const std::string&)>& exists);

}  // namespace platform
