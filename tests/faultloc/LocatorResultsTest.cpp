// Fault location on a generated record, each method, to the last bit: the figures below are
// those the engine gave when it still kept every per-sample series of a run whole.
#include <gtest/gtest.h>

#include "GeneratedFault.h"

using namespace generated_fault;

namespace {
void ExpectOutcome(const Outcome& o, const Outcome& e) {
    EXPECT_EQ(o.ok, e.ok);
    EXPECT_EQ(o.distance, e.distance);
    EXPECT_EQ(o.spread, e.spread);
    EXPECT_EQ(o.first, e.first);
    EXPECT_EQ(o.last, e.last);
    EXPECT_EQ(o.phaseA, e.phaseA);
    EXPECT_EQ(o.phaseB, e.phaseB);
    EXPECT_EQ(o.phaseC, e.phaseC);
    EXPECT_EQ(o.section, e.section);
    EXPECT_EQ(o.tower, e.tower);
    EXPECT_EQ(o.digest, e.digest);
}
}  // namespace

TEST(LocatorResults, EveryMethodGivesItsResultToTheLastBit) {
    const struct {
        int method;
        bool tap;
        Outcome expected;
    } cases[] = {
        {WrongPlaceLocatorData::IsolatedNeutral, false,
         {true, 0x401fff6c5e46bbb6ull, 0x3f911a71c3490bc9ull, 4704, 4799, 0, 1, 1, 0, 27, 0xcf158a5711915a97ull}},
        {WrongPlaceLocatorData::EarthedNeutral, false,
         {true, 0x4020010d209c2cc5ull, 0x3f833a743278b411ull, 4670, 4765, 1, 0, 0, 0, 27, 0xbcd2f681812fe71dull}},
        {WrongPlaceLocatorData::EarthedNeutral, true,
         {true, 0x402000fa85fdd7e2ull, 0x3f82c7ce1d9466b7ull, 4670, 4765, 1, 0, 0, 0, 27, 0x1d46e8dd87b9149eull}},
        {WrongPlaceLocatorData::TwoEnded, false,
         {true, 0x40216e8000000000ull, 0x0000000000000000ull, 4676, 4771, 1, 0, 0, 0, 30, 0x1666c8456c48ed54ull}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "method " << c.method << (c.tap ? " with a tap" : ""));
        ExpectOutcome(Locate(c.method, c.tap), c.expected);
    }
}

// Longer than the blocks of samples the engine works in, the fault starting in one block and
// going on past the next: the first pass, the tap's second pass and a coupled parallel line's
// current all meet the blocks' edges.
TEST(LocatorResults, LongRecordsGiveTheirResultToTheLastBitAcrossTheEnginesBlocks) {
    const Shape longer{30000, 17000, false}, coupled{30000, 17000, true};
    const struct {
        int method;
        bool tap;
        Shape shape;
        Outcome expected;
    } cases[] = {
        {WrongPlaceLocatorData::IsolatedNeutral, false, longer,
         {true, 0x4020003489e27130ull, 0x3fa9a3e4fd16723bull, 18644, 18739, 0, 1, 1, 0, 27, 0x1ce0e7f82e66fddeull}},
        {WrongPlaceLocatorData::EarthedNeutral, true, coupled,
         {true, 0x401b01ae7c0470aeull, 0x3f7e2d36303641b8ull, 29827, 29922, 1, 0, 0, 0, 23, 0x33193a7cfd319561ull}},
        {WrongPlaceLocatorData::TwoEnded, false, coupled,
         {true, 0x4018150000000000ull, 0x0000000000000000ull, 29494, 29589, 1, 0, 0, 0, 21, 0xf4e1f53bdf14b02eull}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "method " << c.method << (c.tap ? " with a tap" : ""));
        ExpectOutcome(Locate(c.method, c.tap, c.shape), c.expected);
    }
}
