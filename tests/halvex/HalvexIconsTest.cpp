// The icons of the library's object kinds: each family has a picture of its own, drawn in code;
// the variants of a family keep its picture and differ in a detail.
#include <gtest/gtest.h>

#include <cairo.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "halvex/config/ObjIconsHelper.h"
#include "halvex/helpers/HalvexIcons.h"
#include "platform/draw/GdiObjects.h"

namespace {

// Every pixel, alpha included, as text to compare.
std::string Pixels(const HICON& icon, int x0 = 0, int y0 = 0, int x1 = kHalvexIconSize, int y1 = kHalvexIconSize) {
    std::string out;
    cairo_surface_t* s = icon->Surface();
    cairo_surface_flush(s);
    const unsigned char* data = cairo_image_surface_get_data(s);
    const int stride = cairo_image_surface_get_stride(s);
    for (int y = y0; y < y1; ++y) out.append(reinterpret_cast<const char*>(data + y * stride + x0 * 4), size_t(x1 - x0) * 4);
    return out;
}

// The ids the library asks for: by object kind, the lock, the scheme kinds.
std::map<int, std::vector<int>> Families() {
    std::map<int, std::vector<int>> families;
    for (int kind = 0; kind < 64; ++kind) {
        std::vector<int> ids;
        ObjIconsHelper::GetIconsIDsForImageList(EArmObjectType(kind), ids, true);
        if (!ids.empty()) families[kind] = ids;
    }
    families[100] = {7000};
    for (int k = 0; k < 7; ++k) families[101 + k] = {ObjIconsHelper::GetIconIDForSchemEditType(ESchemeEditType(k))};
    return families;
}

}  // namespace

TEST(HalvexIcons, EveryFamilyHasAPictureOfItsOwn) {
    std::map<std::string, int> seen;  // picture -> id
    std::set<int> ids;
    for (const auto& [kind, list] : Families()) ids.insert(list.begin(), list.end());
    ASSERT_GT(ids.size(), 40u);
    for (int id : ids) {
        SCOPED_TRACE(id);
        HICON icon = HalvexLoadIcon(id);
        ASSERT_TRUE(icon);
        EXPECT_EQ(icon->GetSize(), CSize(kHalvexIconSize, kHalvexIconSize));
        EXPECT_TRUE(icon->HasAlpha());
        const std::string pixels = Pixels(icon);
        auto [it, fresh] = seen.emplace(pixels, id);
        EXPECT_TRUE(fresh) << id << " looks like " << it->second;
        // Drawn, not a square filled edge to edge: a corner stays clear or differs from the
        // middle of the opposite side.
        const uint32_t* px = reinterpret_cast<const uint32_t*>(cairo_image_surface_get_data(icon->Surface()));
        const int w = cairo_image_surface_get_stride(icon->Surface()) / 4;
        const bool squareCorners = px[1 * w + 1] == px[14 * w + 14] && px[1 * w + 14] == px[14 * w + 1] &&
                                   px[1 * w + 1] == px[1 * w + 14] && (px[1 * w + 1] >> 24) == 255;
        EXPECT_FALSE(squareCorners) << "still the plain square";
    }
    // An id of no family still has a picture.
    EXPECT_TRUE(HalvexLoadIcon(7999));
    EXPECT_FALSE(HalvexLoadIcon(0));
}

TEST(HalvexIcons, VariantsKeepTheirFamilysPicture) {
    // Analog inputs by quantity, discrete outputs by kind: the left half is the family's.
    for (const std::vector<int>& family : {std::vector<int>{7003, 7004, 7005, 7006, 7007},
                                           std::vector<int>{7012, 7013, 7014, 7015, 7016, 7017, 7018, 7019, 7020, 7021}}) {
        const std::string left = Pixels(HalvexLoadIcon(family[0]), 0, 0, 6, 16);
        for (int id : family) EXPECT_EQ(Pixels(HalvexLoadIcon(id), 0, 0, 6, 16), left) << id;
    }
    // The same id gives the same picture at every load.
    EXPECT_EQ(Pixels(HalvexLoadIcon(7041)), Pixels(HalvexLoadIcon(7041)));
}
