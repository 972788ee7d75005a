// Which texts a user gets: the settings' choice, the locale, and where the English library is.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "platform/TextLanguage.h"

using platform::TextLanguage;

TEST(TextLanguage, LocaleAsksForEnglishWhenItNamesAnotherLanguageThanRussian) {
    struct Case {
        const char *all, *messages, *lang;
        bool english;
    };
    const Case cases[] = {
        {nullptr, nullptr, nullptr, false},              // no locale: the built-in texts
        {nullptr, nullptr, "ru_RU.UTF-8", false},
        {nullptr, nullptr, "ru_UA.utf8", false},
        {nullptr, nullptr, "ru", false},
        {nullptr, nullptr, "ru_RU@euro", false},
        {nullptr, nullptr, "C", false},
        {nullptr, nullptr, "C.UTF-8", false},
        {nullptr, nullptr, "POSIX", false},
        {nullptr, nullptr, "en_US.UTF-8", true},
        {nullptr, nullptr, "de_DE.UTF-8", true},
        {nullptr, nullptr, "uk_UA.UTF-8", true},
        {nullptr, nullptr, "rus", true},                 // only "ru" itself is Russian
        {nullptr, "en_GB.UTF-8", "ru_RU.UTF-8", true},   // LC_MESSAGES before LANG
        {nullptr, "ru_RU.UTF-8", "en_US.UTF-8", false},
        {"ru_RU.UTF-8", "en_GB.UTF-8", "en_US.UTF-8", false},  // LC_ALL before both
        {"en_US.UTF-8", "ru_RU.UTF-8", "ru_RU.UTF-8", true},
        {"C", nullptr, "en_US.UTF-8", false},
        {"", "", "en_US.UTF-8", true},                   // an empty variable counts as unset
        {"", "", "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.all ? c.all : "-") + " " + (c.messages ? c.messages : "-") + " " +
                     (c.lang ? c.lang : "-"));
        EXPECT_EQ(platform::LocaleAsksForEnglish(c.all, c.messages, c.lang), c.english);
    }
}

TEST(TextLanguage, EnglishLibraryIsChosenBySettingsThenLocaleAndFoundInLangOrBesideTheModule) {
    const std::string folder = "/opt/app";
    const std::string beside = folder + "/Halvex_ResEng.so";
    const std::string installed = folder + "/lang/Halvex_ResEng.so";
    struct Case {
        TextLanguage choice;
        bool localeEnglish;
        std::set<std::string> files;
        std::string want;
    };
    const Case cases[] = {
        // As installed: the library in lang/, taken only when asked for.
        {TextLanguage::System, false, {installed}, ""},
        {TextLanguage::System, true, {installed}, installed},
        {TextLanguage::English, false, {installed}, installed},
        {TextLanguage::Russian, true, {installed}, ""},
        // Put beside the module by hand: taken unless Russian is chosen.
        {TextLanguage::System, false, {beside}, beside},
        {TextLanguage::System, true, {beside, installed}, beside},
        {TextLanguage::English, false, {beside, installed}, beside},
        {TextLanguage::Russian, false, {beside, installed}, ""},
        // Nothing there: the built-in texts, whatever is asked.
        {TextLanguage::English, true, {}, ""},
        {TextLanguage::System, true, {}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(int(c.choice)) + " " + std::to_string(c.localeEnglish) + " " +
                     std::to_string(c.files.size()));
        const std::string got = platform::ChooseEnglishLibrary(
            folder, "Halvex_ResEng.so", c.choice, c.localeEnglish,
            [&](const std::string& f) { return c.files.count(f) != 0; });
        EXPECT_EQ(got, c.want);
    }
    // A module without an English library asks for none.
    EXPECT_EQ(platform::ChooseEnglishLibrary(folder, "", TextLanguage::English, true, [](const std::string&) { return true; }),
              "");
}

TEST(TextLanguage, SettingsSpellingRoundTrips) {
    for (TextLanguage l : {TextLanguage::System, TextLanguage::Russian, TextLanguage::English})
        EXPECT_EQ(platform::TextLanguageFromName(platform::TextLanguageName(l)), l);
    EXPECT_EQ(platform::TextLanguageName(TextLanguage::English), L"en");
    EXPECT_EQ(platform::TextLanguageName(TextLanguage::Russian), L"ru");
    EXPECT_EQ(platform::TextLanguageName(TextLanguage::System), L"");
    // Whatever else a hand-edited file holds leaves the choice to the system.
    EXPECT_EQ(platform::TextLanguageFromName(L"de"), TextLanguage::System);
}
