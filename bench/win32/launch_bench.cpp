// Time from process creation until the program's window is shown, for Kestrova.exe and the
// floor program launched alternately, and the sizes of the shipped files.
// Usage: launch_bench.exe RUNS KESTROVA_EXE FLOOR_EXE SHIPPED_KESTROVA_EXE SHIPPED_FLOOR_EXE
#include "../bench_table.h"

#include <cstdlib>
#include <string>

#include <windows.h>

namespace {

struct Search {
    DWORD processId;
    HWND window;
};

BOOL CALLBACK findVisibleWindow(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<Search*>(context);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId == search->processId && IsWindowVisible(window)) {
        search->window = window;
        return FALSE;
    }
    return TRUE;
}

double secondsNow() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Milliseconds until a visible window of the new process exists, or a negative number.
double timeToWindow(const std::wstring& program) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::wstring commandLine = L"\"" + program + L"\"";
    const double start = secondsNow();
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process)) {
        return -1;
    }
    Search search{process.dwProcessId, nullptr};
    double shownAfter = -1;
    while (secondsNow() - start < 30) {
        EnumWindows(findVisibleWindow, reinterpret_cast<LPARAM>(&search));
        if (search.window != nullptr) {
            shownAfter = (secondsNow() - start) * 1000;
            break;
        }
        Sleep(1);
    }
    if (search.window != nullptr) {
        PostMessageW(search.window, WM_CLOSE, 0, 0);
    }
    if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0) {
        TerminateProcess(process.hProcess, 1);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return shownAfter;
}

double kibibytes(const std::wstring& file) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(file.c_str(), GetFileExInfoStandard, &data)) {
        return -1;
    }
    return static_cast<double>(data.nFileSizeLow) / 1024;
}

std::wstring wide(const char* text) {
    std::wstring result;
    for (; *text != '\0'; ++text) {
        result += static_cast<wchar_t>(static_cast<unsigned char>(*text));
    }
    return result;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 6) {
        std::fprintf(stderr,
                     "usage: %s RUNS KESTROVA_EXE FLOOR_EXE SHIPPED_KESTROVA SHIPPED_FLOOR\n",
                     argv[0]);
        return 2;
    }
    const int runs = std::atoi(argv[1]);
    const std::wstring programs[] = {wide(argv[2]), wide(argv[3])};
    using kestrova::bench::Series;
    Series times[] = {{"time to window shown (Wine)", "Kestrova.exe", "ms", {}},
                      {"time to window shown (Wine)", "Win32 floor: window + text", "ms", {}}};
    timeToWindow(programs[0]); // warm-up launches are not counted
    timeToWindow(programs[1]);
    for (int run = 0; run < runs; ++run) {
        for (int turn = 0; turn < 2; ++turn) {
            const int which = (run + turn) % 2; // alternate which goes first
            const double milliseconds = timeToWindow(programs[which]);
            if (milliseconds < 0) {
                std::fprintf(stderr, "%s showed no window\n", argv[2 + which]);
                return 1;
            }
            times[which].values.push_back(milliseconds);
        }
    }
    kestrova::bench::printPair(times[0], times[1], 0); // shown beside its floor, no target

    const Series sizes[] = {
        {"file size", "Kestrova.exe (32-bit)", "KiB", {kibibytes(wide(argv[4]))}},
        {"file size", "Win32 floor (32-bit)", "KiB", {kibibytes(wide(argv[5]))}}};
    char ratio[32];
    std::snprintf(ratio, sizeof ratio, "%.2f", sizes[0].values[0] / sizes[1].values[0]);
    kestrova::bench::printRow(sizes[1], "1 (floor)", "");
    kestrova::bench::printRow(sizes[0], ratio, "");
    return 0;
}
