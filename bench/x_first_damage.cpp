// Start-up as the user sees it, measured from outside the program: from starting it to the X
// server's first report that the program's top-level window has been drawn into (DAMAGE). Runs
// the programs in turns and prints each one's median in microseconds.
// Usage: x_first_damage RUNS PROGRAM [ARGUMENT] -- PROGRAM [ARGUMENT] ...   (needs DISPLAY)
#include <xcb/damage.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

// Microseconds from starting the command to the first damage of a window it maps.
long firstDamage(xcb_connection_t* x, std::vector<char*> command) {
    command.push_back(nullptr);
    const Clock::time_point start = Clock::now();
    pid_t child = 0;
    if (posix_spawn(&child, command[0], nullptr, nullptr, command.data(), environ) != 0) {
        std::perror(command[0]);
        std::exit(1);
    }
    long elapsed = -1;
    while (elapsed < 0) {
        std::unique_ptr<xcb_generic_event_t, decltype(&std::free)> event(xcb_wait_for_event(x),
                                                                         &std::free);
        if (!event) {
            std::fprintf(stderr, "lost the X server\n");
            std::exit(1);
        }
        const auto type = event->response_type & 0x7f;
        if (type == XCB_CREATE_NOTIFY) { // a new top-level window: watch it before it is shown
            const auto* created = reinterpret_cast<xcb_create_notify_event_t*>(event.get());
            xcb_damage_create(x, xcb_generate_id(x), created->window,
                              XCB_DAMAGE_REPORT_LEVEL_NON_EMPTY);
            xcb_flush(x);
        } else if (type ==
                   xcb_get_extension_data(x, &xcb_damage_id)->first_event + XCB_DAMAGE_NOTIFY) {
            elapsed =
                std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start).count();
        } else if (type == XCB_DESTROY_NOTIFY && waitpid(child, nullptr, WNOHANG) == child) {
            std::fprintf(stderr, "%s ended before its window was drawn\n", command[0]);
            std::exit(1);
        }
    }
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    return elapsed;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: x_first_damage RUNS PROGRAM [ARGUMENT] -- PROGRAM ...\n");
        return 2;
    }
    const int runs = std::atoi(argv[1]);
    std::vector<std::vector<char*>> programs(1);
    for (int i = 2; i < argc; ++i) {
        if (std::string(argv[i]) == "--") {
            programs.emplace_back();
        } else {
            programs.back().push_back(argv[i]);
        }
    }
    xcb_connection_t* x = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(x)) {
        std::fprintf(stderr, "no X server (DISPLAY)\n");
        return 1;
    }
    xcb_damage_query_version_reply(x, xcb_damage_query_version(x, 1, 1), nullptr);
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(x)).data->root;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(x, root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(x);
    std::vector<std::vector<long>> times(programs.size());
    for (int run = -1; run < runs; ++run) { // the first round warms the file cache
        for (std::size_t p = 0; p < programs.size(); ++p) {
            const long t = firstDamage(x, programs[p]);
            if (run >= 0) {
                times[p].push_back(t);
            }
        }
    }
    for (auto& t : times) {
        std::sort(t.begin(), t.end());
        std::printf("%ld\n", t[t.size() / 2]);
    }
    xcb_disconnect(x);
}
