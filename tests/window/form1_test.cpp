// Form1's procedures against fakes that behave like real controls, with and without a toolkit
// that reports programmatic changes as events.
#include "form1.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace kestrova {
namespace {

using Log = std::vector<std::string>;

class FakeList : public ListControl {
public:
    explicit FakeList(Log& log) : log_(log) {}
    void clear() override {
        log_.push_back("Combo1.clear");
        items.clear();
        index = -1;
    }
    void addItem(std::string_view text, std::int16_t position) override {
        log_.push_back("Combo1.add " + std::string(text) + "@" + std::to_string(position));
        items.insert(items.begin() + position, std::string(text));
    }
    std::int16_t listIndex() const override { return index; }
    void setListIndex(std::int16_t position) override {
        log_.push_back("Combo1.listIndex=" + std::to_string(position));
        index = position;
        if (reportsProgrammaticSelection && onClick) {
            onClick();
        }
    }
    // What the user does: pick an entry, and the toolkit reports it.
    void select(std::int16_t position) {
        index = position;
        onClick();
    }

    std::vector<std::string> items;
    std::int16_t index = -1;
    bool reportsProgrammaticSelection = false;
    std::function<void()> onClick;

private:
    Log& log_;
};

// Like a real scroll bar it keeps its position inside the range, and it may report a position
// that moved because the range shrank.
class FakeScrollBar : public ScrollBarControl {
public:
    explicit FakeScrollBar(Log& log) : log_(log) {}
    void setMin(std::int16_t value) override {
        log_.push_back("HScroll1.min=" + std::to_string(value));
        min = value;
        clampPosition();
    }
    void setMax(std::int16_t value) override {
        log_.push_back("HScroll1.max=" + std::to_string(value));
        max = value;
        clampPosition();
    }
    std::int16_t value() const override {
        log_.push_back("HScroll1.value?");
        return position;
    }
    void moveTo(std::int16_t value) { position = std::clamp(value, min, max); }

    std::int16_t min = 0;
    std::int16_t max = 32767;
    std::int16_t position = 0;
    bool reportsProgrammaticChange = false;
    std::function<void()> onChange;

private:
    void clampPosition() {
        const std::int16_t clamped = std::clamp(position, min, std::max(min, max));
        if (clamped != position) {
            position = clamped;
            if (reportsProgrammaticChange && onChange) {
                onChange();
            }
        }
    }
    Log& log_;
};

class FakeLabel : public LabelControl {
public:
    FakeLabel(Log& log, std::string name, std::string initial)
        : caption(std::move(initial)), log_(log), name_(std::move(name)) {}
    void setCaption(std::string_view text) override {
        caption = std::string(text);
        log_.push_back(name_ + "=" + caption);
    }
    std::string caption;

private:
    Log& log_;
    std::string name_;
};

class FakeRegionalSettings : public RegionalSettings {
public:
    std::string decimalSeparator() const override { return separator; }
    std::string separator = ".";
};

struct Display {
    std::int16_t position;
    std::int16_t max;
    const char* uplink;
    const char* downlink;
    const char* uplinkSideband;
    const char* downlinkSideband;
};

// Parameter: whether the toolkit reports programmatic selections and position changes.
class Form1Test : public ::testing::TestWithParam<bool> {
protected:
    Form1Test() {
        list.reportsProgrammaticSelection = GetParam();
        scrollBar.reportsProgrammaticChange = GetParam();
        list.onClick = [this] { form.Combo1_Click(); };
        scrollBar.onChange = [this] { form.HScroll1_Change(); };
    }

    void expectDisplay(const Display& expected) {
        EXPECT_EQ(scrollBar.position, expected.position);
        EXPECT_EQ(scrollBar.min, 0);
        EXPECT_EQ(scrollBar.max, expected.max);
        EXPECT_EQ(label1.caption, expected.uplink);
        EXPECT_EQ(label2.caption, expected.downlink);
        EXPECT_EQ(label7.caption, expected.uplinkSideband);
        EXPECT_EQ(label8.caption, expected.downlinkSideband);
    }

    // The user drags or steps the scroll bar; the toolkit reports it.
    void tuneTo(std::int16_t position) {
        scrollBar.moveTo(position);
        form.HScroll1_Change();
    }

