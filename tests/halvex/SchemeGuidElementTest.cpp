#include "halvex/scheme/SchemeGuidElement.h"

#include <gtest/gtest.h>

TEST(SchemeGuidElement, FreshElementsDifferAndCopiesKeepTheirSourcesIdentity) {
    SCHEME_GUID_ELEMENT a, b;
    EXPECT_FALSE(a.IsEqual(b));
    EXPECT_EQ(a.GetGuidString().GetLength(), 36);
    EXPECT_NE(a.GetGuidString(), b.GetGuidString());

    SCHEME_GUID_ELEMENT copy(a);
    EXPECT_TRUE(copy.IsEqual(a));
    EXPECT_EQ(copy.GetGuidString(), a.GetGuidString());
    b = a;
    EXPECT_TRUE(b.IsEqual(a));
}
