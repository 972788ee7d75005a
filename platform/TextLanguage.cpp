#include "platform/TextLanguage.h"

#include <atomic>
#include <cstdlib>
#include <cstring>

namespace platform {
namespace {

std::atomic<TextLanguage> g_language{TextLanguage::System};

}  // namespace

void SetTextLanguage(TextLanguage language) { g_language.store(language); }

TextLanguage GetTextLanguage() { return g_language.load(); }

std::wstring TextLanguageName(TextLanguage language) {
    switch (language) {
    case TextLanguage::Russian: return L"ru";
    case TextLanguage::English: return L"en";
    case TextLanguage::System: break;
    }
    return {};
}

TextLanguage TextLanguageFromName(const std::wstring& name) {
    if (name == L"ru") return TextLanguage::Russian;
    if (name == L"en") return TextLanguage::English;
    return TextLanguage::System;
}

bool LocaleAsksForEnglish(const char* lcAll, const char* lcMessages, const char* lang) {
    const char* locale = nullptr;
    for (const char* v : {lcAll, lcMessages, lang})
        if (v && *v) {
            locale = v;
            break;
        }
    if (!locale) return false;
    // "language[_territory][.codeset][@modifier]": only the language counts.
    const size_t n = std::strcspn(locale, "_.@");
    const std::string language(locale, n);
    if (language.empty() || language == "C" || language == "POSIX") return false;
    return language != "ru";
}

bool LocaleAsksForEnglish() {
    return LocaleAsksForEnglish(std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"), std::getenv("LANG"));
}

std::string ChooseEnglishLibrary(const std::string& folder, const std::string& name, TextLanguage choice,
                                 bool localeEnglish, const std::function<bool(const std::string&)>& exists) {
    if (name.empty() || choice == TextLanguage::Russian) return {};
    const std::string beside = folder + "/" + name;
    if (exists(beside)) return beside;
    if (choice == TextLanguage::English || localeEnglish) {
        const std::string installed = folder + "/lang/" + name;
        if (exists(installed)) return installed;
    }
    return {};
}

}  // namespace platform
