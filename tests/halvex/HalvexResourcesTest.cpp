#include <gtest/gtest.h>

#include <dlfcn.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "TestUtil.h"
#include "halvex/helpers/HalvexResources.h"
#include "platform/TextLanguage.h"

using testutil::TempDir;

namespace {

std::string RealPath(const std::string& p) {
    char* r = realpath(p.c_str(), nullptr);
    std::string s = r ? r : p;
    free(r);
    return s;
}

std::string CopyEnglish(const TempDir& dir, const std::string& lib, const std::string& as) {
    std::filesystem::copy_file(std::string(TV_LANG_DIR) + "/" + lib, dir.File(as));
    return dir.File(as);
}

}  // namespace

TEST(HalvexResources, RussianBuiltInEnglishFromItsOwnLibrary) {
    // The library's folder is found from an address inside libHalvex.so, not the test's.
    EXPECT_EQ(platform::StringTable::ModuleFolder(reinterpret_cast<const void*>(&HalvexLoadString)),
              RealPath(TV_BIN_DIR));
    // No English library beside the module in the build: Russian texts.
    EXPECT_FALSE(HalvexStrings().IsEnglish());
    EXPECT_EQ(HalvexLoadString(7754), L"Да");
    EXPECT_EQ(HalvexLoadString(7755), L"Ошибка при создании папки:\n%s!");
    EXPECT_EQ(HalvexLoadString(1), L"");  // unknown id

    TempDir dir;
    ASSERT_TRUE(HalvexStrings().LoadEnglishFrom(CopyEnglish(dir, "Halvex_ResEng.so", "Halvex_ResEng.so")));
    EXPECT_TRUE(HalvexStrings().IsEnglish());
    EXPECT_EQ(HalvexLoadString(7754), L"Yes");
    // A library that is not a resource library, or none at all: back to Russian.
    EXPECT_FALSE(HalvexStrings().LoadEnglishFrom(dir.File("missing.so")));
    EXPECT_EQ(HalvexLoadString(7754), L"Да");
    HalvexStrings().LoadEnglishFrom("");
    EXPECT_FALSE(HalvexStrings().IsEnglish());
}

TEST(HalvexResources, EnglishLibraryIsFoundBesideTheModule) {
    // A module in a folder of its own (a copy of another English library serves as one),
    // with and without Halvex_ResEng.so beside it.
    const platform::StringEntry ru[] = {{7754, L"Да"}, {7753, L"Нет"}};
    for (bool beside : {false, true}) {
        TempDir dir;
        std::string module = CopyEnglish(dir, "Orvinel_ResEng.so", "libModule.so");
        if (beside) CopyEnglish(dir, "Halvex_ResEng.so", "Halvex_ResEng.so");
        void* h = dlopen(module.c_str(), RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(h, nullptr) << dlerror();
        const void* anchor = dlsym(h, "ResEngStringTable");
        ASSERT_NE(anchor, nullptr);
        EXPECT_EQ(platform::StringTable::ModuleFolder(anchor), RealPath(dir.path()));
        {
            platform::StringTable table({ru, 2}, "Halvex_ResEng.so", anchor);
            EXPECT_EQ(table.IsEnglish(), beside);
            EXPECT_EQ(table.Get(7754), beside ? L"Yes" : L"Да");
        }
        dlclose(h);
    }
}

// As installed: the English library lies in "lang" beside the module and is taken only when the
// user's choice or locale asks for it; nothing is written beside the module to choose.
TEST(HalvexResources, EnglishLibraryInLangIsTakenWhenTheUserAsksForIt) {
    const platform::StringEntry ru[] = {{7754, L"Да"}, {7753, L"Нет"}};
    struct Case {
        platform::TextLanguage choice;
        const char* lang;
        bool english;
    };
    const Case cases[] = {
        {platform::TextLanguage::System, "ru_RU.UTF-8", false},
        {platform::TextLanguage::System, "C.UTF-8", false},
        {platform::TextLanguage::System, "en_US.UTF-8", true},
        {platform::TextLanguage::English, "ru_RU.UTF-8", true},
        {platform::TextLanguage::Russian, "en_US.UTF-8", false},
    };
    TempDir dir;
    std::filesystem::create_directory(dir.File("lang"));
    const std::string module = CopyEnglish(dir, "Orvinel_ResEng.so", "libModule.so");
    CopyEnglish(dir, "Halvex_ResEng.so", "lang/Halvex_ResEng.so");
    const auto before = std::distance(std::filesystem::directory_iterator(dir.path()), {});
    void* h = dlopen(module.c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(h, nullptr) << dlerror();
    const void* anchor = dlsym(h, "ResEngStringTable");
    ASSERT_NE(anchor, nullptr);
    const char* names[] = {"LC_ALL", "LC_MESSAGES", "LANG"};
    std::string saved[3];
    bool had[3];
    for (int i = 0; i < 3; ++i) {
        const char* v = getenv(names[i]);
        had[i] = v != nullptr;
        saved[i] = v ? v : "";
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(int(c.choice)) + " " + c.lang);
        unsetenv("LC_ALL");
        unsetenv("LC_MESSAGES");
        setenv("LANG", c.lang, 1);
        platform::SetTextLanguage(c.choice);
        platform::StringTable table({ru, 2}, "Halvex_ResEng.so", anchor);
        EXPECT_EQ(table.IsEnglish(), c.english);
        EXPECT_EQ(table.Get(7754), c.english ? L"Yes" : L"Да");
    }
    platform::SetTextLanguage(platform::TextLanguage::System);
    for (int i = 0; i < 3; ++i) {
        if (had[i]) setenv(names[i], saved[i].c_str(), 1);
        else unsetenv(names[i]);
    }
    dlclose(h);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), before);
}
