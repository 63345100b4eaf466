// The game's clocks: four timer handlers and the counters they drive.
// All pacing rests on these; every counter is atomic because the library's
// timer thread updates them while the main loop reads and writes them.
#ifndef QUORBIX_TIMERS_H
#define QUORBIX_TIMERS_H

#include <atomic>

// Logic ticks per second: every speed, delay and animation rate is counted in these.
const int LOGIC_RATE = 45;

extern std::atomic<int> speed_counter;  // logic ticks due and not yet run
extern std::atomic<int> timer_1;        // hundredths of a second since the last reset
extern std::atomic<int> timer_2;        // whole seconds since the last reset
extern std::atomic<int> frame_counter;  // frames shown since the last fps_proc
extern std::atomic<int> fps;            // frames shown during the last full second

void inc_timer_1();
void inc_timer_2();
void increment_speed_counter();
void fps_proc();

// Installs the four handlers, in the order the game relies on.
void install_timers();

#endif
