// Writes the shared scenario for the browser test, with the expected text of each step for a
// decimal separator: scenario_json SEPARATOR
#include "scenario.h"

#include <cstdio>

int main(int argc, char* argv[]) {
    using namespace kestrova::scenario;
    const char* separator = argc > 1 ? argv[1] : ".";
    const char* const acts[] = {"Start", "Choose", "Key", "Drag", "Release", "SwitchAway"};
    std::printf("[\n");
    for (const Step& step : kSteps) {
        std::printf("  {\"act\": \"%s\", \"argument\": %d, \"expected\": \"%s\"}%s\n",
                    acts[static_cast<int>(step.act)], step.argument,
                    expected(step, separator).c_str(), &step == std::end(kSteps) - 1 ? "" : ",");
    }
    std::printf("]\n");
}
