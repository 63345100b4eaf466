// The display going away under the game: the X connection broken by a logout, a lost remote
// display or a server that ended.
#ifndef QUORBIX_CONNECTION_H
#define QUORBIX_CONNECTION_H

// Makes a broken X connection save the score table and end the game with status 1.
void catch_lost_display();

#endif
