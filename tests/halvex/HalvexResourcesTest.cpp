#include <gtest/gtest.h>

#include <dlfcn.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "TestUtil.h"
#include "halvex/helpers/HalvexResources.h"

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
