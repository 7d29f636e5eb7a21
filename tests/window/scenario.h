// What a user sees, step by step (scenario.txt, taken in by the build). Each window's test drives
// its real window through the steps and compares the captions, the position and the focus.
#pragma once

#include "scenario_text.h"

#include <sstream>
#include <string>
#include <vector>

namespace kestrova::scenario {

struct Step {
    std::string act, argument, expected; // expected with "." for the separator
};

inline std::vector<Step> steps() {
    std::vector<Step> steps;
    std::istringstream lines(kScenarioText);
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line[0] != '#') {
            std::istringstream words(line);
            Step& step = steps.emplace_back();
            std::getline(words >> step.act >> step.argument >> std::ws, step.expected);
        }
    }
    return steps;
}

// Text as shown with the user's decimal separator in place of each ".".
inline std::string shown(std::string text, std::string_view separator) {
    for (auto at = text.find('.'); at != text.npos; at = text.find('.', at + separator.size())) {
        text.replace(at, 1, separator);
    }
    return text;
}

} // namespace kestrova::scenario
