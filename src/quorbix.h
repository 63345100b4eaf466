// The index of the game's data file quorbix.dat: its object numbers (palette, bullet frames, fonts,
// ship, title picture), which the build checks against the packed file, and the colours and sizes
// the data maker and the game share.
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

// What the pictures of the data file and the game agree on besides the object numbers: the
// palette indices the game draws with, and the sizes its boxes and layout take the pictures to have.
const int COLOR_BACKGROUND = 0;   // the background, and the transparent colour of sprites
const int COLOR_HOT_FIRST = 1;    // the five hot explosion colours, yellow to red
const int COLOR_HOT_LAST = 5;
const int COLOR_WHITE = 15;       // texts in the built-in font, the gauge frame, the lightning core
const int COLOR_GAUGE = 224;      // the fill of the energy bar
const int COLOR_BRIGHT = 255;     // stars, the score rows, the name being typed
const int SHIP_WIDTH = 45;        // the ship's picture, and its box
const int SHIP_HEIGHT = 27;
const int BULLET_SIZE = 16;       // each bullet picture, square
const int TITLE_WIDTH = 300;      // the title picture
const int TITLE_HEIGHT = 239;
// The cell every glyph of a label font fits, which the label bitmaps are sized by.
const int MAIN_CELL_WIDTH = 16;
const int MAIN_CELL_HEIGHT = 20;
const int TALL_CELL_WIDTH = 16;
const int TALL_CELL_HEIGHT = 30;
const int NARROW_CELL_WIDTH = 15;
const int NARROW_CELL_HEIGHT = 20;

#endif
