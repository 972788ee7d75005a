// A drop on a diagram that does not take a channel says which channel and why, instead of
// doing nothing without a word.
#include <gtest/gtest.h>

#include "DiagramFixture.h"
#include "FakeUi.h"
#include "diagrams/ChannelDrop.h"

using namespace diagtest;

namespace {

void Record(CTenvorikDoc& doc) {
    Fill(doc, {{"Ua", L"V", 100, 0, 0}, {"Z", L"Ohm", 5, 0, 0}, {"S", L"VA", 5, 0, 0}, {"Zp", L"Ohm", 5, 0, 0},
               {"Ia", L"A", 10, 0, 0}});
    for (CChannel& ch : doc.GetOscillogram().m_channels) ch.m_flags &= ~uint32_t(CHF_VECTOR_DIAGRAM);
}

}  // namespace

TEST(DropRefusal, NamesEachRefusedChannelWithItsReason) {
    testutil::FakeUi ui;
    Doc doc;
    Record(doc);
    COscillogram& osc = doc.GetOscillogram();
    osc.m_channels[3].m_flags |= CHF_OWN_TIMEBASE;
    // The last channel stands for a discrete one: past the analog channels.
    osc.m_analogCount = 4;

    struct Case {
        uint32_t kind;
        std::set<uint32_t> dropped;
        std::vector<const wchar_t*> named, notNamed;
    };
    const Case cases[] = {
        // The voltage of the issue: refused by the circle diagram for its unit.
        {DROP_CIRCLE, {0}, {L"Диаграмма не приняла каналы", L"«Ua»", L"«В»", L"Ом"}, {L"«V»"}},
        // What is taken says nothing; what is refused is named, each with its own reason.
        {DROP_CIRCLE, {0, 1, 2, 3, 4}, {L"«Ua»", L"«Zp» — канал со своей шкалой времени", L"«Ia» — дискретные"},
         {L"«Z»", L"«S»"}},
        {DROP_VECTOR, {0, 4}, {L"«Ia» — дискретные"}, {L"«Ua»"}},
    };
    for (const Case& c : cases) {
        const CString text = DiagramDropRefusal(doc, c.kind, c.dropped);
        for (const wchar_t* part : c.named) EXPECT_GE(text.Find(part), 0) << part << " in " << text.str();
        for (const wchar_t* part : c.notNamed) EXPECT_LT(text.Find(part), 0) << part << " in " << text.str();
    }
    // Nothing refused: nothing said; nor for numbers that name no channel.
    EXPECT_TRUE(DiagramDropRefusal(doc, DROP_CIRCLE, {1, 2, 99}).IsEmpty());
    EXPECT_TRUE(DiagramDropRefusal(doc, DROP_VECTOR, {0, 1, 3}).IsEmpty());
    // A channel already on the diagram is no refusal either.
    osc.m_channels[1].m_flags |= CHF_CIRCLE_DIAGRAM;
    EXPECT_TRUE(DiagramDropRefusal(doc, DROP_CIRCLE, {1}).IsEmpty());
}

TEST(DropRefusal, ALongDropIsCutAfterADozenLines) {
    testutil::FakeUi ui;
    Doc doc;
    std::vector<std::string> names;
    for (int i = 0; i < 30; ++i) names.push_back("U" + std::to_string(i));
    std::vector<Wave> waves;
    for (const std::string& n : names) waves.push_back({n.c_str(), L"V", 1, 0, 0});
    Fill(doc, waves);
    std::set<uint32_t> all;
    for (uint32_t i = 0; i < 30; ++i) all.insert(i);
    const CString text = DiagramDropRefusal(doc, DROP_CIRCLE, all);
    EXPECT_GE(text.Find(L"«U11»"), 0);
    EXPECT_LT(text.Find(L"«U12»"), 0);
    EXPECT_GE(text.Find(L"…"), 0);
}
