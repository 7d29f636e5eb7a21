// Form1's procedures against fakes that behave like real controls, with and without a toolkit
// that reports programmatic changes as events; and the colours the windows choose.
#include "colours.h"
#include "form1.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace kestrova {
namespace {

struct FakeList : ListControl {
    void clear() override { items.clear(), index = -1; }
    void addItem(std::string_view text, std::int16_t at) override {
        items.insert(items.begin() + at, std::string(text));
    }
    std::int16_t listIndex() const override { return index; }
    void setListIndex(std::int16_t position) override {
        index = position;
        if (reportsProgrammaticEvents) {
            onClick();
        }
    }
    std::vector<std::string> items;
    std::int16_t index = -1;
    bool reportsProgrammaticEvents = false;
    std::function<void()> onClick;
};

// Like a real scroll bar it keeps its position inside the range, and it may report a position
// that moved because the range shrank.
struct FakeScrollBar : ScrollBarControl {
    void setMin(std::int16_t value) override { min = value, clamp(); }
    void setMax(std::int16_t value) override { max = value, clamp(); }
    std::int16_t value() const override { return position; }
    void clamp() {
        const std::int16_t clamped = std::clamp(position, min, std::max(min, max));
        if (clamped != position) {
            position = clamped;
            if (reportsProgrammaticEvents) {
                onChange();
            }
        }
    }
    std::int16_t min = 0, max = 32767, position = 0;
    bool reportsProgrammaticEvents = false;
    std::function<void()> onChange;
};

struct FakeLabel : LabelControl {
    void setCaption(std::string_view text) override { caption = text, ++writes; }
    std::string caption;
    int writes = 0;
};

struct FakeRegionalSettings : RegionalSettings {
    std::string decimalSeparator() const override { return separator; }
    std::string separator = ".";
};

// Parameter: whether the toolkit reports programmatic selections and position changes.
class Form1Test : public ::testing::TestWithParam<bool> {
protected:
    Form1Test() {
        list.reportsProgrammaticEvents = scrollBar.reportsProgrammaticEvents = GetParam();
        list.onClick = [this] { form.Combo1_Click(); };
        scrollBar.onChange = [this] { form.HScroll1_Change(); };
        form.Form_Load();
    }
    void select(std::int16_t entry) { list.index = entry, form.Combo1_Click(); }
    void tuneTo(std::int16_t position) { scrollBar.position = position, form.HScroll1_Change(); }
    std::string shown() const {
        return std::to_string(scrollBar.min) + ".." + std::to_string(scrollBar.max) + "@" +
               std::to_string(scrollBar.position) + " " + label1.caption + " " + label2.caption +
               " " + label7.caption + " " + label8.caption;
    }

    FakeList list;
    FakeScrollBar scrollBar;
    FakeLabel label1, label2, label7, label8;
    FakeRegionalSettings regional;
    Form1 form{{list, scrollBar, label1, label2, label7, label8}, regional};
};

INSTANTIATE_TEST_SUITE_P(Toolkits, Form1Test, ::testing::Bool());

TEST_P(Form1Test, LoadFillsTheListInOrderAndShowsTheFirstEntry) {
    EXPECT_EQ(list.items,
              (std::vector<std::string>{"FO-29", "AO-7 Mode A", "AO-7 Mode B", "VO-52", "HO-68"}));
    EXPECT_EQ(list.index, 0);
    EXPECT_EQ(shown(), "0..100@0 146.000 435.800 LSB USB");
}

TEST_P(Form1Test, SwitchingEntriesKeepsOrClampsThePosition) {
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

TEST_P(Form1Test, NoSelectionChangesNothing) {
    tuneTo(80);
    const std::string before = shown();
    for (int index : {-1, 5, -32768}) {
        list.index = static_cast<std::int16_t>(index);
        const int writes = label1.writes + label2.writes + label7.writes + label8.writes;
        form.Combo1_Click();
        form.HScroll1_Change();
        form.HScroll1_Scroll();
        EXPECT_EQ(label1.writes + label2.writes + label7.writes + label8.writes, writes);
        EXPECT_EQ(shown(), before);
    }
}

TEST_P(Form1Test, TheSeparatorIsTheUsersAtTheMomentOfFormatting) {
    regional.separator = "\xd9\xab";
    tuneTo(1);
    EXPECT_EQ(label1.caption + " " + label2.caption, "145\xd9\xab"
                                                     "999 435\xd9\xab"
                                                     "801");
}

TEST(Colours, ContrastAsWcagDefinesItAndReadableBlues) {
    constexpr Colour kBlue{0, 0, 255}, kWhite{255, 255, 255}, kBlack{0, 0, 0}, kDark{32, 32, 32};
    EXPECT_NEAR(contrastRatio(kBlack, kWhite), 21.0, 1e-9);
    EXPECT_NEAR(contrastRatio(kBlue, kWhite), 8.59, 0.01);
    EXPECT_NEAR(contrastRatio(Colour{239, 239, 239}, kBlue), 7.5, 0.1);
    EXPECT_EQ(readableOn(kBlue, Colour{239, 239, 239}).red, 0); // the default look is kept
    for (Colour background : {kBlack, kDark, kBlue, Colour{128, 128, 128}, kWhite}) {
        const Colour chosen = readableOn(kBlue, background);
        EXPECT_GE(contrastRatio(chosen, background), 4.5) << int(background.red);
        EXPECT_EQ(chosen.red, chosen.green); // the same hue as the blue
    }
}

} // namespace
} // namespace kestrova
