/* Waits for the client's window (title beginning "Vorna") to show a picture:
 * a pixel at its centre that is not black. Prints the milliseconds since the
 * start time given (nanoseconds of CLOCK_REALTIME, as `date +%s%N` writes
 * them), or -1 after the time-out. Used by bench/idle-load. */
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>

static int Ignore(Display* d, XErrorEvent* e) { (void)d; (void)e; return 0; }

static long long NowNs(void) {
    struct timespec t;
    clock_gettime(CLOCK_REALTIME, &t);
    return (long long)t.tv_sec * 1000000000LL + t.tv_nsec;
}

static Window FindWindow(Display* d) {
    Window root = DefaultRootWindow(d), parent, *children = NULL, found = 0;
    unsigned n = 0;
    if (!XQueryTree(d, root, &root, &parent, &children, &n)) return 0;
    for (unsigned i = 0; i < n && !found; ++i) {
        char* name = NULL;
        if (XFetchName(d, children[i], &name) && name) {
            if (strncmp(name, "Vorna", 5) == 0) found = children[i];
            XFree(name);
        }
    }
    if (children) XFree(children);
    return found;
}

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    const long long start = atoll(argv[1]);
    const long long limit = start + 10000000000LL;
    Display* d = NULL;
    while (!(d = XOpenDisplay(NULL)) && NowNs() < limit) usleep(1000);
    if (!d) { puts("-1"); return 1; }
    XSetErrorHandler(Ignore);
    while (NowNs() < limit) {
        Window w = FindWindow(d);
        XWindowAttributes a;
        if (w && XGetWindowAttributes(d, w, &a) && a.map_state == IsViewable) {
            XImage* image = XGetImage(d, w, a.width / 2, a.height / 2, 1, 1, AllPlanes, ZPixmap);
            if (image) {
                unsigned long pixel = XGetPixel(image, 0, 0) & 0xFFFFFF;
                XDestroyImage(image);
                if (pixel != 0) {
                    printf("%lld\n", (NowNs() - start) / 1000000);
                    return 0;
                }
            }
        }
        usleep(1000);
    }
    puts("-1");
    return 1;
}
