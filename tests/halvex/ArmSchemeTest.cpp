// The scheme graph: connecting and removing keep the buses' ends and the elements' link tables
// in step, in every order of removal; fork points, bus hits with shared stretches, new GUIDs,
// deep clones, bounds and drawing.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <set>
#include <sstream>
#include <string>

#include "halvex/scheme/ArmScheme.h"
#include "tests/halvex/support/FakeArmHost.h"
#include "tests/halvex/support/TestSchemeElements.h"

using namespace Gdiplus;
using CompileIncludeSpace::GetStringByGuid;
using testutil::TestBox;

namespace {

std::string Text(const GUID& g) { return std::string(CStringA(GetStringByGuid(g)).GetString()); }

// Every way the graph could name something that is not there, or the two views of a
// connection could disagree.
std::vector<std::string> GraphProblems(const ARM_SCHEME& s) {
    std::vector<std::string> problems;
    auto bus = [&](const GUID& g) -> const SCHEME_BUS* {
        auto it = s.m_mapBuses.find(GetStringByGuid(g));
        return it == s.m_mapBuses.end() ? nullptr : it->second.get();
    };
    auto elem = [&](const GUID& g) { return s.m_mapElements.Find(GetStringByGuid(g)); };
    for (const auto& [key, e] : s.m_mapElements) {
        if (!e) continue;
        const std::string me = Text(e->m_guid);
        if (key != e->GetGuidString()) problems.push_back(me + " is kept under another key");
        for (const auto& [p, l] : e->m_mapInLinks) {
            const SCHEME_BUS* b = bus(l.m_guidBus);
            if (!elem(l.m_guidElem)) problems.push_back(me + " input names a missing element");
            if (!b) problems.push_back(me + " input names a missing bus");
            else if (!(b->m_guidElemIn == e->m_guid && b->m_nPortIn == p && b->m_guidElemOut == l.m_guidElem &&
                       b->m_nPortOut == l.m_nPort))
                problems.push_back(me + " input disagrees with its bus");
        }
        for (const auto& [q, list] : e->m_mapOutLinks) {
            if (list.empty()) problems.push_back(me + " keeps an empty output list");
            for (const GuidAndPort& l : list) {
                const SCHEME_BUS* b = bus(l.m_guidBus);
                if (!elem(l.m_guidElem)) problems.push_back(me + " output names a missing element");
                if (!b) problems.push_back(me + " output names a missing bus");
                else if (!(b->m_guidElemOut == e->m_guid && b->m_nPortOut == q && b->m_guidElemIn == l.m_guidElem &&
                           b->m_nPortIn == l.m_nPort))
                    problems.push_back(me + " output disagrees with its bus");
            }
        }
    }
    for (const auto& [key, b] : s.m_mapBuses) {
        const std::string me = std::string(CStringA(key).GetString());
        if (key != b->GetGuidString()) problems.push_back(me + " bus is kept under another key");
        if (!CompileIncludeSpace::IsGuidNil(b->m_guidElemIn)) {
            const SCHEME_BASE_ELEMENT* in = elem(b->m_guidElemIn);
            if (!in) problems.push_back(me + " bus feeds a missing element");
            else {
                auto l = in->m_mapInLinks.find(b->m_nPortIn);
                if (l == in->m_mapInLinks.end() || !(l->second.m_guidBus == b->m_guid))
                    problems.push_back(me + " bus is not recorded at its input");
            }
        }
        if (!CompileIncludeSpace::IsGuidNil(b->m_guidElemOut)) {
            const SCHEME_BASE_ELEMENT* out = elem(b->m_guidElemOut);
            if (!out) problems.push_back(me + " bus leaves a missing element");
            else {
                bool found = false;
                auto l = out->m_mapOutLinks.find(b->m_nPortOut);
                if (l != out->m_mapOutLinks.end())
                    for (const GuidAndPort& g : l->second) found = found || g.m_guidBus == b->m_guid;
                if (!found) problems.push_back(me + " bus is not recorded at its output");
            }
        }
    }
    return problems;
}

// The whole graph as text, to compare states reached in different orders.
std::string Signature(const ARM_SCHEME& s) {
    std::ostringstream o;
    for (const auto& [key, e] : s.m_mapElements) {
        o << CStringA(key).GetString() << ":";
        for (const auto& [p, l] : e->m_mapInLinks) o << " i" << p << "=" << Text(l.m_guidElem) << "/" << l.m_nPort;
        for (const auto& [q, list] : e->m_mapOutLinks)
            for (const GuidAndPort& l : list) o << " o" << q << "=" << Text(l.m_guidElem) << "/" << l.m_nPort;
        o << "\n";
    }
    for (const auto& [key, b] : s.m_mapBuses)
        o << CStringA(key).GetString() << " " << Text(b->m_guidElemOut) << "." << b->m_nPortOut << ">"
          << Text(b->m_guidElemIn) << "." << b->m_nPortIn << " " << b->m_vecSegments.size() << "\n";
    return o.str();
}

GUID AddElement(ARM_SCHEME& s, SCHEME_BASE_ELEMENT* e) {
    s.m_mapElements[e->GetGuidString()] = SmartPointer<SCHEME_BASE_ELEMENT>(e);
    return e->m_guid;
}

// A bus from `from` through `route`, not yet connected.
GUID AddBus(ARM_SCHEME& s, Point from, std::initializer_list<Point> route) {
    SmartPointer<SCHEME_BUS> b(new SCHEME_BUS);
    b->m_ptStart = from;
    for (const Point& p : route) b->ExtendTo(p);
    s.m_mapBuses[b->GetGuidString()] = b;
    return b->m_guid;
}

// A feeds B twice and C once (two buses leave A's output 0 together and part); B feeds C.
struct Fixture {
    ARM_SCHEME s;
    GUID a, b, c;
    GUID ab0, ac, ab1, bc;

