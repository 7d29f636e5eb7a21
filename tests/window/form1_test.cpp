// The transponder entries and their display text against whole-kHz arithmetic, and Form1's
// procedures against controls that keep what is set as real controls do (Qt's window test runs
// them on a toolkit that also reports the position a shrinking range moved).
#include "form1.h"
#include "frequency_text.h"
#include "recorded_controls.h"
#include "transponder.h"

#include <gtest/gtest.h>

namespace kestrova {
namespace {

// The published data again, in whole kHz, so that no double arithmetic is shared with the
// code under test. Steps are kHz per kHz of tuning offset.
struct ExpectedEntry {
    const char* listText; // sidebands and spans show in the selections below
    int uplinkKHz, uplinkStep, downlinkKHz, downlinkStep;
};
constexpr ExpectedEntry kExpected[] = {
    {"FO-29", 146000, -1, 435800, +1},       {"AO-7 Mode A", 145850, +1, 29400, +1},
    {"AO-7 Mode B", 432175, -1, 145925, +1}, {"VO-52", 435275, -1, 145875, +1},
    {"HO-68", 145925, +1, 435765, -1},
};

std::string kilohertzText(int kHz) {
    return std::to_string(kHz / 1000) + "." + std::to_string(1000 + kHz % 1000).substr(1);
}

// Every entry at every whole offset shows the exact kHz value.
TEST(Transponder, EveryEntryAtEveryOffsetShowsTheExactKilohertz) {
    for (std::int16_t position = 0; position < 5; ++position) {
        const ExpectedEntry& x = kExpected[position];
        const TransponderEntry* e = findEntry(position);
        ASSERT_NE(e, nullptr);
        ASSERT_EQ(e->listText, x.listText);
        for (std::int16_t k = 0; k <= e->tuningSpan; ++k) {
            EXPECT_EQ(frequencyText(frequency(e->uplink, k), ".") + " " +
                          frequencyText(frequency(e->downlink, k), "."),
                      kilohertzText(x.uplinkKHz + x.uplinkStep * k) + " " +
                          kilohertzText(x.downlinkKHz + x.downlinkStep * k))
                << x.listText << " at " << k;
        }
    }
}

// Each selection keeps the position or clamps it to the new span; no selection (-1, or one
// past the list) changes nothing; the separator is read at each refresh.
TEST(Form1, SelectionsKeepOrClampThePosition) {
    RecordedList list;
    RecordedScrollBar scrollBar;
    RecordedLabel labels[4];
    FixedSeparator settings;
    Form1 form{{list, scrollBar, labels[0], labels[1], labels[2], labels[3]}, settings};
    const auto shown = [&] {
        std::string text = std::to_string(scrollBar.max) + "@" + std::to_string(scrollBar.position);
        for (const RecordedLabel& label : labels) {
            text.append(" ").append(label.caption);
        }
        return text;
    };
    form.Form_Load();
    EXPECT_EQ(shown(), "100@0 146.000 435.800 LSB USB");
    const struct {
        std::int16_t from, offset, to;
        const char* expected;
    } kSwitches[] = {
        {0, 30, 1, "100@30 145.880 29.430 USB USB"},  {0, 80, 3, "50@50 435.225 145.925 LSB USB"},
        {0, 100, 4, "50@50 145.975 435.715 LSB USB"}, {1, 51, 2, "50@50 432.125 145.975 LSB USB"},
        {3, 50, 0, "100@50 145.950 435.850 LSB USB"}, {0, 80, -1, "100@80 145.920 435.880 LSB USB"},
        {4, 30, 5, "50@30 145.955 435.735 LSB USB"},
    };
    for (const auto& s : kSwitches) {
        list.index = s.from, form.Combo1_Click();
        scrollBar.position = s.offset, form.HScroll1_Change();
        list.index = s.to, form.Combo1_Click(), form.HScroll1_Scroll();
        EXPECT_EQ(shown(), s.expected) << s.from << " at " << s.offset << " to " << s.to;
    }
    settings.separator[0] = ','; // the user changed the regional settings
    list.index = 0, form.HScroll1_Scroll();
    EXPECT_EQ(shown(), "50@30 145,970 435,830 LSB USB");
}

} // namespace
} // namespace kestrova
