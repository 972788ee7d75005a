#include <gtest/gtest.h>

#include <string>

#include "model/ConversionProgress.h"

namespace {

class FakeProgress : public platform::ProgressWindow {
public:
    void StepTo(int position) override { log += "step " + std::to_string(position) + ";"; }
    void SetVisible(bool visible) override {
        shown = visible;
        log += visible ? "show;" : "hide;";
    }
    std::string log;
    bool shown = false;
};

}  // namespace

TEST(ConversionProgress, HundredHidesAndALaterPositionShowsAgain) {
    FakeProgress w;
    ShowConversionProgress(&w, 0);
    ShowConversionProgress(&w, 40);
    EXPECT_TRUE(w.shown);
    ShowConversionProgress(&w, 100);
    EXPECT_FALSE(w.shown);
    ShowConversionProgress(&w, 130);
    ShowConversionProgress(&w, 10);
    EXPECT_TRUE(w.shown);
    EXPECT_EQ(w.log, "step 0;show;step 40;show;step 100;hide;step 100;hide;step 10;show;");
    ShowConversionProgress(nullptr, 50);  // no window: nothing to do
}
