// Frame and tick costs: the busiest frame the game can compose, the busiest logic
// tick, a frame put on the screen at factors 1, 2 and 3, and, as the yardstick, one
// clear and two full-screen blits between memory bitmaps; each closes with its time over
// the yardstick's from the same run. Runs in an 8-bit window, so start it on an X display
// (Xvfb will do) of at least 1920 x 1440 for the factor 3 window to show whole.
#include <benchmark/benchmark.h>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>
#include "display.h"
#include "game.h"
#include "pixelz.h"
#include "timers.h"
#include "window.h"

static const int FIELD_LEVEL = 12;          // the first level with all 25 asteroids live
static const int CROWD_X = 300, CROWD_Y = 100;
static const unsigned FIELD_SEED = 1;      // the same words in the same fonts on every run
static const char FLOOR[] = "BM_clear_and_two_blits";

// Launches particles until the pool is full, each slow enough to stay live.
static void fill_particle_pool()
{
   for (int i = 0; i < MAX_PIXELS; i++)
      init_pixel(1000, (float)(i % SCREEN_W), (float)(i % SCREEN_H), 1.0f, 1.0f, 1 + i % 5);
}

// Forcefield on, the "READY?" banner, 25 asteroids, 10 bullets and 1000 particles.
static void BM_compose_worst_frame(benchmark::State &state)
{
   game_typ game;
   if (!setup_game(&game)) {
      state.SkipWithError("no bitmaps");
      return;
   }
   game.forcefield = true;
   srand(FIELD_SEED);
   create_asteroids(FIELD_LEVEL);
   for (int z = 0; z < NUM_BULLETS; z++)
      spawn_sprite(NUM_BULLETS, bullet, 60 * z, 200, 25 * z, 0, 0, 0, 0);
   for (sprite &b : bullet)
      b.framez = game.bullet_framez[0];
   clear_pixels();
   fill_particle_pool();
   timer_2 = 0;
   for (auto _ : state)
      compose_frame(&game);
   teardown_game(&game);
   clear_pixels();
}
BENCHMARK(BM_compose_worst_frame)->Unit(benchmark::kMicrosecond);

// 25 asteroids on top of each other and the ship, one of them shot down: a burst of 1000 launches.
static void BM_worst_logic_tick(benchmark::State &state)
{
   game_typ game;
   if (!setup_game(&game)) {
      state.SkipWithError("no bitmaps");
      return;
   }
   srand(FIELD_SEED);
   create_asteroids(FIELD_LEVEL);
   timer_1 = 0;
   for (auto _ : state) {
      state.PauseTiming();
      clear_pixels();
      for (int z = 0; z < NUM_ASTEROIDS; z++) {
         sprite &a = asteroid[z];
         a.init(0, CROWD_X + z, CROWD_Y + z, a.buffer->w, a.buffer->h);
         a.life = z == 0 ? 0 : 3;
         a.counter = 5;
         a.x_vel = a.y_vel = 1.0f;
      }
      ship.init(0, CROWD_X, CROWD_Y, SHIP_WIDTH, SHIP_HEIGHT);
      ship.life = 100;
      ship.flash_flag = false;
      state.ResumeTiming();
      logic_tick(&game);
   }
   teardown_game(&game);
   clear_pixels();
}
BENCHMARK(BM_worst_logic_tick)->Unit(benchmark::kMicrosecond);

// The floor under every frame: clear the frame, copy the star field in, copy the frame out.
static void BM_clear_and_two_blits(benchmark::State &state)
{
   BITMAP *background = create_bitmap(SCREEN_W, SCREEN_H);
   BITMAP *buffer = create_bitmap(SCREEN_W, SCREEN_H);
   BITMAP *target = create_bitmap(SCREEN_W, SCREEN_H);
   if (!background || !buffer || !target) {
      state.SkipWithError("no bitmaps");
   } else {
      clear_bitmap(background);
      for (auto _ : state) {
         clear_bitmap(buffer);
         blit(background, buffer, 0, 0, 0, 0, SCREEN_W, SCREEN_H);
         blit(buffer, target, 0, 0, 0, 0, SCREEN_W, SCREEN_H);
         benchmark::ClobberMemory();
      }
   }
   if (background) destroy_bitmap(background);
   if (buffer) destroy_bitmap(buffer);
   if (target) destroy_bitmap(target);
}
BENCHMARK(BM_clear_and_two_blits)->Unit(benchmark::kMicrosecond);

// A frame onto the screen in a window at the factor: scaled into a memory bitmap, then one blit,
// in which the library's X11 driver converts every pixel for the display.
static void BM_present(benchmark::State &state)
{
   BITMAP *frame = create_bitmap(SCREEN_W, SCREEN_H);
   if (!frame || !show_window(state.range(0))) {
      state.SkipWithError("no frame, or no window at this factor");
   } else {
      for (int i = 0; i < SCREEN_W * SCREEN_H; i++)
         frame->line[0][i] = i % 256;
      for (auto _ : state)
         present_frame(frame);
   }
   show_window(1);
   if (frame) destroy_bitmap(frame);
}
BENCHMARK(BM_present)->Arg(1)->Arg(2)->Arg(3)->Unit(benchmark::kMicrosecond);

// The console report, keeping each benchmark's CPU time: its median when repeated, else its one run.
class ratio_reporter : public benchmark::ConsoleReporter {
public:
   std::map<std::string, double> time;

   ratio_reporter() : ConsoleReporter(OO_None) {}

   void ReportRuns(const std::vector<Run> &runs) override
   {
      ConsoleReporter::ReportRuns(runs);
      for (const Run &run : runs)
         if (run.run_type == Run::RT_Iteration || run.aggregate_name == "median")
            time[run.run_name.str()] = run.GetAdjustedCPUTime();
   }
};

int main(int argc, char **argv)
{
   benchmark::Initialize(&argc, argv);
   if (!open_game_window())
      return 2;
   data = load_datafile(QUORBIX_DAT);
   if (!data) {
      fprintf(stderr, "cannot load %s\n", QUORBIX_DAT);
      return 2;
   }
   ratio_reporter reporter;
   benchmark::RunSpecifiedBenchmarks(&reporter);
   double floor = reporter.time[FLOOR];
   for (const auto &t : reporter.time)
      if (floor > 0 && t.first != FLOOR)
         printf("%s: %.1f x %s in CPU time\n", t.first.c_str(), t.second / floor, FLOOR);
   benchmark::Shutdown();
   return 0;
}
