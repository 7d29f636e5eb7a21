// Start-up as the user sees it, measured from outside the program: from starting it to the X
// server's first report that its top-level window has been drawn into (DAMAGE), and its peak
// resident memory by then. Runs Kestrova and the floor (key_to_frame's window alone) in turns,
// RUNS times after a round that warms the file cache, and prints each one's medians:
// "microseconds KiB". Usage: x_first_damage RUNS KESTROVA KEY_TO_FRAME   (needs DISPLAY)
#include <xcb/damage.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

// Microseconds from starting the command to the first damage of a window it maps, and the
// command's peak resident KiB at that moment.
std::pair<long, long> firstDamage(xcb_connection_t* x, std::vector<char*> command) {
    command.push_back(nullptr);
    const Clock::time_point start = Clock::now();
    pid_t child = 0;
    if (posix_spawn(&child, command[0], nullptr, nullptr, command.data(), environ) != 0) {
        std::perror(command[0]);
        std::exit(1);
    }
    long elapsed = -1;
    while (elapsed < 0) {
        xcb_generic_event_t* event = xcb_wait_for_event(x);
        const auto type = event ? event->response_type & 0x7f : 0;
        if (!event || (type == XCB_DESTROY_NOTIFY && waitpid(child, nullptr, WNOHANG) == child)) {
            std::fprintf(stderr, "%s or the X server ended before its window was drawn\n",
                         command[0]);
            std::exit(1);
        } else if (type ==
                   XCB_CREATE_NOTIFY) { // a new top-level window: watch it before it is shown
            const auto* created = reinterpret_cast<xcb_create_notify_event_t*>(event);
            xcb_damage_create(x, xcb_generate_id(x), created->window,
                              XCB_DAMAGE_REPORT_LEVEL_NON_EMPTY);
            xcb_flush(x);
        } else if (type ==
                   xcb_get_extension_data(x, &xcb_damage_id)->first_event + XCB_DAMAGE_NOTIFY) {
            elapsed =
                std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start).count();
        }
        std::free(event);
    }
    kill(child, SIGKILL);
    rusage usage{};
    wait4(child, nullptr, 0, &usage);
    return {elapsed, usage.ru_maxrss};
}

} // namespace

int main(int argc, char* argv[]) {
    char floor[] = "floor";
    const std::vector<std::vector<char*>> commands{{argv[argc > 2 ? 2 : 0]},
                                                   {argv[argc - 1], floor}};
    xcb_connection_t* x = xcb_connect(nullptr, nullptr);
    if (argc != 4 || xcb_connection_has_error(x)) {
        std::fprintf(stderr, "usage: x_first_damage RUNS KESTROVA KEY_TO_FRAME (with DISPLAY)\n");
        return 2;
    }
    xcb_damage_query_version_reply(x, xcb_damage_query_version(x, 1, 1), nullptr);
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY; // every new top-level window
    xcb_change_window_attributes(x, xcb_setup_roots_iterator(xcb_get_setup(x)).data->root,
                                 XCB_CW_EVENT_MASK, &mask);
    xcb_flush(x);
    std::vector<std::vector<long>> times(commands.size()), peaks(commands.size());
    for (int run = -1; run < std::atoi(argv[1]); ++run) {
        for (std::size_t c = 0; c < commands.size(); ++c) {
            const auto [time, peak] = firstDamage(x, commands[c]);
            if (run >= 0) {
                times[c].push_back(time), peaks[c].push_back(peak);
            }
        }
    }
    for (std::size_t c = 0; c < commands.size(); ++c) {
        std::sort(times[c].begin(), times[c].end());
        std::sort(peaks[c].begin(), peaks[c].end());
        std::printf("%ld %ld\n", times[c][times[c].size() / 2], peaks[c][peaks[c].size() / 2]);
    }
    xcb_disconnect(x);
}
