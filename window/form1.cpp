// Form1's event procedures, step by step as the window runs them.
#include "form1.h"

#include "frequency_text.h"
#include "transponder.h"

namespace kestrova {

Form1::Form1(const Form1Controls& controls, const RegionalSettings& regionalSettings)
    : Combo1(controls.Combo1), HScroll1(controls.HScroll1), Label1(controls.Label1),
      Label2(controls.Label2), Label7(controls.Label7), Label8(controls.Label8),
      regionalSettings_(regionalSettings) {}

void Form1::Form_Load() {
    Combo1.clear();
    std::int16_t position = 0;
    for (std::string_view text : listTexts()) {
        Combo1.addItem(text, position++);
    }
    Combo1.setListIndex(0);
    // Toolkits differ on whether setting the index raises a click; call it in any case.
    Combo1_Click();
}

void Form1::Combo1_Click() {
    const TransponderEntry* entry = findEntry(Combo1.listIndex());
    if (entry == nullptr) {
        return;
    }
    HScroll1.setMin(0);
    HScroll1.setMax(entry->tuningSpan); // the scroll bar clamps a position above the new span
    Label7.setCaption(entry->uplinkSideband);
    Label8.setCaption(entry->downlinkSideband);
    HScroll1_Change();
}

void Form1::HScroll1_Change() {
    showFrequencies();
}

void Form1::HScroll1_Scroll() {
    showFrequencies();
}

void Form1::showFrequencies() {
    const std::int16_t position = Combo1.listIndex();
    if (findEntry(position) == nullptr) {
        return;
    }
    const std::string separator = regionalSettings_.decimalSeparator();
    // The position is read afresh for each display: a nested event may have moved it.
    if (const auto uplink = uplinkFrequency(position, HScroll1.value())) {
        Label1.setCaption(frequencyText(*uplink, separator));
    }
    if (const auto downlink = downlinkFrequency(position, HScroll1.value())) {
        Label2.setCaption(frequencyText(*downlink, separator));
    }
}

} // namespace kestrova
