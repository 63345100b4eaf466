// A joystick for the tests, preloaded into the real game: it stands in for the kernel's joystick
// device. Opening /dev/input/js0 opens the FIFO named by JOYSTICK_SHIM_FIFO instead, and the three
// questions the library asks of the device are answered for a stick of two axes and two buttons.
// The library then selects and reads 8-byte js_event records on the FIFO as on the device.
#include <cerrno>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>
#include <linux/joystick.h>
#include <sys/ioctl.h>
#include <unistd.h>

static int stick_fd = -1;

// Opens the FIFO for the first joystick's device, anything else as asked.
extern "C" int open(const char *path, int flags, ...)
{
   static auto real_open = (int (*)(const char *, int, ...))dlsym(RTLD_NEXT, "open");
   va_list args;
   va_start(args, flags);
   mode_t mode = (flags & (O_CREAT | O_TMPFILE)) ? va_arg(args, mode_t) : 0;
   va_end(args);
   const char *fifo = getenv("JOYSTICK_SHIM_FIFO");
   if (!fifo || strcmp(path, "/dev/input/js0") != 0)
      return real_open(path, flags, mode);
   stick_fd = real_open(fifo, flags);
   return stick_fd;
}

// The driver's version, and the numbers of axes and buttons, as the kernel gives them.
extern "C" int ioctl(int fd, unsigned long request, ...)
{
   static auto real_ioctl = (int (*)(int, unsigned long, void *))dlsym(RTLD_NEXT, "ioctl");
   va_list args;
   va_start(args, request);
   void *arg = va_arg(args, void *);
   va_end(args);
   if (fd != stick_fd || stick_fd < 0)
      return real_ioctl(fd, request, arg);
   if (request == JSIOCGVERSION)
      *(unsigned int *)arg = JS_VERSION;
   else if (request == JSIOCGAXES || request == JSIOCGBUTTONS)
      *(char *)arg = 2;
   else {
      errno = ENOTTY;
      return -1;
   }
   return 0;
}

// Forgets the stick when its descriptor is closed.
extern "C" int close(int fd)
{
   static auto real_close = (int (*)(int))dlsym(RTLD_NEXT, "close");
   if (fd == stick_fd)
      stick_fd = -1;
   return real_close(fd);
}
