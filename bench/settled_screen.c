/* Watches a rectangle of the X screen until what it shows stops changing,
 * and prints when that happened: the milliseconds from a given start (a
 * CLOCK_REALTIME time in nanoseconds) to the last change. The area is read
 * every 2 ms through shared memory, so that the watching costs the X server a
 * copy in memory rather than a trip through the socket that the program under
 * test draws through. A change confined to a sliver at most 2 pixels wide and
 * 24 high is a blinking caret and does not count; nor does an area still all
 * one colour (nothing shown yet).
 *
 * Usage: settled_screen START_NS X Y WIDTH HEIGHT [QUIET_MS [LIMIT_MS]]
 * Settled means QUIET_MS (default 600) without a change; gives up with exit
 * status 1 after LIMIT_MS (default 20000) from the start. */
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/ipc.h>
#include <sys/shm.h>
#include <time.h>

static long long now_ns(void) {
  struct timespec t;
  clock_gettime(CLOCK_REALTIME, &t);
  return (long long)t.tv_sec * 1000000000LL + t.tv_nsec;
}

static int uniform(const XImage* image) {
  const unsigned long first = XGetPixel((XImage*)image, 0, 0);
  for (int y = 0; y < image->height; y += 3) {
    for (int x = 0; x < image->width; x += 3) {
      if (XGetPixel((XImage*)image, x, y) != first) return 0;
    }
  }
  return 1;
}

/* Whether the two images differ by more than a caret. */
static int changed(const XImage* a, const XImage* b) {
  const int bytes = a->bytes_per_line * a->height;
  if (memcmp(a->data, b->data, (size_t)bytes) == 0) return 0;
  int left = a->width, right = -1, top = a->height, bottom = -1;
  for (int y = 0; y < a->height; ++y) {
    const char* ra = a->data + (long)y * a->bytes_per_line;
    const char* rb = b->data + (long)y * b->bytes_per_line;
    if (memcmp(ra, rb, (size_t)a->bytes_per_line) == 0) continue;
    for (int x = 0; x < a->width; ++x) {
      if (XGetPixel((XImage*)a, x, y) == XGetPixel((XImage*)b, x, y)) continue;
      if (x < left) left = x;
      if (x > right) right = x;
      if (y < top) top = y;
      if (y > bottom) bottom = y;
    }
  }
  return right < 0 ? 0 : !(right - left < 2 && bottom - top < 24);
}

int main(int argc, char** argv) {
  if (argc < 6) {
    fprintf(stderr, "usage: settled_screen START_NS X Y WIDTH HEIGHT [QUIET_MS [LIMIT_MS]]\n");
    return 2;
  }
  const long long start = atoll(argv[1]);
  const int x = atoi(argv[2]), y = atoi(argv[3]);
  const unsigned width = (unsigned)atoi(argv[4]), height = (unsigned)atoi(argv[5]);
  const long long quiet = (argc > 6 ? atoll(argv[6]) : 600) * 1000000LL;
  const long long limit = (argc > 7 ? atoll(argv[7]) : 20000) * 1000000LL;
  Display* display = XOpenDisplay(NULL);
  if (!display) return 2;
  const Window root = DefaultRootWindow(display);
  if (!XShmQueryExtension(display)) {
    fprintf(stderr, "settled_screen: the display has no shared memory extension\n");
    return 2;
  }
  /* The area is read into shared memory and copied out when it changed. */
  XShmSegmentInfo segment;
  XImage* image = XShmCreateImage(display, DefaultVisual(display, DefaultScreen(display)),
                                  (unsigned)DefaultDepth(display, DefaultScreen(display)), ZPixmap,
                                  NULL, &segment, width, height);
  if (!image) return 2;
  const size_t bytes = (size_t)image->bytes_per_line * (size_t)image->height;
  segment.shmid = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
  if (segment.shmid < 0) return 2;
  segment.shmaddr = image->data = shmat(segment.shmid, NULL, 0);
  if (segment.shmaddr == (char*)-1) return 2;
  segment.readOnly = False;
  if (!XShmAttach(display, &segment)) return 2;
  XSync(display, False);
  /* Marked for removal now, so that no exit path leaves the segment behind. */
  shmctl(segment.shmid, IPC_RMID, NULL);
  XImage previous_image = *image;
  previous_image.data = malloc(bytes);
  if (!previous_image.data) return 2;
  XImage* previous = NULL;
  long long last_change = -1, first_shown = -1;
  for (;;) {
    const long long now = now_ns();
    if (now - start > limit) return 1;
    if (XShmGetImage(display, root, image, x, y, AllPlanes) && !uniform(image)) {
      if (!previous || changed(previous, image)) {
        last_change = now;
        if (first_shown < 0) first_shown = now;
        memcpy(previous_image.data, image->data, bytes);
        previous = &previous_image;
      } else if (now - last_change >= quiet) {
        printf("%lld\n", (last_change - start) / 1000000LL);
        if (getenv("SETTLED_FIRST")) {
          fprintf(stderr, "first shown at %lld ms\n", (first_shown - start) / 1000000LL);
        }
        return 0;
      }
    }
    struct timespec pause = {0, 2000000};
    nanosleep(&pause, NULL);
  }
}