    Fixture() {
        a = AddElement(s, new TestBox(0, 2, 0, 0));
        b = AddElement(s, new TestBox(2, 1, 20, 0));
        c = AddElement(s, new TestBox(2, 0, 40, 0));
        ab0 = AddBus(s, Point(5, 1), {Point(19, 1)});
        ac = AddBus(s, Point(5, 1), {Point(12, 9), Point(39, 9), Point(39, 1)});
        ab1 = AddBus(s, Point(5, 3), {Point(19, 3)});
        bc = AddBus(s, Point(25, 1), {Point(32, 3), Point(39, 3)});
        EXPECT_TRUE(s.ConnectElements(b, 0, a, 0, ab0));
        EXPECT_TRUE(s.ConnectElements(c, 0, a, 0, ac));
        EXPECT_TRUE(s.ConnectElements(b, 1, a, 1, ab1));
        EXPECT_TRUE(s.ConnectElements(c, 1, b, 0, bc));
    }
};

SCHEME_BASE_ELEMENT& El(const ARM_SCHEME& s, const GUID& g) { return *s.m_mapElements.Find(GetStringByGuid(g)); }
const SCHEME_BUS& Bus(const ARM_SCHEME& s, const GUID& g) { return *s.m_mapBuses.at(GetStringByGuid(g)); }
bool HasBus(const ARM_SCHEME& s, const GUID& g) { return s.m_mapBuses.count(GetStringByGuid(g)) != 0; }

}  // namespace

