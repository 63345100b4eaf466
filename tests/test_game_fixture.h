// A game set up for tick-level tests: the real data file, a black star field,
// no particles, no keys held, the default high-score table and the arrow-key controls.
#ifndef QUORBIX_TEST_GAME_FIXTURE_H
#define QUORBIX_TEST_GAME_FIXTURE_H

#include <gtest/gtest.h>
#include "game.h"
#include "pixelz.h"
#include "support.h"
#include "timers.h"

class GameTest : public testing::Test {
protected:
   game_typ game;

   void SetUp() override
   {
      ASSERT_NE(test_data, nullptr);
      data = test_data;
      release_all_keys();
      clear_keybuf();
      universal_control = CONTROL_ARROWS;
      create_highscores();
      ASSERT_TRUE(setup_game(&game));
      clear_bitmap(game.background);
      for (pixel_typ &p : pixel)
         p.state = false;
      ship.angle = 0;
   }
   void TearDown() override
   {
      teardown_game(&game);
      release_all_keys();
   }

   // Sets the controller's flags as the player would hold them this tick.
   void hold(bool up, bool left, bool right, bool button1, bool button2 = false)
   {
      controller &c = game.player_controller;
      c.up_flag = up;
      c.left_flag = left;
      c.right_flag = right;
      c.button1_flag = button1;
      c.button2_flag = button2;
   }

   // Makes an asteroid slot live with a box, a weight and a velocity; no label bitmap.
   static sprite &place_rock(int slot, int x, int y, int w, int h, int weight, float xv, float yv)
   {
      sprite &a = asteroid[slot];
      a.init(0, x, y, w, h);
      a.counter = weight;
      a.life = weight + 2;
      a.x_vel = xv;
      a.y_vel = yv;
      return a;
   }

   static int live_pixels()
   {
      int n = 0;
      for (const pixel_typ &p : pixel)
         n += p.state;
      return n;
   }

   // Pixels of the composed frame in a rectangle (corners included) that are not background.
   int lit(int x1, int y1, int x2, int y2)
   {
      int n = 0;
      for (int y = y1; y <= y2; y++)
         for (int x = x1; x <= x2; x++)
            n += getpixel(game.buffer, x, y) != 0;
      return n;
   }
};

#endif
