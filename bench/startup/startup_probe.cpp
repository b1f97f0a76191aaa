// Start-up probe: starts each program given on the command line several
// times on the X display (run it under xvfb-run), and measures the time from
// exec to the first frame on screen, i.e. the first moment a window of the
// program shows non-uniform content, and the peak memory (VmHWM) of the
// process a moment later.
//
// A window's content is read only when the X server reports drawing in it
// (the DAMAGE extension): reading whole windows at short intervals instead
// kept the server busy in proportion to the window's area, so a larger window
// waited longer for its own requests and seemed to start more slowly.
//
//   xvfb-run -a startup_probe [--runs N] [--env NAME=VALUE] PROGRAM...
//
// --env sets a variable for the next program only (for example
// XDG_CONFIG_HOME, to start a program on a settings file of one's own).
#include <poll.h>
#include <xcb/damage.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

struct Sample {
    double firstFrameMs = -1;
    long peakKb = -1;
};

long peakMemoryKb(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
    }
    return -1;
}

// True when the window shows more than one colour.
bool hasContent(xcb_connection_t* c, xcb_window_t w) {
    xcb_get_geometry_reply_t* g = xcb_get_geometry_reply(c, xcb_get_geometry(c, w), nullptr);
    if (!g) return false;
    const uint16_t width = g->width, height = g->height;
    free(g);
    if (width < 2 || height < 2) return false;
    xcb_get_image_reply_t* img = xcb_get_image_reply(
        c, xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, w, 0, 0, width, height, ~0u), nullptr);
    if (!img) return false;
    const auto* data = reinterpret_cast<const uint32_t*>(xcb_get_image_data(img));
    const int n = xcb_get_image_data_length(img) / 4;
    bool varied = false;
    for (int i = 1; i < n && !varied; ++i) varied = (data[i] & 0xFFFFFF) != (data[0] & 0xFFFFFF);
    free(img);
    return varied;
}

struct Program {
    const char* path = nullptr;
    std::vector<std::string> environment;  // NAME=VALUE, over the probe's own
    std::string label() const {
        std::string text;
        for (const std::string& e : environment) text += e + " ";
        return text + path;
    }
};

// The probe's environment with `extra` set over it.
std::vector<char*> environmentWith(const std::vector<std::string>& extra) {
    std::vector<char*> out;
    for (char** e = environ; *e; ++e) {
        bool replaced = false;
        for (const std::string& x : extra) replaced = replaced || std::strncmp(*e, x.c_str(), x.find('=') + 1) == 0;
        if (!replaced) out.push_back(*e);
    }
    for (const std::string& x : extra) out.push_back(const_cast<char*>(x.c_str()));
    out.push_back(nullptr);
    return out;
}