TEST(ArmScheme, ConnectRecordsBothViews) {
    Fixture f;
    EXPECT_TRUE(GraphProblems(f.s).empty());
    const SCHEME_BUS& bus = Bus(f.s, f.ac);
    EXPECT_TRUE(bus.m_guidElemIn == f.c);
    EXPECT_TRUE(bus.m_guidElemOut == f.a);
    EXPECT_EQ(bus.m_nPortIn, 0);
    EXPECT_EQ(bus.m_nPortOut, 0);
    EXPECT_EQ(El(f.s, f.a).m_mapOutLinks.at(0).size(), 2u);  // one output feeds two buses
    EXPECT_TRUE(El(f.s, f.c).GetPortInGuid(0) == f.a);

    // An input takes one bus only; a refusal changes nothing, the caller's bus included.
    const GUID spare = AddElement(f.s, new TestBox(2, 0, 60, 20));
    const std::string before = Signature(f.s);
    GUID unknown;
    UuidCreate(&unknown);
    EXPECT_FALSE(f.s.ConnectElements(f.c, 5, f.b, 0, unknown));
    EXPECT_EQ(Signature(f.s), before);
    testutil::FakeArmHost host;
    struct Case {
        const char* what;
        GUID in;
        int portIn;
        GUID out;
        int portOut;
        bool withHost;
    };
    const Case refused[] = {
        {"input taken", f.c, 0, f.b, 0, false},
        {"unknown receiver", unknown, 0, f.b, 0, false},
        {"unknown driver", f.c, 5, unknown, 0, false},
        {"negative input", f.c, -1, f.b, 0, false},
        {"negative output", f.c, 1, f.b, -1, false},
        {"input past the receiver's inputs", spare, 2, f.a, 0, true},
        {"output past the driver's outputs", spare, 0, f.a, 2, true},
        {"element without outputs drives", spare, 0, f.c, 0, true},
        {"element without inputs receives", f.a, 0, f.b, 0, true},
    };
    for (const Case& c : refused) {
        // The editor draws a loose line and holds it by a plain pointer; the map is its only
        // owner. A bus destroyed by the refusal would be read after its end here (ASan).
        const GUID extra = AddBus(f.s, Point(25, 1), {Point(39, 1)});
        const SCHEME_BUS* loose = f.s.m_mapBuses.at(GetStringByGuid(extra)).get();
        const std::string withLoose = Signature(f.s);
        EXPECT_FALSE(f.s.ConnectElements(c.in, c.portIn, c.out, c.portOut, extra, c.withHost ? &host : nullptr))
            << c.what;
        ASSERT_TRUE(HasBus(f.s, extra)) << c.what;
        EXPECT_EQ(f.s.m_mapBuses.at(GetStringByGuid(extra)).get(), loose) << c.what;
        EXPECT_EQ(loose->m_vecSegments.size(), 1u) << c.what;
        EXPECT_TRUE(CompileIncludeSpace::IsGuidNil(loose->m_guidElemIn)) << c.what;
        EXPECT_TRUE(CompileIncludeSpace::IsGuidNil(loose->m_guidElemOut)) << c.what;
        EXPECT_EQ(Signature(f.s), withLoose) << c.what;
        EXPECT_TRUE(GraphProblems(f.s).empty()) << c.what;
        // Dropping the loose line is the editor's to do.
        f.s.m_mapBuses.erase(GetStringByGuid(extra));
        EXPECT_EQ(Signature(f.s), before) << c.what;
    }

    // A bus that already carries a link keeps it, with its ends and its entries at both elements.
    for (const GUID& taken : {f.ac, f.bc}) {
        const GUID freeIn = AddElement(f.s, new TestBox(1, 0, 60, 0));
        const std::string withFree = Signature(f.s);
        EXPECT_FALSE(f.s.ConnectElements(freeIn, 0, f.b, 0, taken, &host));
        EXPECT_EQ(Signature(f.s), withFree);
        EXPECT_TRUE(GraphProblems(f.s).empty());
        EXPECT_TRUE(f.s.RemoveElement(freeIn));
    }
    EXPECT_EQ(Signature(f.s), before);

    // Without a host the pins are not known, so a port past them is taken as the caller gives it.
    const GUID extra = AddBus(f.s, Point(25, 1), {Point(39, 1)});
    EXPECT_TRUE(f.s.ConnectElements(f.c, 5, f.b, 0, extra));
    EXPECT_EQ(El(f.s, f.b).m_mapOutLinks.at(0).size(), 2u);
    EXPECT_TRUE(GraphProblems(f.s).empty());
    const GUID within = AddBus(f.s, Point(25, 1), {Point(39, 1)});
    const GUID d = AddElement(f.s, new TestBox(1, 0, 60, 0));
    EXPECT_TRUE(f.s.ConnectElements(d, 0, f.b, 0, within, &host));
    EXPECT_TRUE(GraphProblems(f.s).empty());
}

TEST(ArmScheme, RemovingAnElementTakesItsBusesAndTheFarRecords) {
    Fixture f;
    bool removedAny = false;
    EXPECT_TRUE(f.s.RemoveAllBusesOnElement(f.b, removedAny));
    EXPECT_TRUE(removedAny);
    EXPECT_FALSE(HasBus(f.s, f.ab0));
    EXPECT_FALSE(HasBus(f.s, f.ab1));
    EXPECT_FALSE(HasBus(f.s, f.bc));
    EXPECT_TRUE(HasBus(f.s, f.ac));
    EXPECT_EQ(El(f.s, f.a).m_mapOutLinks.at(0).size(), 1u);
    EXPECT_EQ(El(f.s, f.a).m_mapOutLinks.count(1), 0u);  // emptied lists go
    EXPECT_EQ(El(f.s, f.c).m_mapInLinks.count(1), 0u);
    EXPECT_TRUE(El(f.s, f.b).m_mapInLinks.empty());
    EXPECT_TRUE(El(f.s, f.b).m_mapOutLinks.empty());
    EXPECT_TRUE(GraphProblems(f.s).empty());

    EXPECT_TRUE(f.s.RemoveAllBusesOnElement(f.b, removedAny));  // nothing left on it
    EXPECT_FALSE(removedAny);
    GUID unknown;
    UuidCreate(&unknown);
    EXPECT_FALSE(f.s.RemoveAllBusesOnElement(unknown, removedAny));
    EXPECT_FALSE(f.s.RemoveElement(unknown));

    Fixture g;
    EXPECT_TRUE(g.s.RemoveElement(g.b));
    EXPECT_EQ(g.s.m_mapElements.size(), 2u);
    EXPECT_EQ(g.s.m_mapBuses.size(), 1u);
    EXPECT_TRUE(GraphProblems(g.s).empty());
}

