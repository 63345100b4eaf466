// The display going away under the game: the X connection broken by a logout, a lost remote
// display or a server that ended.
#ifndef QUORBIX_DISPLAY_H
#define QUORBIX_DISPLAY_H

// Makes a broken X connection save the score table and end the game with status 1.
void catch_lost_display();

#endif
