// exec → first frame and resident memory of a program on the X server named by DISPLAY.
// Usage: bench_startup RUNS SECONDS PROGRAM [ARGS...]
// Starts PROGRAM RUNS + 1 times; the first run only warms the caches. Each run waits for the
// program's first top-level window to be mapped and its centre pixel to leave the root's black
// (the first frame), reads the program's VmRSS SECONDS after the start, then ends it with SIGTERM.
// Prints the medians and the spread (lowest to highest). Run it on a server started with a black root (Xvfb -br), no
// window manager.
#include <xcb/xcb.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

extern char **environ;

namespace {
using Clock = std::chrono::steady_clock;

// "median (lowest–highest)"
std::string summary(std::vector<double> values, double scale, const char *format)
{
    std::sort(values.begin(), values.end());
    char text[96];
    std::snprintf(text, sizeof text, format, values[values.size() / 2] * scale, values.front() * scale,
                  values.back() * scale);
    return text;
}

double residentMegabytes(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmRSS:", 0) == 0)
            return std::strtod(line.c_str() + 6, nullptr) / 1024.0;
    }
    return 0;
}

bool centreDrawn(xcb_connection_t *connection, xcb_window_t window)
{
    xcb_get_geometry_reply_t *geometry =
        xcb_get_geometry_reply(connection, xcb_get_geometry(connection, window), nullptr);
    if (!geometry)
        return false;
    xcb_get_image_reply_t *image =
        xcb_get_image_reply(connection,
                            xcb_get_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP, window, int16_t(geometry->width / 2),
                                          int16_t(geometry->height / 2), 1, 1, ~0u),
                            nullptr);
    free(geometry);
    if (!image)
        return false;
    const uint8_t *pixel = xcb_get_image_data(image);
    const bool drawn = xcb_get_image_data_length(image) >= 3 && (pixel[0] || pixel[1] || pixel[2]);
    free(image);
    return drawn;
}

// Seconds from the start to the first frame; negative when none came within 30 s.
double firstFrame(xcb_connection_t *connection, Clock::time_point start)
{
    xcb_window_t window = XCB_NONE;
    while (Clock::now() - start < std::chrono::seconds(30)) {
        while (xcb_generic_event_t *event = xcb_poll_for_event(connection)) {
            if ((event->response_type & 0x7f) == XCB_MAP_NOTIFY && window == XCB_NONE)
                window = reinterpret_cast<xcb_map_notify_event_t *>(event)->window;
            free(event);
        }
        if (window != XCB_NONE && centreDrawn(connection, window))
            return std::chrono::duration<double>(Clock::now() - start).count();
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    return -1;
}
} // namespace

int main(int argc, char *argv[])
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: bench_startup RUNS SECONDS PROGRAM [ARGS...]\n");
        return 2;
    }
    const int runs = std::atoi(argv[1]);
    const double seconds = std::atof(argv[2]);
    xcb_connection_t *connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        std::fprintf(stderr, "bench_startup: no X server\n");
        return 1;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection, root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(connection);

    std::vector<double> frames, memory;
    for (int run = 0; run <= runs; ++run) {
        const Clock::time_point start = Clock::now();
        pid_t pid = 0;
        if (posix_spawn(&pid, argv[3], nullptr, nullptr, argv + 3, environ) != 0) {
            std::fprintf(stderr, "bench_startup: cannot start %s\n", argv[3]);
            return 1;
        }
        const double frame = firstFrame(connection, start);
        std::this_thread::sleep_until(start + std::chrono::duration<double>(seconds));
        const double rss = residentMegabytes(pid);
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
        if (frame < 0) {
            std::fprintf(stderr, "bench_startup: no frame from %s\n", argv[3]);
            return 1;
        }
        if (run > 0) {
            frames.push_back(frame);
            memory.push_back(rss);
        }
    }
    std::printf("%-20s first frame %s   RSS %s   (median, lowest-highest, of %d)\n",
                argv[3] + std::string(argv[3]).rfind('/') + 1, summary(frames, 1000, "%4.0f ms (%.0f-%.0f)").c_str(),
                summary(memory, 1, "%6.1f MB (%.1f-%.1f)").c_str(), runs);
    xcb_disconnect(connection);
    return 0;
}