    Log log;
    FakeList list{log};
    FakeScrollBar scrollBar{log};
    FakeLabel label1{log, "Label1", ""};
    FakeLabel label2{log, "Label2", ""};
    FakeLabel label7{log, "Label7", "LSB"};
    FakeLabel label8{log, "Label8", "USB"};
    FakeRegionalSettings regional;
    Form1 form{{list, scrollBar, label1, label2, label7, label8}, regional};
};

std::string toolkitName(const ::testing::TestParamInfo<bool>& toolkit) {
    return toolkit.param ? "ReportsProgrammaticEvents" : "Silent";
}
INSTANTIATE_TEST_SUITE_P(Toolkits, Form1Test, ::testing::Bool(), toolkitName);

TEST_P(Form1Test, LoadFillsTheListAndShowsTheFirstEntry) {
    list.items = {"stale"};
    form.Form_Load();
    EXPECT_EQ(list.items,
              (std::vector<std::string>{"FO-29", "AO-7 Mode A", "AO-7 Mode B", "VO-52", "HO-68"}));
    EXPECT_EQ(list.index, 0);
    expectDisplay({0, 100, "146.000", "435.800", "LSB", "USB"});

    const Log expectedStart = {"Combo1.clear",
                               "Combo1.add FO-29@0",
                               "Combo1.add AO-7 Mode A@1",
                               "Combo1.add AO-7 Mode B@2",
                               "Combo1.add VO-52@3",
                               "Combo1.add HO-68@4",
                               "Combo1.listIndex=0"};
    ASSERT_GE(log.size(), expectedStart.size());
    EXPECT_EQ(Log(log.begin(), log.begin() + static_cast<long>(expectedStart.size())),
              expectedStart);
}

TEST_P(Form1Test, ASelectionWritesRangeSidebandsThenBothFrequenciesInOrder) {
    form.Form_Load();
    tuneTo(30);
    log.clear();
    list.select(1);
    const Log expected = {"HScroll1.min=0",  "HScroll1.max=100", "Label7=USB",
                          "Label8=USB",      "HScroll1.value?",  "Label1=145.880",
                          "HScroll1.value?", "Label2=29.430"};
    EXPECT_EQ(log, expected);
}

TEST_P(Form1Test, SwitchingEntriesKeepsOrClampsThePosition) {
    struct Switch {
        const char* name;
        std::int16_t from;
        std::int16_t offset;
        std::int16_t to;
        Display expected;
    };
    const Switch kSwitches[] = {
        {"FO-29 at 30 to AO-7 Mode A", 0, 30, 1, {30, 100, "145.880", "29.430", "USB", "USB"}},
        {"FO-29 at 80 to VO-52", 0, 80, 3, {50, 50, "435.225", "145.925", "LSB", "USB"}},
        {"FO-29 at 100 to HO-68", 0, 100, 4, {50, 50, "145.975", "435.715", "LSB", "USB"}},
        {"AO-7 Mode A at 51 to AO-7 Mode B",
         1,
         51,
         2,
         {50, 50, "432.125", "145.975", "LSB", "USB"}},
        {"VO-52 at 50 to FO-29", 3, 50, 0, {50, 100, "145.950", "435.850", "LSB", "USB"}},
        {"FO-29 at 37 to FO-29 again", 0, 37, 0, {37, 100, "145.963", "435.837", "LSB", "USB"}},
        {"HO-68 at 0 to AO-7 Mode A", 4, 0, 1, {0, 100, "145.850", "29.400", "USB", "USB"}},
    };
    for (const Switch& s : kSwitches) {
        SCOPED_TRACE(s.name);
        form.Form_Load();
        list.select(s.from);
        tuneTo(s.offset);
        list.select(s.to);
        expectDisplay(s.expected);
    }
}

TEST_P(Form1Test, ReselectingTheSameEntryLeavesTheDisplaysAsTheyWere) {
    form.Form_Load();
    list.select(2);
    tuneTo(12);
    const std::vector<std::string> before = {label1.caption, label2.caption, label7.caption,
                                             label8.caption};
    list.select(2);
    EXPECT_EQ(
        (std::vector<std::string>{label1.caption, label2.caption, label7.caption, label8.caption}),
        before);
    EXPECT_EQ(scrollBar.position, 12);
}

TEST_P(Form1Test, NoSelectionChangesNothing) {
    for (std::int16_t index : std::initializer_list<std::int16_t>{-1, 5, 32767, -32768}) {
        SCOPED_TRACE(index);
        form.Form_Load();
        tuneTo(80);
        list.index = index;
        scrollBar.moveTo(20);
        log.clear();
        form.Combo1_Click();
        form.HScroll1_Change();
        form.HScroll1_Scroll();
        EXPECT_TRUE(std::none_of(
            log.begin(), log.end(),
            [](const std::string& entry) { return entry.find('=') != std::string::npos; }))
            << "wrote: " << ::testing::PrintToString(log);
        expectDisplay({20, 100, "145.920", "435.880", "LSB", "USB"});
    }
}

TEST_P(Form1Test, TheSeparatorIsTheUsersAtTheMomentOfFormatting) {
    regional.separator = ",";
    form.Form_Load();
    expectDisplay({0, 100, "146,000", "435,800", "LSB", "USB"});
    regional.separator = "\xd9\xab";
    tuneTo(1);
    EXPECT_EQ(label1.caption, "145\xd9\xab"
                              "999");
    EXPECT_EQ(label2.caption, "435\xd9\xab"
                              "801");
}

} // namespace
} // namespace kestrova
