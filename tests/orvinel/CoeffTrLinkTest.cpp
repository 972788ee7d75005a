// Channel groups that share a transformation ratio, and the Cyrillic-to-Latin folding of names.
#include <gtest/gtest.h>

#include "orvinel/CoeffTrLink.h"

namespace {

TEST(CoeffTrLink, DeviceTextBeforeTheFirstUnderscoreNeedsFiveCharacters) {
    EXPECT_TRUE(CCoeffTrLink(L"TOR3_300").Device().IsEmpty());
    EXPECT_TRUE(CCoeffTrLink(L"TOR3_300").Groups().empty());
    EXPECT_EQ(CCoeffTrLink(L"TOR3000").Device(), L"TOR3000");
    EXPECT_EQ(CCoeffTrLink(L"TOR300_A_B").Device(), L"TOR300");
    EXPECT_EQ(CCoeffTrLink(L"TOR300_A_B").Groups().size(), 4u);
    EXPECT_TRUE(CCoeffTrLink(L"").Groups().empty());
    EXPECT_TRUE(CCoeffTrLink(L"UNKNOWN1").Groups().empty());
}

TEST(CoeffTrLink, MainChannelOfAGroup) {
    CCoeffTrLink link(L"TOR300_1");
    EXPECT_EQ(link.FindMainChannel(L"IB1"), L"IA1");
    EXPECT_EQ(link.FindMainChannel(L"Uca"), L"Uab");
    EXPECT_EQ(link.FindMainChannel(L"IA1"), L"");  // a main channel
    EXPECT_EQ(link.FindMainChannel(L"ib1"), L"");  // case is significant
    EXPECT_EQ(link.FindMainChannel(L"IX9"), L"");
    EXPECT_EQ(link.FindMainChannel(L"IС1"), L"IA1");  // Cyrillic Es
    // A model code written in Cyrillic, with a Ze for the digit 3, still finds its family.
    EXPECT_EQ(CCoeffTrLink(L"ТОРЗ00 rev2").FindMainChannel(L"IB2"), L"IA2");
    // A device of two families holds both; the earlier group answers first.
    CCoeffTrLink both(L"SHR500+TOR300");
    EXPECT_EQ(both.Groups().size(), 5u);
    EXPECT_EQ(both.FindMainChannel(L"IA2"), L"IA1");
}

TEST(CoeffTrLink, CompareFoldsLookAlikes) {
    CCoeffTrLink link(L"");
    EXPECT_TRUE(link.MakeCompare(L"Uаb", L"Uab"));  // Cyrillic small a
    EXPECT_TRUE(link.MakeCompare(L"ЕОРАХСТНКВМеуорахс", L"EOPAXCTHKBMeyopaxc"));
    EXPECT_FALSE(link.MakeCompare(L"З", L"3"));  // only while model codes are compared
    EXPECT_FALSE(link.MakeCompare(L"Ua", L"UA"));
    EXPECT_EQ(link.ToLatin(L"Пуск"), L"Пycк");  // small Ka has no pair
}

}  // namespace
