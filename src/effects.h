// Lightning bolts: the crackling forcefield along the screen edges.
#ifndef QUORBIX_EFFECTS_H
#define QUORBIX_EFFECTS_H

struct BITMAP;

// Draws one jagged glowing bolt from (x1, y1) to (x2, y2) in colour c; new shape every call.
void draw_lightning(BITMAP *bmp, int x1, int y1, int x2, int y2, int c);
// The glow brush do_line calls for each pixel of a segment.
void lightning_helper(BITMAP *bmp, int x, int y, int d);

#endif
