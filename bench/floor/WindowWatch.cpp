// Starts a program that opens one window and watches it from the X server's
// side: when the window is mapped, when its pictures arrive (the DAMAGE
// extension reports every drawing into it), and, once it runs steadily, its CPU
// time and wake-ups from /proc. Then it moves the keyboard focus away (the game
// freezes) and measures again, gives the focus back and ends the program.
//
//   window-watch [--settle S] [--measure S] [--frozen S] -- PROGRAM [ARGS...]
//
// Prints one line of key=value pairs (times in ms from just before the
// program is started; CPU in % of one core; rates per second):
//   map pictures=t1,t2,... cpu wakeups presents frozen_cpu frozen_wakeups
//   frozen_presents thawed_presents
// Part of bench/window-vs-floor.sh.
#include <X11/Xlib.h>
#include <X11/extensions/Xdamage.h>
#include <dirent.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

double NowMs() {
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<double>(ts.tv_sec) * 1000.0 + static_cast<double>(ts.tv_nsec) / 1e6;
}

// CPU time (ns) and context switches of one thread.
struct ThreadCount {
    unsigned long long runNs = 0;
    unsigned long long switches = 0;
};

// Every thread of a process, by thread id, at one moment.
struct ProcessSample {
    double at = 0;
    std::map<int, ThreadCount> threads;
};

unsigned long long FieldOf(const std::string& path, const std::string& key) {
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line))
        if (line.compare(0, key.size(), key) == 0) return std::strtoull(line.c_str() + key.size(), nullptr, 10);
    return 0;
}

ProcessSample Sample(pid_t pid) {
    ProcessSample sample;
    sample.at = NowMs();
    const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    DIR* dir = opendir(tasks.c_str());
    if (!dir) return sample;
    while (dirent* entry = readdir(dir)) {
        if (entry->d_name[0] == '.') continue;
        const std::string task = tasks + "/" + entry->d_name;
        ThreadCount count;
        std::ifstream schedstat(task + "/schedstat");
        schedstat >> count.runNs;
        count.switches = FieldOf(task + "/status", "voluntary_ctxt_switches:") +
                         FieldOf(task + "/status", "nonvoluntary_ctxt_switches:");
        sample.threads[std::atoi(entry->d_name)] = count;
    }
    closedir(dir);
    return sample;
}

// CPU % of one core and wake-ups a second between two samples; a thread born
// in between counts from zero.
void Rates(const ProcessSample& a, const ProcessSample& b, double& cpu, double& wakeups) {
    unsigned long long runNs = 0, switches = 0;
    for (const auto& [tid, late] : b.threads) {
        const auto early = a.threads.find(tid);
        const ThreadCount zero;
        const ThreadCount& from = early == a.threads.end() ? zero : early->second;
        runNs += late.runNs - from.runNs;
        switches += late.switches - from.switches;
    }
    const double seconds = (b.at - a.at) / 1000.0;
    cpu = static_cast<double>(runNs) / 1e9 / seconds * 100.0;
    wakeups = static_cast<double>(switches) / seconds;
}

class Watch {
public:
    bool Open() {
        display_ = XOpenDisplay(nullptr);
        if (!display_) return false;
        int error = 0;
        if (!XDamageQueryExtension(display_, &damageEvent_, &error)) return false;
        root_ = DefaultRootWindow(display_);
        XSelectInput(display_, root_, SubstructureNotifyMask);
        XSync(display_, False);
        return true;
    }

    // Handles the events that arrive within `ms`.
    void Run(double ms) {
        const double until = NowMs() + ms;
        for (double left = ms; left > 0; left = until - NowMs()) {
            if (!XPending(display_)) {
                pollfd fd = {ConnectionNumber(display_), POLLIN, 0};
                poll(&fd, 1, static_cast<int>(left) + 1);
            }
            while (XPending(display_)) Handle();
        }
    }

    // Runs until `pictures` pictures have arrived or `ms` passed.
    void RunUntilPictures(size_t pictures, double ms) {
        const double until = NowMs() + ms;
        while (pictureTimes_.size() < pictures && NowMs() < until) Run(10);
    }

    void Focus(bool onWindow) {
        if (!window_) return;
        XSetInputFocus(display_, onWindow ? window_ : root_, RevertToNone, CurrentTime);
        XSync(display_, False);
    }

