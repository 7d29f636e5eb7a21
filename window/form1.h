// The main window's own behaviour: its four event procedures, the same on every toolkit.
#pragma once

#include "controls.h"

namespace kestrova {

// The controls Form1's procedures read and write, named as in the window.
struct Form1Controls {
    ListControl& Combo1;
    ScrollBarControl& HScroll1;
    LabelControl& Label1; // uplink frequency
    LabelControl& Label2; // downlink frequency
    LabelControl& Label7; // uplink sideband
    LabelControl& Label8; // downlink sideband
};

// All state lives in the controls; the procedures keep nothing between calls, so they may be
// called nested (a toolkit raising an event while a procedure writes a control) in any order.
class Form1 {
public:
    Form1(const Form1Controls& controls, const RegionalSettings& regionalSettings)
        : controls_(controls), regionalSettings_(regionalSettings) {}

    void Form_Load();
    void Combo1_Click();
    void HScroll1_Change() { showFrequencies(); }
    void HScroll1_Scroll() { showFrequencies(); }

private:
    void showFrequencies();

    Form1Controls controls_;
    const RegionalSettings& regionalSettings_;
};

} // namespace kestrova