// Removes the fixture's elements and buses in every order, checking the whole graph after each
// step, and that the graph reached depends only on what was removed, not on the order.
TEST(ArmScheme, RemovalInEveryOrderLeavesNoDanglingReference) {
    const Fixture f;
    const GUID elems[3] = {f.a, f.b, f.c};
    const GUID buses[4] = {f.ab0, f.ac, f.ab1, f.bc};
    // The two elements each bus joins, as indices into `elems`.
    const int ends[4][2] = {{0, 1}, {0, 2}, {0, 1}, {1, 2}};
    std::map<unsigned, std::string> reached;
    size_t steps = 0;

    std::function<void(const ARM_SCHEME&, unsigned)> walk = [&](const ARM_SCHEME& from, unsigned removed) {
        for (unsigned item = 0; item < 7; ++item) {
            if (removed & (1u << item)) continue;
            ARM_SCHEME s;
            s.MakeClone(from);
            const unsigned now = removed | (1u << item);
            if (item < 3) {
                EXPECT_TRUE(s.RemoveElement(elems[item]));
            } else {
                const int k = int(item) - 3;
                const bool present = !(removed & (1u << ends[k][0])) && !(removed & (1u << ends[k][1]));
                EXPECT_EQ(s.RemoveBus(buses[k]), present);
            }
            ++steps;
            const std::vector<std::string> problems = GraphProblems(s);
            EXPECT_TRUE(problems.empty()) << "after removing set " << now << ": " << problems.front();
            for (int k = 0; k < 4; ++k) {
                const bool present = !(now & (1u << (3 + k))) && !(now & (1u << ends[k][0])) &&
                                     !(now & (1u << ends[k][1]));
                EXPECT_EQ(HasBus(s, buses[k]), present) << now << " bus " << k;
            }
            const std::string sig = Signature(s);
            auto [it, fresh] = reached.emplace(now, sig);
            if (!fresh) {
                EXPECT_EQ(it->second, sig) << "set " << now;
            }
            if (!HasFailure()) walk(s, now);
        }
    };
    walk(f.s, 0);
    EXPECT_EQ(steps, 13699u);  // 7 + 7*6 + ... + 7!
    EXPECT_EQ(reached.at(127), "");
}

TEST(ArmScheme, ALinkToAMissingBusFailsButLeavesNothingDangling) {
    Fixture f;
    // The host dropped bus ab0 from the map without telling the elements.
    f.s.m_mapBuses.erase(GetStringByGuid(f.ab0));
    bool removedAny = false;
    ARM_SCHEME probe;
    probe.MakeClone(f.s);
    EXPECT_FALSE(probe.RemoveAllBusesOnElement(f.b, removedAny));
    EXPECT_TRUE(removedAny);
    EXPECT_TRUE(probe.m_mapBuses.count(GetStringByGuid(f.ab1)) == 0);  // the walk went on past the gap
    EXPECT_TRUE(probe.m_mapBuses.count(GetStringByGuid(f.bc)) == 0);
    EXPECT_TRUE(GraphProblems(probe).empty());

    ARM_SCHEME one;
    one.MakeClone(f.s);
    EXPECT_TRUE(one.RemoveElement(f.b));  // it went: the missing bus leaves nothing behind to report
    EXPECT_EQ(one.m_mapElements.Find(GetStringByGuid(f.b)), nullptr);
    EXPECT_TRUE(GraphProblems(one).empty());
    EXPECT_EQ(one.m_mapBuses.size(), 1u);

    ARM_SCHEME all;
    all.MakeClone(f.s);
    EXPECT_FALSE(all.RemoveAllElements());
    EXPECT_TRUE(all.m_mapElements.empty());
    EXPECT_TRUE(all.m_mapBuses.empty());

    ARM_SCHEME fine;
    fine.MakeClone(Fixture().s);
    EXPECT_TRUE(fine.RemoveAllElements());
    EXPECT_TRUE(fine.m_mapBuses.empty());
    EXPECT_TRUE(ARM_SCHEME().RemoveAllElements());
}

