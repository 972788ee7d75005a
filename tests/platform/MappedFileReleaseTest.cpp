// Pages of a mapped file handed back once read: they leave memory, and reading them again
// gives the file's bytes.
#include <gtest/gtest.h>

#include <string>

#include "TestUtil.h"
#include "platform/Encoding.h"
#include "platform/MappedFile.h"

TEST(MappedFile, PagesHandedBackReadAgainFromTheFile) {
    testutil::TempDir dir;
    std::string content;
    for (int i = 0; content.size() < 200000; ++i) content += std::to_string(i) + ",";
    testutil::WriteFile(dir.File("rec.dat"), content);
    platform::MappedFile m;
    ASSERT_TRUE(m.Open(CString(platform::Utf8ToWide(dir.File("rec.dat")))));
    ASSERT_EQ(std::string(m.data(), m.size()), content);
    // Ranges off page boundaries, empty, reversed and past the end give back only whole pages
    // of the file and change nothing.
    const struct {
        size_t begin, end;
    } ranges[] = {{0, 5000}, {7, 100000}, {50000, 50000}, {90000, 80000}, {150000, 1 << 30}, {0, content.size()}};
    for (const auto& r : ranges) {
        m.Release(r.begin, r.end);
        EXPECT_EQ(std::string(m.data(), m.size()), content) << r.begin << " " << r.end;
    }
}
