// In-process costs, each against its floor in the same run: one tuning step of the real
// window until both frequency captions are updated, then the same with the repaint the step
// causes, against a bare scroll bar that sets one label; and the frequency text against
// snprintf("%.3f").
// Usage: inprocess_bench REPETITIONS [google benchmark flags]
#include "bench_table.h"
#include "form1_window.h"
#include "frequency_text.h"

#include <QApplication>
#include <QLabel>
#include <QScrollBar>
#include <QWindow>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <map>

namespace {

using kestrova::bench::Series;

// Steps the scroll bar one arrow step, as a key or an arrow button does, turning at the ends.
void stepOnce(QScrollBar* scroll, bool& rising) {
    if (scroll->value() == scroll->maximum()) {
        rising = false;
    } else if (scroll->value() == scroll->minimum()) {
        rising = true;
    }
    scroll->triggerAction(rising ? QAbstractSlider::SliderSingleStepAdd
                                 : QAbstractSlider::SliderSingleStepSub);
}

// A repaint only draws once the window system has exposed the window.
void showAndExpose(QWidget& window) {
    window.show();
    while (window.windowHandle() == nullptr || !window.windowHandle()->isExposed()) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    }
    QCoreApplication::processEvents();
}

// What the event loop does after the step: paint and flush what the step marked dirty.
void paintRequestedUpdates() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
}

void tuneKestrova(benchmark::State& state, bool repaint) {
    kestrova::Form1Window window;
    showAndExpose(window);
    auto* scroll = window.findChild<QScrollBar*>("HScroll1");
    auto* downlink = window.findChild<QLabel*>("Label2");
    bool rising = true;
    for (auto _ : state) {
        stepOnce(scroll, rising);
        if (repaint) {
            paintRequestedUpdates();
        }
        benchmark::DoNotOptimize(downlink->text().size());
    }
}

// The least a tuning step can cost: a bare scroll bar whose change sets one label's text.
void tuneFloor(benchmark::State& state, bool repaint) {
    QWidget window;
    window.setFixedSize(407, 205);
    QScrollBar scroll(Qt::Horizontal, &window);
    scroll.setGeometry(8, 168, 249, 25);
    scroll.setRange(0, 100);
    QLabel label(&window);
    label.setGeometry(8, 24, 161, 49);
    label.setFixedSize(label.size()); // spares it a layout request at every change
    QObject::connect(&scroll, &QScrollBar::valueChanged, &label,
                     [&label](int value) { label.setText(QString::number(value)); });
    showAndExpose(window);
    bool rising = true;
    for (auto _ : state) {
        stepOnce(&scroll, rising);
        if (repaint) {
            paintRequestedUpdates();
        }
        benchmark::DoNotOptimize(label.text().size());
    }
}

void frequencyText(benchmark::State& state) {
    int k = 0;
    for (auto _ : state) {
        std::string text = kestrova::frequencyText(146.0 - k / 1000.0, ".");
        benchmark::DoNotOptimize(text.data());
        k = (k + 1) % 101;
    }
}

void snprintfFixed3(benchmark::State& state) {
    int k = 0;
    char buffer[32];
    for (auto _ : state) {
        std::snprintf(buffer, sizeof buffer, "%.3f", 146.0 - k / 1000.0);
        benchmark::DoNotOptimize(buffer);
        k = (k + 1) % 101;
    }
}

// Keeps each repetition's time per iteration, for the table printed at the end.
class CollectingReporter : public benchmark::BenchmarkReporter {
public:
    bool ReportContext(const Context&) override { return true; }
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration && !run.error_occurred) {
                times[run.run_name.function_name].push_back(run.GetAdjustedRealTime());
            }
        }
    }
    std::map<std::string, std::vector<double>> times;
};

} // namespace

int main(int argc, char* argv[]) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s REPETITIONS [benchmark flags]\n", argv[0]);
        return 2;
    }
    const int repetitions = std::atoi(argv[1]);
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);

    // Each program and its floor take turns, one repetition each, so that both see the same
    // machine: on a shared virtual machine the speed of a core drifts over seconds.
    const auto addPair = [repetitions](const char* name, auto function, const char* floorName,
                                       auto floorFunction, benchmark::TimeUnit unit) {
        for (int repetition = 0; repetition < repetitions; ++repetition) {
            benchmark::RegisterBenchmark(name, function)->Unit(unit);
            benchmark::RegisterBenchmark(floorName, floorFunction)->Unit(unit);
        }
    };
    addPair(
        "tune_kestrova", [](benchmark::State& s) { tuneKestrova(s, false); }, "tune_floor",
        [](benchmark::State& s) { tuneFloor(s, false); }, benchmark::kMicrosecond);
    addPair(
        "tune_repaint_kestrova", [](benchmark::State& s) { tuneKestrova(s, true); },
        "tune_repaint_floor", [](benchmark::State& s) { tuneFloor(s, true); },
        benchmark::kMicrosecond);
    addPair("text_kestrova", frequencyText, "text_snprintf", snprintfFixed3,
            benchmark::kNanosecond);

    CollectingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    const auto series = [&](const char* measure, const char* program, const char* unit,
                            const char* name) {
        return Series{measure, program, unit, reporter.times[name]};
    };
    using kestrova::bench::printPair;
    printPair(series("tuning step, captions updated", "Kestrova", "us", "tune_kestrova"),
              series("tuning step, captions updated", "floor: scroll bar sets a label", "us",
                     "tune_floor"),
              1.5);
    printPair(series("tuning step with its repaint", "Kestrova", "us", "tune_repaint_kestrova"),
              series("tuning step with its repaint", "floor: scroll bar sets a label", "us",
                     "tune_repaint_floor"),
              1.5);
    printPair(series("frequency text", "frequencyText", "ns", "text_kestrova"),
              series("frequency text", "snprintf \"%.3f\"", "ns", "text_snprintf"), 2.0);
    return 0;
}
