// Form1's procedures against fakes that behave like real controls, with and without a toolkit
// that reports programmatic changes as events; and the colours the windows choose.
#include "colours.h"
#include "form1.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

namespace kestrova {
namespace {

// Like real controls, the list may report a selection the program makes, and the scroll bar
// keeps its position inside its range and may report a position that moved as the range shrank.
struct Fakes : ListControl, ScrollBarControl, RegionalSettings {
    void clear() override { items.clear(), index = -1; }
    void addItem(std::string_view text, std::int16_t at) override {
        items.emplace(items.begin() + at, text);
    }
    std::int16_t listIndex() const override { return index; }
    void setListIndex(std::int16_t selected) override {
        index = selected, reportsEvents ? onEvent(true) : void();
    }
    void setRange(std::int16_t low, std::int16_t high) override { min = low, max = high, clamp(); }
    std::int16_t value() const override { return position; }
    std::string decimalSeparator() const override { return separator; }
    void clamp() {
        const std::int16_t clamped = std::clamp(position, min, std::max(min, max));
        if (clamped != position) {
            position = clamped, reportsEvents ? onEvent(false) : void();
        }
    }
    std::vector<std::string> items;
    std::int16_t index = -1, min = 0, max = 32767, position = 0;
    std::string separator = ".";
    bool reportsEvents = false;
    std::function<void(bool click)> onEvent;
};

struct FakeLabel : LabelControl {
    void setCaption(std::string_view text) override { caption = text; }
    std::string caption;
};

// Parameter: whether the toolkit reports programmatic selections and position changes.
class Form1Test : public ::testing::TestWithParam<bool> {
protected:
    Form1Test() {
        fakes.reportsEvents = GetParam();
        fakes.onEvent = [this](bool click) {
            click ? form.Combo1_Click() : form.HScroll1_Change();
        };
        form.Form_Load();
    }
    void select(std::int16_t entry) { fakes.index = entry, form.Combo1_Click(); }
    void tuneTo(std::int16_t position) { fakes.position = position, form.HScroll1_Change(); }
    std::string shown() const {
        return std::to_string(fakes.min) + ".." + std::to_string(fakes.max) + "@" +
               std::to_string(fakes.position) + " " + labels[0].caption + " " + labels[1].caption +
               " " + labels[2].caption + " " + labels[3].caption;
    }

    Fakes fakes;
    FakeLabel labels[4];
    Form1 form{{fakes, fakes, labels[0], labels[1], labels[2], labels[3]}, fakes};
};

INSTANTIATE_TEST_SUITE_P(Toolkits, Form1Test, ::testing::Bool());

TEST_P(Form1Test, LoadFillsTheListAndEverySelectionKeepsOrClampsThePosition) {
    EXPECT_EQ(fakes.items,
              (std::vector<std::string>{"FO-29", "AO-7 Mode A", "AO-7 Mode B", "VO-52", "HO-68"}));
    EXPECT_EQ(fakes.index, 0);
    EXPECT_EQ(shown(), "0..100@0 146.000 435.800 LSB USB");
    const struct {
        std::int16_t from, offset, to;
        const char* expected;
    } kSwitches[] = {
        {0, 30, 1, "0..100@30 145.880 29.430 USB USB"},
        {0, 80, 3, "0..50@50 435.225 145.925 LSB USB"},
        {0, 100, 4, "0..50@50 145.975 435.715 LSB USB"},
        {1, 51, 2, "0..50@50 432.125 145.975 LSB USB"},
        {3, 50, 0, "0..100@50 145.950 435.850 LSB USB"},
        {0, 37, 0, "0..100@37 145.963 435.837 LSB USB"},
    };
    for (const auto& s : kSwitches) {
        select(s.from);
        tuneTo(s.offset);
        select(s.to);
        EXPECT_EQ(shown(), s.expected) << s.from << " at " << s.offset << " to " << s.to;
    }
}

TEST_P(Form1Test, NoSelectionChangesNothingAndTheSeparatorIsReadAtEachRefresh) {
    tuneTo(80);
    const std::string before = shown();
    for (std::int16_t index : {std::int16_t(-1), std::int16_t(5), std::int16_t(-32768)}) {
        fakes.index = index;
        form.Combo1_Click();
        form.HScroll1_Change();
        form.HScroll1_Scroll();
        EXPECT_EQ(shown(), before);
    }
    select(0);
    fakes.separator = "\xd9\xab";
    tuneTo(1);
    EXPECT_EQ(labels[0].caption + " " + labels[1].caption, "145\xd9\xab"
                                                           "999 435\xd9\xab"
                                                           "801");
}

TEST(Colours, ContrastAsWcagDefinesItAndReadableBlues) {
    constexpr Colour kBlue{0, 0, 255}, kWhite{255, 255, 255}, kBlack{0, 0, 0}, kFace{239, 239, 239};
    EXPECT_NEAR(contrastRatio(kBlack, kWhite), 21.0, 1e-9);
    EXPECT_NEAR(contrastRatio(kBlue, kWhite), 8.59, 0.01);
    EXPECT_EQ(readableOn(kBlue, kFace).red, 0); // the default look keeps its blue
    for (Colour background : {kBlack, Colour{32, 32, 32}, kBlue, Colour{128, 128, 128}, kWhite}) {
        const Colour chosen = readableOn(kBlue, background);
        EXPECT_GE(contrastRatio(chosen, background), 4.5) << int(background.red);
        EXPECT_TRUE(chosen.red == chosen.green && chosen.blue >= chosen.red); // the same hue
    }
}

} // namespace
} // namespace kestrova
