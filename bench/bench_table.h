// Rows of the benchmark table: minimum, median and maximum of a series of runs, and the ratio
// of a program's median to its floor's, measured side by side in the same run.
#pragma once

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace kestrova::bench {

struct Series {
    std::string measure;
    std::string program;
    std::string unit;
    std::vector<double> values;

    double minimum() const { return *std::min_element(values.begin(), values.end()); }
    double maximum() const { return *std::max_element(values.begin(), values.end()); }
    double median() const {
        std::vector<double> sorted = values;
        std::sort(sorted.begin(), sorted.end());
        const std::size_t middle = sorted.size() / 2;
        return sorted.size() % 2 != 0 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
    }
};

inline void printTableHeader() {
    std::printf("| measure | program | runs | min | median | max | ratio (median) | target |\n");
    std::printf("| --- | --- | ---: | ---: | ---: | ---: | ---: | --- |\n");
}

inline void printRow(const Series& series, const char* ratio, const char* target) {
    if (series.values.empty()) {
        return;
    }
    std::printf("| %s | %s | %zu | %.4g %s | %.4g %s | %.4g %s | %s | %s |\n",
                series.measure.c_str(), series.program.c_str(), series.values.size(),
                series.minimum(), series.unit.c_str(), series.median(), series.unit.c_str(),
                series.maximum(), series.unit.c_str(), ratio, target);
}

// The floor's row, then the program's with its ratio and whether it meets the target (none
// when target is 0).
inline void printPair(const Series& program, const Series& floor, double target) {
    printRow(floor, "1 (floor)", "");
    if (program.values.empty() || floor.values.empty()) {
        return;
    }
    const double ratio = program.median() / floor.median();
    char ratioText[32];
    char targetText[48];
    std::snprintf(ratioText, sizeof ratioText, "%.2f", ratio);
    if (target > 0) {
        std::snprintf(targetText, sizeof targetText, "<= %.2f: %s", target,
                      ratio <= target ? "met" : "MISSED");
    } else {
        std::snprintf(targetText, sizeof targetText, "none");
    }
    printRow(program, ratioText, targetText);
}

} // namespace kestrova::bench
