// Quorbix: an arcade shooter of floating words. The program's entry point.
#include "alleg.h"
#include "shell.h"

int main()
{
   start_up();
   outer_loop();
   allegro_exit();
   return 0;
}
END_OF_MAIN()
