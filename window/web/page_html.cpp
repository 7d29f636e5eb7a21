// Writes the page's window as plain HTML and CSS, in the state the program starts in, so that
// the browser draws it filled from the first frame; the program takes the elements over when it
// has loaded. Run at build time: page_html body|css
#include "colours.h"
#include "form1.h"
#include "layout.h"
#include "recorded_controls.h"
#include "screen_reader.h"

#include <cstdio>
#include <string>
#include <string_view>

namespace kestrova {
namespace {

// The window's face colour on a light and on a dark scheme.
constexpr Colour kLightFace{0xf0, 0xf0, 0xf0};
constexpr Colour kDarkFace{0x20, 0x20, 0x20};

// A family with its stand-ins, as CSS lists them.
std::string fontStack(std::string_view family) {
    std::string stack = "'" + std::string(family) + "'";
    for (const FaceStandIns& face : kFaceStandIns) {
        if (face.family == family) {
            for (std::string_view standIn : face.standIns) {
                stack += ", '" + std::string(standIn) + "'";
            }
        }
    }
    return stack + ", sans-serif";
}

std::string pixels(int twips) { // 96 CSS pixels to the inch
    char text[32];
    std::snprintf(text, sizeof text, "%gpx", twips / 15.0);
    return text;
}

std::string hex(Colour colour) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", colour.red, colour.green, colour.blue);
    return text;
}

std::string font(const FontSpec& font) {
    char text[16];
    std::snprintf(text, sizeof text, "%s%gpt ", font.bold ? "bold " : "", font.points);
    return text + fontStack(font.family);
}

// The sideband labels are written in their blue where it reads on each scheme's face, as the
// program colours them.
void writeCss() {
    std::printf("#Form1 { width: %s; height: %s; font: %s; }\n", pixels(kForm1.clientWidth).c_str(),
                pixels(kForm1.clientHeight).c_str(), font(kForm1.font).c_str());
    for (const auto& [scheme, face] : {std::pair{"light", kLightFace}, {"dark", kDarkFace}}) {
        std::printf("@media (prefers-color-scheme: %s) {\n  :root { --face: %s; }\n", scheme,
                    hex(face).c_str());
        for (Control sideband : {Control::Label7, Control::Label8}) {
            std::printf("  #%s { color: %s; }\n", std::string(kForm1[sideband].name).c_str(),
                        hex(readableOn(*kForm1[sideband].textColour, face)).c_str());
        }
        std::printf("}\n");
    }
    for (const ControlLayout& c : kForm1.controls) {
        // The tuner's box holds its arrows and the range input that is the control itself.
        std::printf("#%s%s { left: %s; top: %s; width: %s; height: %s;",
                    std::string(c.name).c_str(), c.kind == ControlKind::ScrollBar ? "Box" : "",
                    pixels(c.box.left).c_str(), pixels(c.box.top).c_str(),
                    pixels(c.box.width).c_str(), pixels(c.box.height).c_str());
        if (c.kind == ControlKind::ScrollBar) { // its height, for the thumb's
            std::printf(" --box: %s;", pixels(c.box.height).c_str());
        }
        if (c.font) {
            std::printf(" font: %s;", font(*c.font).c_str());
        }
        if (c.display) {
            std::printf(" color: %s; background: %s;", hex(c.display->text).c_str(),
                        hex(c.display->background).c_str());
        }
        std::printf(" }\n");
    }
}

// Until the program takes them over, the list and the tuner take no input, and no browser puts
// back what they held before a reload: the page starts as the program does.
constexpr const char* kInert = "disabled autocomplete=\"off\"";

void writeBody() {
    RecordedList combo1;
    RecordedScrollBar hscroll1;
    RecordedLabel label1, label2, label7, label8;
    const FixedSeparator point; // start.js puts the browser's own in before the first frame
    Form1 form{{combo1, hscroll1, label1, label2, label7, label8}, point};
    form.Form_Load();
    const auto caption = [&](Control control) -> std::string {
        const RecordedLabel* shown[] = {&label1, &label2, &label7, &label8};
        const Control labels[] = {Control::Label1, Control::Label2, Control::Label7,
                                  Control::Label8};
        for (int i = 0; i < 4; ++i) {
            if (labels[i] == control) {
                return shown[i]->caption;
            }
        }
        return std::string(kForm1[control].text);
    };

    // The layout's texts are plain ASCII, with nothing HTML would read as markup.
    const std::string title(kForm1.caption);
    std::printf(
        "<div id=\"fit\"><div id=\"frame\">\n<h1 id=\"caption\"><img src=\"icons/kestrova-16.png\" "
        "srcset=\"icons/kestrova-32.png 2x\" alt=\"\">%s</h1>\n"
        "<main id=\"Form1\" aria-labelledby=\"caption\">\n",
        title.c_str());
    for (std::size_t i = 0; i < kControlCount; ++i) {
        const ControlLayout& c = kForm1.controls[i];
        const auto control = static_cast<Control>(i);
        const std::string name(c.name), label(c.accessibleName);
        switch (c.kind) {
        case ControlKind::Label: {
            // What it shows, and a line a screen reader reads instead.
            const std::string text = caption(control);
            std::printf(
                "<div id=\"%s\"%s><span aria-hidden=\"true\">%s</span><span class=\"heard\">%s"
                "</span></div>\n",
                name.c_str(), c.display ? " class=\"display\"" : "", text.c_str(),
                c.accessibleName.empty() ? text.c_str() : heardLabel(control, text).c_str());
            break;
        }
        case ControlKind::ScrollBar:
            std::printf(
                "<div id=\"%sBox\" class=\"tuner\"><div class=\"arrow\" aria-hidden=\"true\"></div>"
                "<input type=\"range\" id=\"%s\" min=\"%d\" max=\"%d\" value=\"%d\" "
                "aria-label=\"%s\" aria-orientation=\"horizontal\" aria-valuetext=\"%s\" %s>"
                "<div class=\"arrow\" aria-hidden=\"true\"></div></div>\n",
                name.c_str(), name.c_str(), hscroll1.min, hscroll1.max, hscroll1.position,
                label.c_str(), tuningAnnouncement(label1.caption, label2.caption).c_str(), kInert);
            break;
        case ControlKind::DropDownList:
            std::printf("<select id=\"%s\" aria-label=\"%s\" %s>", name.c_str(), label.c_str(),
                        kInert);
            for (std::size_t item = 0; item < combo1.items.size(); ++item) {
                std::printf("<option%s>%s</option>",
                            static_cast<int>(item) == combo1.index ? " selected" : "",
                            combo1.items[item].c_str());
            }
            std::printf("</select>\n");
            break;
        case ControlKind::Image:
            std::printf("<img id=\"%s\" src=\"icons/kestrova-64.png\" "
                        "srcset=\"icons/kestrova-128.png 2x\" alt=\"\">\n",
                        name.c_str());
            break;
        }
    }
    std::printf(
        "</main>\n</div>\n<p id=\"needs\" role=\"alert\"><noscript>Kestrova needs JavaScript "
        "and WebAssembly, which this browser has turned off.</noscript></p>\n</div>\n");
}

} // namespace
} // namespace kestrova

int main(int argc, char* argv[]) {
    const std::string_view what = argc > 1 ? argv[1] : "";
    if (what == "css") {
        kestrova::writeCss();
    } else if (what == "body") {
        kestrova::writeBody();
    } else if (what == "title") {
        std::printf("%s\n", std::string(kestrova::kForm1.caption).c_str());
    } else {
        std::fprintf(stderr, "usage: page_html body|css|title\n");
        return 2;
    }
}
