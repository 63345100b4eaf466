// Object numbers of the game's data file quorbix.dat (palette, bullet frames, fonts, ship, title
// picture). The build writes the same list from the packed file and fails if the two differ.
#ifndef QUORBIX_H
#define QUORBIX_H

#define GAME_PAL                         0        /* PAL  */
#define BULLET_1                         1        /* BMP  */
#define BULLET_2                         2        /* BMP  */
#define BULLET_DIE_1                     3        /* BMP  */
#define BULLET_DIE_2                     4        /* BMP  */
#define BULLET_DIE_3                     5        /* BMP  */
#define FONT_MAIN                        6        /* FONT */
#define FONT_TALL                        7        /* FONT */
#define FONT_NARROW                      8        /* FONT */
#define FONT_TITLE                       9        /* FONT */
#define SHIP_BMP                         10       /* BMP  */
#define TITLE_BMP                        11       /* BMP  */

#endif
