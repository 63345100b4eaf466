// Quorbix: an arcade shooter of floating words. The program's entry point.
#include "alleg.h"
#include "shell.h"

// Starts the game, runs the title screen and the games until the player quits, and shuts down.
int main()
{
   start_up();
   outer_loop();
   allegro_exit();
   return 0;
}
END_OF_MAIN()   // on Windows the library's WinMain calls main