TEST(ArmScheme, ABusTheTablesDoNotKnowIsLoosenedWithItsElement) {
    Fixture f;
    // A bus from C to itself that C's tables never recorded.
    const GUID loop = AddBus(f.s, Point(44, 1), {Point(46, 5)});
    SCHEME_BUS& l = const_cast<SCHEME_BUS&>(Bus(f.s, loop));
    l.m_guidElemIn = l.m_guidElemOut = f.c;
    l.m_nPortIn = 0, l.m_nPortOut = 0;
    f.s.m_mapBuses.erase(GetStringByGuid(f.bc));  // and a link to a missing bus: the removal fails
    EXPECT_TRUE(f.s.RemoveElement(f.c));
    EXPECT_FALSE(f.s.RemoveElement(f.c));  // gone already
    ASSERT_TRUE(HasBus(f.s, loop));
    EXPECT_TRUE(Bus(f.s, loop).m_vecSegments.empty());
    EXPECT_TRUE(CompileIncludeSpace::IsGuidNil(Bus(f.s, loop).m_guidElemIn));
    EXPECT_EQ(Bus(f.s, loop).m_nPortOut, -1);
    EXPECT_TRUE(GraphProblems(f.s).empty());
}

TEST(ArmScheme, RemovingABusTouchesOnlyItsOwnLinks) {
    Fixture f;
    // Bus ab0 is stale: B's input 0 has since been given to a new bus from A's output 1.
    SCHEME_BASE_ELEMENT& b = El(f.s, f.b);
    const GUID fresh = AddBus(f.s, Point(5, 3), {Point(19, 1)});
    b.m_mapInLinks.erase(0);
    std::vector<GuidAndPort>& fromA = El(f.s, f.a).m_mapOutLinks[0];
    fromA.erase(fromA.begin());
    ASSERT_TRUE(f.s.ConnectElements(f.b, 0, f.a, 1, fresh));
    EXPECT_TRUE(f.s.RemoveBus(f.ab0));
    EXPECT_TRUE(b.GetPortInGuid(0) == f.a);
    EXPECT_TRUE(b.m_mapInLinks.at(0).m_guidBus == fresh);
    EXPECT_TRUE(GraphProblems(f.s).empty());
    EXPECT_FALSE(f.s.RemoveBus(f.ab0));

    Fixture g;
    EXPECT_TRUE(g.s.RemoveBus(g.ac));
    EXPECT_EQ(El(g.s, g.a).m_mapOutLinks.at(0).size(), 1u);
    EXPECT_EQ(El(g.s, g.c).m_mapInLinks.count(0), 0u);
    EXPECT_TRUE(GraphProblems(g.s).empty());
}

