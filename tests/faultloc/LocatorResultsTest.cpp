// Fault location on a generated record, each method, to the last bit: the figures below are
// those the engine gave before it kept per run only the per-sample series each method reads.
#include <gtest/gtest.h>

#include "GeneratedFault.h"

using namespace generated_fault;

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
        const Outcome o = Locate(c.method, c.tap);
        const Outcome& e = c.expected;
        SCOPED_TRACE(testing::Message() << "method " << c.method << (c.tap ? " with a tap" : ""));
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
}
