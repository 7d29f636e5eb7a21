// Form1's event procedures, step by step as the window runs them.
#include "form1.h"

#include "frequency_text.h"
#include "transponder.h"

namespace kestrova {

void Form1::Form_Load() {
    controls_.Combo1.clear();
    std::int16_t position = 0;
    for (const TransponderEntry& entry : kTransponderEntries) {
        controls_.Combo1.addItem(entry.listText, position++);
    }
    controls_.Combo1.setListIndex(0);
    // Toolkits differ on whether setting the index raises a click; call it in any case.
    Combo1_Click();
}

void Form1::Combo1_Click() {
    const TransponderEntry* entry = findEntry(controls_.Combo1.listIndex());
    if (entry == nullptr) {
        return;
    }
    controls_.HScroll1.setRange(0, entry->tuningSpan); // clamps a position above the span
    controls_.Label7.setCaption(entry->uplinkSideband);
    controls_.Label8.setCaption(entry->downlinkSideband);
    HScroll1_Change();
}

void Form1::showFrequencies() {
    const TransponderEntry* entry = findEntry(controls_.Combo1.listIndex());
    if (entry == nullptr) {
        return;
    }
    const std::string separator = regionalSettings_.decimalSeparator();
    // The position is read afresh for each display: a nested event may have moved it.
    controls_.Label1.setCaption(
        frequencyText(frequency(entry->uplink, controls_.HScroll1.value()), separator));
    controls_.Label2.setCaption(
        frequencyText(frequency(entry->downlink, controls_.HScroll1.value()), separator));
}

} // namespace kestrova