    double mapTime = -1;
    std::vector<double> pictureTimes_;
    long presents = 0;

private:
    void Handle() {
        XEvent event;
        XNextEvent(display_, &event);
        const double now = NowMs();
        if (event.type == CreateNotify && event.xcreatewindow.parent == root_ &&
            !event.xcreatewindow.override_redirect)
            Adopt(event.xcreatewindow.window, now);
        else if (event.type == MapNotify && event.xmap.event == root_) Mapped(event.xmap.window, now);
        else if (event.type == damageEvent_ + XDamageNotify) {
            XDamageSubtract(display_, reinterpret_cast<XDamageNotifyEvent&>(event).damage, None, None);
            pictureTimes_.push_back(now);
            ++presents;
        }
    }

    // A top-level window of the program (SDL may replace its first window by
    // one fit for OpenGL): its pictures are watched from now on.
    void Adopt(Window window, double now) {
        XDamageCreate(display_, window, XDamageReportNonEmpty);
        XWindowAttributes attributes;
        if (XGetWindowAttributes(display_, window, &attributes) && attributes.map_state == IsViewable)
            Mapped(window, now);
    }

    // The first map shows the program's window; the last one mapped gets the focus.
    void Mapped(Window window, double now) {
        if (mapTime < 0) mapTime = now;
        window_ = window;
    }

    Display* display_ = nullptr;
    Window root_ = 0;
    Window window_ = 0;
    int damageEvent_ = 0;
};

void End(pid_t pid) {
    kill(pid, SIGTERM);
    for (int i = 0; i < 300; ++i) {
        if (waitpid(pid, nullptr, WNOHANG) == pid) return;
        usleep(10000);
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

double Arg(char** argv, int& i) { return std::atof(argv[++i]); }

// A window may go before it is watched: such errors are expected.
int IgnoreXErrors(Display*, XErrorEvent*) { return 0; }

}  // namespace

int main(int argc, char** argv) {
    double settle = 2, measure = 5, frozen = 0;
    int i = 1;
    for (; i < argc && std::strcmp(argv[i], "--") != 0; ++i) {
        if (i + 1 >= argc) break;
        if (!std::strcmp(argv[i], "--settle")) settle = Arg(argv, i);
        else if (!std::strcmp(argv[i], "--measure")) measure = Arg(argv, i);
        else if (!std::strcmp(argv[i], "--frozen")) frozen = Arg(argv, i);
    }
    if (i + 1 >= argc) {
        std::fprintf(stderr, "usage: window-watch [--settle S] [--measure S] [--frozen S] -- PROGRAM [ARGS...]\n");
        return 2;
    }
    XSetErrorHandler(IgnoreXErrors);
    Watch watch;
    if (!watch.Open()) {
        std::fprintf(stderr, "window-watch: no X display with the DAMAGE extension\n");
        return 1;
    }
    const double start = NowMs();
    const pid_t pid = fork();
    if (pid == 0) {
        execvp(argv[i + 1], argv + i + 1);
        std::perror("window-watch: exec");
        _exit(127);
    }
    watch.RunUntilPictures(4, 20000);
    if (watch.pictureTimes_.empty() || watch.mapTime < 0) {
        std::fprintf(stderr, "window-watch: no window shown\n");
        End(pid);
        return 1;
    }
    std::ostringstream out;
    out.setf(std::ios::fixed);
    out.precision(1);
    out << "map=" << watch.mapTime - start << " pictures=";
    for (size_t k = 0; k < watch.pictureTimes_.size() && k < 4; ++k)
        out << (k ? "," : "") << watch.pictureTimes_[k] - start;

    watch.Run(settle * 1000);
    double cpu = 0, wakeups = 0;
    ProcessSample a = Sample(pid);
    long presents = watch.presents;
    watch.Run(measure * 1000);
    Rates(a, Sample(pid), cpu, wakeups);
    out.precision(2);
    out << " cpu=" << cpu << " wakeups=" << wakeups << " presents=" << (watch.presents - presents) / measure;

    if (frozen > 0) {
        watch.Focus(true);
        watch.Run(500);
        watch.Focus(false);
        watch.Run(500);  // the focus change reaches the program
        a = Sample(pid);
        presents = watch.presents;
        watch.Run(frozen * 1000);
        Rates(a, Sample(pid), cpu, wakeups);
        out << " frozen_cpu=" << cpu << " frozen_wakeups=" << wakeups
            << " frozen_presents=" << (watch.presents - presents) / frozen;
        watch.Focus(true);
        watch.Run(500);
        presents = watch.presents;
        watch.Run(1000);
        out << " thawed_presents=" << static_cast<double>(watch.presents - presents);
    }
    End(pid);
    std::printf("%s\n", out.str().c_str());
    return 0;
}
