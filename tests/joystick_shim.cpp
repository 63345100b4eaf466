// Stands in for the kernel's joystick device, preloaded into the real game: /dev/input/js0 opens the FIFO named by
// JOYSTICK_SHIM_FIFO, and the library's three questions get a stick of two axes and two buttons.
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>
#include <linux/joystick.h>

static int stick_fd = -1;

// Opens the FIFO in place of the first joystick's device, anything else as asked.
extern "C" int open(const char *path, int flags, ...)
{
   static auto real_open = (int (*)(const char *, int, ...))dlsym(RTLD_NEXT, "open");
   va_list args;
   va_start(args, flags);
   mode_t mode = flags & (O_CREAT | O_TMPFILE) ? va_arg(args, mode_t) : 0;
   va_end(args);
   const char *fifo = getenv("JOYSTICK_SHIM_FIFO");
   bool stick = fifo && strcmp(path, "/dev/input/js0") == 0;
   int fd = real_open(stick ? fifo : path, flags, mode);
   stick_fd = stick ? fd : stick_fd;
   return fd;
}

// The driver's version, and the counts of axes and buttons one byte each, as the kernel answers them.
extern "C" int ioctl(int fd, unsigned long request, ...)
{
   static auto real_ioctl = (int (*)(int, unsigned long, void *))dlsym(RTLD_NEXT, "ioctl");
   va_list args;
   va_start(args, request);
   void *arg = va_arg(args, void *);
   va_end(args);
   if (fd != stick_fd || (request != JSIOCGVERSION && request != JSIOCGAXES && request != JSIOCGBUTTONS))
      return real_ioctl(fd, request, arg);
   if (request == JSIOCGVERSION)
      *(unsigned int *)arg = JS_VERSION;
   else
      *(char *)arg = 2;
   return 0;
}
