// Every module's string tables: each id defined once, and the English table covering exactly
// the Russian one, so that no text silently falls back to the other language.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>

namespace {

std::map<unsigned, int> IdCounts(const std::string& module, const std::string& lang) {
    std::map<unsigned, int> counts;
    const std::regex entry(R"(^\s*TV_STR\((\d+),)");
    for (const auto& f : std::filesystem::directory_iterator(std::string(TV_SOURCE_DIR) + "/resources/" + module + "/" + lang)) {
        if (f.path().extension() != ".inc") continue;
        std::ifstream in(f.path());
        for (std::string line; std::getline(in, line);) {
            std::smatch m;
            if (std::regex_search(line, m, entry)) ++counts[unsigned(std::stoul(m[1]))];
        }
    }
    return counts;
}

}  // namespace

TEST(StringTables, IdsAreUniqueAndBothLanguagesMatch) {
    for (const char* module : {"tenvorik", "halvex", "orvinel"}) {
        auto ru = IdCounts(module, "ru");
        auto en = IdCounts(module, "en");
        std::set<unsigned> ruIds, enIds;
        for (auto [id, n] : ru) {
            EXPECT_EQ(n, 1) << module << " ru id " << id << " is defined " << n << " times";
            ruIds.insert(id);
        }
        for (auto [id, n] : en) {
            EXPECT_EQ(n, 1) << module << " en id " << id << " is defined " << n << " times";
            enIds.insert(id);
        }
        for (unsigned id : ruIds) EXPECT_TRUE(enIds.count(id)) << module << " id " << id << " has no English text";
        for (unsigned id : enIds) EXPECT_TRUE(ruIds.count(id)) << module << " id " << id << " has no Russian text";
    }
}