TEST(ArmScheme, MimicConnectionsAttachToTheLooseEnd) {
    ARM_SCHEME s;
    const GUID p = AddElement(s, new TestBox(1, 1, 0, 0));
    const GUID q = AddElement(s, new TestBox(1, 1, 20, 0));
    const GUID r = AddElement(s, new TestBox(1, 1, 40, 0));
    const GUID bus = AddBus(s, Point(5, 1), {Point(19, 1)});
    SCHEME_BUS& b = const_cast<SCHEME_BUS&>(Bus(s, bus));
    EXPECT_FALSE(s.ConnectMnemoElements(q, 0, bus, true));  // no end set yet
    b.m_guidElemOut = p;
    b.m_nPortOut = 0;
    EXPECT_TRUE(s.ConnectMnemoElements(q, 0, bus, true));
    EXPECT_TRUE(b.m_guidElemIn == q);
    EXPECT_TRUE(b.m_guidElemOut == p);
    EXPECT_TRUE(El(s, q).m_mapInLinks.at(0).m_guidElem == p);
    EXPECT_TRUE(El(s, p).m_mapOutLinks.at(0).at(0).m_guidElem == q);
    EXPECT_TRUE(GraphProblems(s).empty());

    // The far end is now the input end: attaching as an output end makes it the driven one.
    const GUID bus2 = AddBus(s, Point(25, 1), {Point(39, 1)});
    SCHEME_BUS& b2 = const_cast<SCHEME_BUS&>(Bus(s, bus2));
    b2.m_guidElemIn = r;
    b2.m_nPortIn = 0;
    EXPECT_TRUE(s.ConnectMnemoElements(q, 0, bus2, false));
    EXPECT_TRUE(b2.m_guidElemIn == r);
    EXPECT_TRUE(b2.m_guidElemOut == q);
    EXPECT_TRUE(El(s, r).m_mapInLinks.at(0).m_guidElem == q);
    EXPECT_TRUE(El(s, q).m_mapOutLinks.at(0).at(0).m_guidBus == bus2);

    EXPECT_TRUE(s.RemoveMnemoBus(bus));
    EXPECT_EQ(El(s, q).m_mapInLinks.count(0), 0u);
    EXPECT_EQ(El(s, p).m_mapOutLinks.count(0), 0u);
    EXPECT_TRUE(s.RemoveMnemoBus(bus2));
    EXPECT_EQ(El(s, r).m_mapInLinks.count(0), 0u);
    EXPECT_EQ(El(s, q).m_mapOutLinks.count(0), 0u);
    EXPECT_FALSE(s.RemoveMnemoBus(bus2));
    EXPECT_TRUE(GraphProblems(s).empty());
}

TEST(ArmScheme, ForkPointsOfBusesFromOneOutput) {
    ARM_SCHEME s;
    const GUID a = AddElement(s, new TestBox(0, 1));
    const GUID b = AddElement(s, new TestBox(3, 0, 30, 0));
    // Three buses share their first segment and part at x = 10, 15 and 20.
    const GUID x = AddBus(s, Point(5, 1), {Point(10, 9)});
    const GUID y = AddBus(s, Point(5, 1), {Point(15, 9)});
    const GUID z = AddBus(s, Point(5, 1), {Point(20, 9)});
    ASSERT_TRUE(s.ConnectElements(b, 0, a, 0, x));
    ASSERT_TRUE(s.ConnectElements(b, 1, a, 0, y));
    ASSERT_TRUE(s.ConnectElements(b, 2, a, 0, z));
    std::vector<Point> forks;
    s.GetForkPoints(forks);
    ASSERT_EQ(forks.size(), 3u);  // one per pair
    EXPECT_EQ(forks[0].X, 10);
    EXPECT_EQ(forks[1].X, 10);
    EXPECT_EQ(forks[2].X, 15);
    for (const Point& p : forks) EXPECT_EQ(p.Y, 1);

    s.m_mapBuses.erase(GetStringByGuid(y));  // a link to a missing bus adds no fork
    s.GetForkPoints(forks);
    EXPECT_EQ(forks.size(), 1u);

    Bitmap bitmap(40, 20);
    Graphics g(&bitmap);
    g.Clear(Color(0xFFFFFFFF));
    g.SetPageUnit(UnitPixel);
    s.DrawForkPoints(g, eDrawNormal, {Point(10, 10)});
    s.DrawForkPoints(g, eDrawSelect, {Point(30, 10)});
    Color c;
    bitmap.GetPixel(10, 10, &c);
    EXPECT_EQ(c.GetValue(), 0xFF000000u);
    bitmap.GetPixel(12, 12, &c);  // a circle of radius 5
    EXPECT_EQ(c.GetValue(), 0xFF000000u);
    bitmap.GetPixel(14, 14, &c);
    EXPECT_EQ(c.GetValue(), 0xFFFFFFFFu);
    bitmap.GetPixel(30, 10, &c);
    EXPECT_EQ(c.GetValue(), 0xFF0000FFu);
    s.DrawForkPoints(g, eDrawRedPins, {Point(10, 10)});  // mimic: a white 2 x 2 square
    bitmap.GetPixel(9, 9, &c);
    EXPECT_EQ(c.GetValue(), 0xFFFFFFFFu);
    bitmap.GetPixel(10, 10, &c);
    EXPECT_EQ(c.GetValue(), 0xFFFFFFFFu);
    bitmap.GetPixel(12, 12, &c);
    EXPECT_EQ(c.GetValue(), 0xFF000000u);
}