Sample probe(xcb_connection_t* c, xcb_window_t root, uint8_t damageEvent, const Program& spec) {
    const char* program = spec.path;
    std::vector<char*> envp = environmentWith(spec.environment);
    Sample sample;
    // Drain what earlier runs left.
    while (xcb_generic_event_t* e = xcb_poll_for_event(c)) free(e);

    const auto start = Clock::now();
    pid_t pid = 0;
    char* argv[] = {const_cast<char*>(program), nullptr};
    if (posix_spawn(&pid, program, nullptr, nullptr, argv, envp.data()) != 0) {
        std::fprintf(stderr, "cannot start %s\n", program);
        return sample;
    }
    std::map<xcb_window_t, xcb_damage_damage_t> mapped;  // this run's windows and their damage objects
    const auto deadline = start + std::chrono::seconds(20);
    pollfd fd{xcb_get_file_descriptor(c), POLLIN, 0};
    bool shown = false;
    while (!shown && Clock::now() < deadline) {
        xcb_generic_event_t* e = xcb_poll_for_event(c);
        if (!e) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            poll(&fd, 1, static_cast<int>(std::max<long long>(1, left.count())));
            continue;
        }
        const uint8_t type = e->response_type & 0x7F;
        if (type == XCB_MAP_NOTIFY) {
            auto* m = reinterpret_cast<xcb_map_notify_event_t*>(e);
            if (m->event == root && !m->override_redirect && !mapped.count(m->window)) {
                // Drawing from now on is reported; what was drawn before is read at once.
                const xcb_damage_damage_t damage = xcb_generate_id(c);
                xcb_damage_create(c, damage, m->window, XCB_DAMAGE_REPORT_LEVEL_NON_EMPTY);
                mapped[m->window] = damage;
                shown = hasContent(c, m->window);
            }
        } else if (type == damageEvent) {
            auto* d = reinterpret_cast<xcb_damage_notify_event_t*>(e);
            const auto window = mapped.find(d->drawable);
            if (window != mapped.end()) {
                // Re-armed before the read, so that drawing during it is reported too.
                xcb_damage_subtract(c, window->second, XCB_NONE, XCB_NONE);
                shown = hasContent(c, window->first);
            }
        }
        free(e);
    }
    if (shown) sample.firstFrameMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    for (const auto& [window, damage] : mapped) xcb_damage_destroy(c, damage);
    xcb_flush(c);
    // Let start-up settle (timers, the sound device), then read the peak.
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    sample.peakKb = peakMemoryKb(pid);
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    // The windows are gone: errors about their damage objects are dropped.
    while (xcb_generic_event_t* e = xcb_poll_for_event(c)) free(e);
    return sample;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? -1 : v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    int runs = 7;
    std::vector<Program> programs;
    std::vector<std::string> pending;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--runs") == 0 && i + 1 < argc) {
            runs = std::atoi(argv[++i]);
        } else if (std::strcmp(argv[i], "--env") == 0 && i + 1 < argc && std::strchr(argv[i + 1], '=')) {
            pending.emplace_back(argv[++i]);
        } else {
            programs.push_back({argv[i], pending});
            pending.clear();
        }
    }
    if (programs.empty()) {
        std::fprintf(stderr, "usage: startup_probe [--runs N] [--env NAME=VALUE] PROGRAM...\n");
        return 2;
    }
    int screenNumber = 0;
    xcb_connection_t* c = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "no X display: run under xvfb-run\n");
        return 2;
    }
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(c));
    for (int i = 0; i < screenNumber; ++i) xcb_screen_next(&it);
    const xcb_window_t root = it.data->root;
    const xcb_query_extension_reply_t* damage = xcb_get_extension_data(c, &xcb_damage_id);
    if (!damage || !damage->present) {
        std::fprintf(stderr, "the X server has no DAMAGE extension\n");
        return 2;
    }
    free(xcb_damage_query_version_reply(c, xcb_damage_query_version(c, 1, 1), nullptr));
    const uint8_t damageEvent = damage->first_event + XCB_DAMAGE_NOTIFY;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(c, root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(c);

    // Runs go round the programs in turn, so that a slow phase of the machine
    // touches all of them alike; one unmeasured round warms the caches.
    std::vector<std::vector<double>> times(programs.size()), peaks(programs.size());
    for (int r = -1; r < runs; ++r) {
        for (size_t p = 0; p < programs.size(); ++p) {
            const Sample s = probe(c, root, damageEvent, programs[p]);
            if (r < 0) continue;
            if (s.firstFrameMs >= 0) times[p].push_back(s.firstFrameMs);
            if (s.peakKb >= 0) peaks[p].push_back(s.peakKb / 1024.0);
        }
    }
    std::printf("%-48s %16s %16s   (median of %d runs)\n", "program", "first frame ms", "peak memory MB", runs);
    for (size_t p = 0; p < programs.size(); ++p) {
        std::printf("%-48s %16.1f %16.1f\n", programs[p].label().c_str(), median(times[p]), median(peaks[p]));
    }
    xcb_disconnect(c);
    return 0;
}
