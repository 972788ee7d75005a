#include <gtest/gtest.h>

#include <filesystem>

#include "TestUtil.h"
#include "halvex/helpers/HalvexResources.h"
#include "model/Resources.h"

// An English library loaded for one module changes that module's texts only.
TEST(ResourceModules, EachModuleKeepsItsOwnTable) {
    testutil::TempDir dir;
    std::filesystem::copy_file(std::string(TV_LANG_DIR) + "/Halvex_ResEng.so", dir.File("Halvex_ResEng.so"));
    ASSERT_TRUE(HalvexStrings().LoadEnglishFrom(dir.File("Halvex_ResEng.so")));
    EXPECT_EQ(HalvexLoadString(7754), L"Yes");
    EXPECT_FALSE(TenvorikStrings().IsEnglish());
    EXPECT_EQ(LoadResString(330), L"Неправильный формат файла");

    std::filesystem::copy_file(std::string(TV_LANG_DIR) + "/Tenvorik_ResEng.so", dir.File("Tenvorik_ResEng.so"));
    ASSERT_TRUE(TenvorikStrings().LoadEnglishFrom(dir.File("Tenvorik_ResEng.so")));
    EXPECT_EQ(LoadResString(330), L"Invalid file format");
    HalvexStrings().LoadEnglishFrom("");
    EXPECT_EQ(HalvexLoadString(7754), L"Да");
    EXPECT_EQ(LoadResString(330), L"Invalid file format");
    TenvorikStrings().LoadEnglishFrom("");
    EXPECT_EQ(LoadResString(330), L"Неправильный формат файла");
}
