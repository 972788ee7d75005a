// The XML tree, its XML files and the recorder's time texts.
#include <gtest/gtest.h>

#include <filesystem>
#include <list>
#include <memory>

#include "TestUtil.h"
#include "platform/Encoding.h"
#include "utils/ArmXmlHelper.h"
#include "utils/BlockTimeUtils.h"
#include "utils/ParamsTreeNode.h"

namespace {

CString Path(const std::string& utf8) { return CString(platform::Utf8ToWide(utf8)); }

TEST(ParamsTree, ChildrenByNameInDocumentOrder) {
    ParamsTreeNode root(L"R");
    root.AddNode(L"a", L"1");
    ParamsTreeNode* b = root.AddNode(L"b");
    root.AddNode(L"a", L"2");
    b->AddNode(L"a", L"inner");
    EXPECT_EQ(root.FindFirstNode(L"a")->GetValue(), L"1");
    EXPECT_EQ(root.FindFirstNode(L"c"), nullptr);
    std::list<ParamsTreeNode*> found{b};
    root.FindNodes(L"a", found);  // appends
    ASSERT_EQ(found.size(), 3u);
    EXPECT_EQ(found.back()->GetValue(), L"2");
    EXPECT_TRUE(b->GetValue().IsEmpty());
}

TEST(ArmXml, TreeFromTextAndFile) {
    std::unique_ptr<ParamsTreeNode> tree(ArmXmlHelper::CreateTreeFromXmlBuffer(
        L"<?xml version=\"1.0\" encoding=\"UTF-16\"?><Root>top<A>Тест &amp; 1</A><B><C>x</C></B><A attr=\"1\"/></Root>",
        false));
    ASSERT_TRUE(tree);
    EXPECT_EQ(tree->GetName(), L"Root");
    EXPECT_EQ(tree->GetValue(), L"top");
    EXPECT_EQ(tree->FindFirstNode(L"A")->GetValue(), L"Тест & 1");
    EXPECT_EQ(tree->FindFirstNode(L"B")->FindFirstNode(L"C")->GetValue(), L"x");
    EXPECT_EQ(tree->Children().size(), 3u);

    // A fragment is refused as a document and taken when leniency is asked for.
    const wchar_t* fragment = L"<First><X>1</X></First><Second/>";
    EXPECT_EQ(ArmXmlHelper::CreateTreeFromXmlBuffer(fragment, false), nullptr);
    std::unique_ptr<ParamsTreeNode> lenient(ArmXmlHelper::CreateTreeFromXmlBuffer(fragment, true));
    ASSERT_TRUE(lenient);
    EXPECT_EQ(lenient->GetName(), L"First");
    for (const wchar_t* bad : {L"", L"<a>", L"just text", L"<a></b>"})
        EXPECT_EQ(ArmXmlHelper::CreateTreeFromXmlBuffer(bad, false), nullptr) << platform::WideToUtf8(bad);
    EXPECT_EQ(ArmXmlHelper::CreateTreeFromXmlBuffer(nullptr, true), nullptr);

    // Deep nesting from a file is neither a stack overflow on reading nor on freeing.
    std::wstring deep;
    for (int i = 0; i < 100000; ++i) deep += L"<n>";
    for (int i = 0; i < 100000; ++i) deep += L"</n>";
    std::unique_ptr<ParamsTreeNode> deepTree(ArmXmlHelper::CreateTreeFromXmlBuffer(deep.c_str(), false));
    EXPECT_TRUE(deepTree);
}

TEST(ArmXml, WritingReplacesAFileOnlyWhenComplete) {
    testutil::TempDir dir;
    ParamsTreeNode root(L"DesDescr");
    root.AddNode(L"StationName", L"ПС <1>");
    root.AddNode(L"Empty");
    ASSERT_TRUE(ArmXmlHelper::CreateXmlFileFromTree(Path(dir.File("a.dst")), &root));
    std::unique_ptr<ParamsTreeNode> back(ArmXmlHelper::CreateTreeFromXmlFile(Path(dir.File("a.dst"))));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->FindFirstNode(L"StationName")->GetValue(), L"ПС <1>");
    EXPECT_NE(back->FindFirstNode(L"Empty"), nullptr);
    EXPECT_EQ(ArmXmlHelper::CreateTreeFromXmlFile(Path(dir.File("missing.dst"))), nullptr);

    EXPECT_FALSE(ArmXmlHelper::CreateXmlFileFromTree(Path(dir.File("no/such/folder.dst")), &root));
    EXPECT_FALSE(ArmXmlHelper::CreateXmlFileFromTree(Path(dir.File("b.dst")), nullptr));
    size_t files = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path())) ++files;
    EXPECT_EQ(files, 1u);  // no temporary file left behind
}

TEST(BlockTime, ComtradeTextOfAnInstant) {
    struct Case {
        unsigned long seconds;
        unsigned short ms;
        int zone;
        bool summer, applyZone, micro;
        const char* text;
    };
    const Case cases[] = {
        {0, 0, 0, false, true, true, "01/01/1970,00:00:00.000000"},
        {1700000000, 250, 10800, false, true, true, "15/11/2023,01:13:20.250000"},
        {1700000000, 250, 10800, true, true, true, "15/11/2023,02:13:20.250000"},
        {1700000000, 250, 10800, true, false, true, "14/11/2023,22:13:20.250000"},
        {1700000000, 7, 0, false, true, false, "14/11/2023,22:13:20.007"},
        {86399, 1000, 0, false, true, true, "02/01/1970,00:00:00.000000"},  // whole seconds carry
        {951782400, 0, 0, false, true, true, "29/02/2000,00:00:00.000000"},
        {4294967295ul, 999, 0, false, true, true, "07/02/2106,06:28:15.999000"},
        {0, 0, -3600, false, true, true, "31/12/1969,23:00:00.000000"},
    };
    for (const Case& c : cases) {
        char buffer[256] = {};
        CString text = BlockTimeUtils::ConvertByTimeZone(c.seconds, c.ms, c.zone, c.summer, buffer, 255, c.applyZone,
                                                         c.micro);
        EXPECT_STREQ(buffer, c.text);
        EXPECT_EQ(text, CString(c.text));
    }
    char small[8];
    BlockTimeUtils::ConvertByTimeZone(0, 0, 0, false, small, sizeof small, true, true);
    EXPECT_STREQ(small, "01/01/1");
}

}  // namespace
