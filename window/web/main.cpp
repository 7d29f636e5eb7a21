// Kestrova in a browser: Form1's elements, written into the page from the layout table at build
// time, wired to the same procedures. page.js holds the how (keys, the pointer); this the what.
#include "form1.h"
#include "layout.h"
#include "screen_reader.h"

#include <emscripten.h>

#include <string>

namespace kestrova {
namespace {

// The page's side, in page.js: one call a control operation, the controls found by index.
extern "C" {
void kestrovaAdopt(int index, int kind, const char* name);
void kestrovaFocus(int index);
void kestrovaClear(int index);
void kestrovaAddItem(int index, const char* text, int position);
int kestrovaListIndex(int index);
void kestrovaSetListIndex(int index, int position);
void kestrovaSetRange(int index, int min, int max, int smallChange, int largeChange);
int kestrovaValue(int index);
void kestrovaSetCaption(int index, const char* caption, const char* heard);
void kestrovaSetValueText(int index, const char* text);
void kestrovaDecimalSeparator(char* buffer, int size);
}

int index(Control control) {
    return static_cast<int>(control);
}

struct WebList : ListControl {
    void clear() override { kestrovaClear(index(Control::Combo1)); }
    void addItem(std::string_view text, std::int16_t position) override {
        kestrovaAddItem(index(Control::Combo1), std::string(text).c_str(), position);
    }
    std::int16_t listIndex() const override {
        return static_cast<std::int16_t>(kestrovaListIndex(index(Control::Combo1)));
    }
    void setListIndex(std::int16_t position) override {
        kestrovaSetListIndex(index(Control::Combo1), position);
    }
};

struct WebScrollBar : ScrollBarControl {
    void setRange(std::int16_t min, std::int16_t max) override {
        kestrovaSetRange(index(Control::HScroll1), min, max, kForm1.smallChange,
                         kForm1.largeChange);
    }
    std::int16_t value() const override {
        return static_cast<std::int16_t>(kestrovaValue(index(Control::HScroll1)));
    }
};

// A label shows its caption; a screen reader hears it whole, as heardLabel says.
struct WebLabel : LabelControl {
    explicit WebLabel(Control label) : label(label) {}
    void setCaption(std::string_view caption) override {
        shown = caption;
        kestrovaSetCaption(index(label), shown.c_str(), heardLabel(label, caption).c_str());
    }
    Control label;
    std::string shown;
};

// The browser's language's decimal separator ("." where it is unknown).
struct BrowserRegionalSettings : RegionalSettings {
    std::string decimalSeparator() const override {
        char separator[16] = {};
        kestrovaDecimalSeparator(separator, sizeof separator);
        return separator;
    }
};

WebList combo1;
WebScrollBar hscroll1;
WebLabel label1{Control::Label1}, label2{Control::Label2};
WebLabel label7{Control::Label7}, label8{Control::Label8};
BrowserRegionalSettings regionalSettings;
Form1 form{{combo1, hscroll1, label1, label2, label7, label8}, regionalSettings};

// After every procedure the tuner's value text follows the displays.
void run(void (Form1::*procedure)()) {
    (form.*procedure)();
    kestrovaSetValueText(index(Control::HScroll1),
                         tuningAnnouncement(label1.shown, label2.shown).c_str());
}

} // namespace

// The page's events, by name.
extern "C" {
EMSCRIPTEN_KEEPALIVE void Combo1_Click() {
    run(&Form1::Combo1_Click);
}
EMSCRIPTEN_KEEPALIVE void HScroll1_Change() {
    run(&Form1::HScroll1_Change);
}
EMSCRIPTEN_KEEPALIVE void HScroll1_Scroll() {
    run(&Form1::HScroll1_Scroll);
}
}

} // namespace kestrova

int main() {
    using namespace kestrova;
    for (std::size_t i = 0; i < kControlCount; ++i) {
        const ControlLayout& c = kForm1.controls[i];
        kestrovaAdopt(static_cast<int>(i), static_cast<int>(c.kind), std::string(c.name).c_str());
    }
    run(&Form1::Form_Load);
    kestrovaFocus(index(Control::HScroll1)); // so that the arrow keys tune at once
}
