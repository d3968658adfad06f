// Starts a program and waits, on the X server's own notification, for its
// first top-level window to be mapped. Then samples its peak resident memory
// one second later and its processor time over the following idle seconds,
// and stops it. Prints one line:
//   map_ms=<ms from fork to map> hwm_kib=<VmHWM> idle_cpu_ms=<cpu used while idle>
// Usage: firstmap IDLE_SECONDS PROGRAM [ARGS...]   (DISPLAY names the server)
#include <xcb/xcb.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

long ReadHwmKib(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    return -1;
}

// User plus system time of the process, in milliseconds.
double ReadCpuMs(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string all((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    const auto close = all.rfind(')');
    if (close == std::string::npos)
        return -1;
    // Fields after the command name start with field 3 (state); utime and
    // stime are fields 14 and 15.
    const char* p = all.c_str() + close + 2;
    unsigned long long utime = 0, stime = 0;
    for (int field = 3; field <= 15 && *p; ++field) {
        if (field == 14)
            utime = std::strtoull(p, nullptr, 10);
        if (field == 15)
            stime = std::strtoull(p, nullptr, 10);
        p = std::strchr(p, ' ');
        if (!p)
            break;
        ++p;
    }
    return double(utime + stime) * 1000.0 / double(sysconf(_SC_CLK_TCK));
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: firstmap IDLE_SECONDS PROGRAM [ARGS...]\n");
        return 2;
    }
    const int idleSeconds = std::atoi(argv[1]);
    int screenNumber = 0;
    xcb_connection_t* x = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(x)) {
        std::fprintf(stderr, "firstmap: cannot connect to the X server\n");
        return 2;
    }
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(x));
    for (int i = 0; i < screenNumber; ++i)
        xcb_screen_next(&it);
    const xcb_window_t root = it.data->root;
    // Map notifications of the root's children are the top-level windows.
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_void_cookie_t done =
        xcb_change_window_attributes_checked(x, root, XCB_CW_EVENT_MASK, &mask);
    if (xcb_generic_error_t* error = xcb_request_check(x, done)) {
        std::fprintf(stderr, "firstmap: cannot watch the root window (error %d)\n",
                     error->error_code);
        return 2;
    }

    const Clock::time_point start = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        execvp(argv[2], argv + 2);
        std::perror("firstmap: exec");
        _exit(127);
    }
    double mapMs = -1;
    while (xcb_generic_event_t* event = xcb_wait_for_event(x)) {
        const bool mapped = (event->response_type & 0x7f) == XCB_MAP_NOTIFY &&
                            !reinterpret_cast<xcb_map_notify_event_t*>(event)->override_redirect;
        std::free(event);
        if (mapped) {
            mapMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
            break;
        }
    }
    const Clock::time_point mappedAt = Clock::now();
    int status = 0;
    if (mapMs < 0 || waitpid(pid, &status, WNOHANG) == pid) {
        std::fprintf(stderr, "firstmap: the program ended before mapping a window\n");
        return 1;
    }
    std::this_thread::sleep_until(mappedAt + std::chrono::seconds(1));
    const long hwm = ReadHwmKib(pid);
    const double cpuBefore = ReadCpuMs(pid);
    std::this_thread::sleep_for(std::chrono::seconds(idleSeconds));
    const double cpuAfter = ReadCpuMs(pid);
    kill(pid, SIGTERM);
    waitpid(pid, &status, 0);
    xcb_disconnect(x);
    std::printf("map_ms=%.2f hwm_kib=%ld idle_cpu_ms=%.1f\n", mapMs, hwm, cpuAfter - cpuBefore);
    return 0;
}
