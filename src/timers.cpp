// Timer handlers: each one makes indivisible updates of its counters, and only fps_proc makes two.
#include "alleg.h"
#include "timers.h"

std::atomic<int> speed_counter(0);
std::atomic<int> timer_1(0);
std::atomic<int> timer_2(0);
std::atomic<int> frame_counter(0);
std::atomic<int> fps(0);

// Counts hundredths of a second.
void inc_timer_1()
{
   timer_1++;
}
END_OF_FUNCTION(inc_timer_1)

// Counts whole seconds.
void inc_timer_2()
{
   timer_2++;
}
END_OF_FUNCTION(inc_timer_2)

// Makes one more logic tick due.
void increment_speed_counter()
{
   speed_counter++;
}
END_OF_FUNCTION(increment_speed_counter)

// Publishes the frames of the last second and starts counting again. A frame counted between the
// two updates is lost; the figure shown is only ever a rough one.
void fps_proc()
{
   fps = frame_counter.load();
   frame_counter = 0;
}
END_OF_FUNCTION(fps_proc)

// Installs the handlers: hundredths, seconds, logic ticks, then the frame rate.
void install_timers()
{
   LOCK_FUNCTION(inc_timer_1);
   LOCK_FUNCTION(inc_timer_2);
   LOCK_FUNCTION(increment_speed_counter);
   LOCK_FUNCTION(fps_proc);
   install_int(inc_timer_1, 10);
   install_int_ex(inc_timer_2, SECS_TO_TIMER(1));
   install_int_ex(increment_speed_counter, BPS_TO_TIMER(LOGIC_RATE));
   install_int(fps_proc, 1000);
}