TEST(ArmScheme, GrabbingASharedStretchMovesBothBuses) {
    ARM_SCHEME s;
    const GUID a = AddElement(s, new TestBox(0, 1));
    const GUID b = AddElement(s, new TestBox(3, 0, 40, 0));
    // x and y run together from (5, 1) to (20, 1), where y turns down; x goes on to (30, 1).
    // z leaves the same output and turns down at (10, 1).
    const GUID x = AddBus(s, Point(5, 1), {Point(30, 1), Point(30, 5)});
    const GUID y = AddBus(s, Point(5, 1), {Point(20, 9)});
    const GUID z = AddBus(s, Point(5, 1), {Point(10, 12)});
    ASSERT_TRUE(s.ConnectElements(b, 0, a, 0, x));
    ASSERT_TRUE(s.ConnectElements(b, 1, a, 0, y));
    ASSERT_TRUE(s.ConnectElements(b, 2, a, 0, z));

    ST_SEGM part;
    Point near;
    ASSERT_TRUE(s.IsNearBus(PointF(15.2f, 0.8f), near, part));
    EXPECT_EQ(near.X, 15);
    EXPECT_EQ(near.Y, 1);
    EXPECT_EQ(part.m_nSegment, 0);
    // The part starts where z leaves and ends where y leaves; x and y run through the point.
    EXPECT_EQ(part.m_nFrom, 10);
    EXPECT_EQ(part.m_nTo, 20);
    std::set<CString> keys(part.m_vecBusKeys.begin(), part.m_vecBusKeys.end());
    EXPECT_EQ(keys, (std::set<CString>{GetStringByGuid(x), GetStringByGuid(y)}));
    EXPECT_EQ(part.m_vecBusKeys.size(), 2u);

    // The host moves every bus of the record.
    for (const CString& key : part.m_vecBusKeys) s.m_mapBuses.at(key)->OffsetSegmentPart(part, Size(0, 3));
    const SCHEME_BUS& bx = Bus(s, x);
    ASSERT_EQ(bx.m_vecSegments.size(), 6u);
    EXPECT_EQ(bx.m_vecSegments[2]->m_nPos, 4);
    EXPECT_EQ(bx.m_vecSegments[2]->m_nStart, 10);
    EXPECT_EQ(bx.m_vecSegments[2]->m_nEnd, 20);
    EXPECT_EQ(Bus(s, y).m_vecSegments[2]->m_nPos, 4);

    EXPECT_FALSE(s.IsNearBus(PointF(50, 50), near, part));
    ST_SEGM none;
    ASSERT_TRUE(s.IsNearBus(PointF(10, 12), near, none));  // z's own end
    EXPECT_EQ(none.m_vecBusKeys.size(), 1u);
}

TEST(ArmScheme, ChangeGuidsRenamesEverythingAndKeepsTheGraph) {
    Fixture f;
    std::set<CString> oldKeys;
    for (const auto& [k, e] : f.s.m_mapElements) oldKeys.insert(k);
    for (const auto& [k, b] : f.s.m_mapBuses) oldKeys.insert(k);
    f.s.ChangeGuids();
    for (const auto& [k, e] : f.s.m_mapElements) EXPECT_EQ(oldKeys.count(k), 0u);
    for (const auto& [k, b] : f.s.m_mapBuses) EXPECT_EQ(oldKeys.count(k), 0u);
    EXPECT_EQ(f.s.m_mapElements.size(), 3u);
    EXPECT_EQ(f.s.m_mapBuses.size(), 4u);
    EXPECT_TRUE(GraphProblems(f.s).empty());
}

