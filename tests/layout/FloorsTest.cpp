// The source tree stands in floors: a file includes only from its own folder or from a floor
// below it. A climbing include drags the whole world above into the lower floor's tests and
// is caught here, naming the file and the include.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int kWindowFloor = 9;

// Folder (relative to the source tree) -> floor. The window classes of the program (app/ and
// the ui/ folders of the view and the diagrams) are one floor and may include each other.
const std::map<std::string, int> kFloors = {
    {"platform", 0}, {"platform/draw", 1}, {"platform/ui", 2}, {"utils", 2},
    {"orvinel", 3},  {"halvex", 3},        {"model", 4},      {"formats", 5},
    {"analysis", 5}, {"faultloc", 6},      {"document", 7},    {"diagrams", 8},
    {"view", 8},     {"app", 9},           {"view/ui", 9},     {"diagrams/ui", 9},
};

// The folder that decides a file's floor: all of libHalvex is one floor.
std::string FolderOf(const std::string& relative) {
    if (relative.rfind("halvex/", 0) == 0) return "halvex";
    const size_t slash = relative.rfind('/');
    return slash == std::string::npos ? std::string() : relative.substr(0, slash);
}

}  // namespace

TEST(Floors, NoIncludeClimbs) {
    const fs::path top = TV_SOURCE_DIR;
    const std::regex include(R"re(^\s*#\s*include\s+"([^"]+)")re");
    std::vector<std::string> climbs;
    size_t filesRead = 0;
    for (const auto& [dir, floor] : kFloors) {
        if (!fs::is_directory(top / dir)) continue;
        // libHalvex keeps its code in subfolders only, so its floor is read to the bottom.
        std::vector<fs::directory_entry> entries;
        if (dir == "halvex") {
            for (const auto& e : fs::recursive_directory_iterator(top / dir)) entries.push_back(e);
        } else {
            for (const auto& e : fs::directory_iterator(top / dir)) entries.push_back(e);
        }
        for (const auto& entry : entries) {
            const std::string ext = entry.path().extension().string();
            if (!entry.is_regular_file() || (ext != ".cpp" && ext != ".h")) continue;
            const std::string self = fs::relative(entry.path(), top).generic_string();
            const std::string own = FolderOf(self);
            std::ifstream in(entry.path());
            ++filesRead;
            std::string line;
            std::smatch m;
            while (std::getline(in, line)) {
                if (!std::regex_search(line, m, include)) continue;
                const std::string target = FolderOf(m[1].str());
                const auto it = kFloors.find(target);
                if (it == kFloors.end() || target == own) continue;
                const int from = kFloors.at(own);
                const bool sameWindowFloor = from == kWindowFloor && it->second == kWindowFloor;
                if (it->second >= from && !sameWindowFloor) climbs.push_back(self + " -> " + m[1].str());
            }
        }
    }
    EXPECT_GT(filesRead, 100u);
    EXPECT_TRUE(climbs.empty()) << [&] {
        std::string all;
        for (const auto& c : climbs) all += c + "\n";
        return all;
    }();
}