TEST(ArmScheme, CloneOwnsItsObjectsAndCopiesShareThem) {
    Fixture f;
    f.s.m_sName = L"main";
    f.s.m_nExtra = 7;
    f.s.m_bExtra = true;
    El(f.s, f.a).m_mapPortTexts[0] = L"k";

    ARM_SCHEME shared(f.s);
    EXPECT_EQ(shared.m_mapBuses.begin()->second.get(), f.s.m_mapBuses.begin()->second.get());

    ARM_SCHEME clone;
    clone.MakeClone(f.s);
    EXPECT_EQ(clone.m_sName, L"main");
    EXPECT_TRUE(clone.m_bExtra);
    EXPECT_EQ(clone.m_nExtra, 0);  // not taken
    EXPECT_EQ(Signature(clone), Signature(f.s));
    EXPECT_NE(&El(clone, f.a), &El(f.s, f.a));
    const SCHEME_BUS& mine = Bus(clone, f.ac);
    EXPECT_NE(mine.m_vecSegments[0].get(), Bus(f.s, f.ac).m_vecSegments[0].get());
    ST_SEGM part;
    part.m_nSegment = 1, part.m_nFrom = 1, part.m_nTo = 9;
    const_cast<SCHEME_BUS&>(mine).OffsetSegmentPart(part, Size(2, 0));
    EXPECT_EQ(Bus(f.s, f.ac).m_vecSegments[1]->m_nPos, 12);
    EXPECT_EQ(mine.m_vecSegments[1]->m_nPos, 14);

    clone.MakeClone(clone);  // from itself
    EXPECT_EQ(clone.m_mapElements.size(), 3u);

    clone.ClearCalcFormulas();
    EXPECT_TRUE(El(clone, f.a).m_mapPortTexts.empty());
    EXPECT_FALSE(El(f.s, f.a).m_mapPortTexts.empty());
    clone.Clear();
    EXPECT_TRUE(clone.m_mapElements.empty());
    EXPECT_TRUE(clone.m_mapBuses.empty());
    EXPECT_EQ(clone.m_sName, L"main");
}

TEST(ArmScheme, BoundsOfElementsAndBuses) {
    ARM_SCHEME s;
    EXPECT_EQ(s.GetBoundedRectF(nullptr, 1).Width, 0.0f);
    AddElement(s, new TestBox(1, 1, 10, 20, 4, 6));
    RectF r = s.GetBoundedRectF(nullptr, 1);
    EXPECT_EQ(r.X, 10.0f);
    EXPECT_EQ(r.Y, 20.0f);
    EXPECT_EQ(r.Width, 4.0f);
    EXPECT_EQ(r.Height, 6.0f);
    AddBus(s, Point(15, 21), {Point(30, 40)});
    r = s.GetBoundedRectF(nullptr, 1);
    EXPECT_EQ(r.X, 10.0f);
    EXPECT_EQ(r.Y, 20.0f);
    EXPECT_EQ(r.GetRight(), 31.0f);
    EXPECT_EQ(r.GetBottom(), 40.0f);
    ARM_SCHEME busesOnly;
    AddBus(busesOnly, Point(15, 21), {Point(30, 21)});
    r = busesOnly.GetBoundedRectF(nullptr, 2);
    EXPECT_EQ(r.X, 15.0f);
    EXPECT_EQ(r.Y, 20.5f);
}

TEST(ArmScheme, BusesAreDrawnOverElements) {
    ARM_SCHEME s;
    AddElement(s, new TestBox(1, 1, 10, 5, 20, 10));
    AddBus(s, Point(0, 10), {Point(40, 10)});
    Bitmap bitmap(50, 20);
    Graphics g(&bitmap);
    g.Clear(Color(0xFFFFFFFF));
    g.SetPageUnit(UnitPixel);
    s.Draw(nullptr, g, eDrawNormal, Size(0, 0));
    Color c;
    bitmap.GetPixel(20, 10, &c);
    EXPECT_EQ(c.GetValue(), 0xFF000000u);  // the bus over the grey box
    bitmap.GetPixel(20, 6, &c);
    EXPECT_EQ(c.GetValue(), 0xFF808080u);
    bitmap.GetPixel(5, 10, &c);
    EXPECT_EQ(c.GetValue(), 0xFF000000u);
}

TEST(ArmScheme, AnElementFeedingItselfGoesWithItsLoop) {
    ARM_SCHEME s;
    const GUID e = AddElement(s, new TestBox(1, 1, 0, 0));
    const GUID other = AddElement(s, new TestBox(1, 1, 20, 0));
    const GUID loop = AddBus(s, Point(5, 1), {Point(7, 9), Point(-1, 1)});
    const GUID out = AddBus(s, Point(5, 1), {Point(19, 1)});
    ASSERT_TRUE(s.ConnectElements(e, 0, e, 0, loop));
    ASSERT_TRUE(s.ConnectElements(other, 0, e, 0, out));
    EXPECT_TRUE(GraphProblems(s).empty());
    std::vector<Point> forks;
    s.GetForkPoints(forks);
    EXPECT_EQ(forks.size(), 1u);  // both leave (5, 1) to the right and part at x = 7
    EXPECT_TRUE(s.RemoveElement(e));
    EXPECT_TRUE(s.m_mapBuses.empty());
    EXPECT_TRUE(El(s, other).m_mapInLinks.empty());
    EXPECT_TRUE(GraphProblems(s).empty());
}
