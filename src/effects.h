// Lightning bolts: the crackling forcefield along the screen edges.
#ifndef QUORBIX_EFFECTS_H
#define QUORBIX_EFFECTS_H

struct BITMAP;

// Draws one jagged glowing bolt from (x1, y1) to (x2, y2) in colour c on an 8-bit memory
// bitmap; new shape every call.
void draw_lightning(BITMAP *bmp, int x1, int y1, int x2, int y2, int c);
// The glow brush: a filled circle of radius 3 in colour d, one of radius 2 in d + 5 over it.
void lightning_helper(BITMAP *bmp, int x, int y, int d);
// The glow along a polyline of `points` points on an 8-bit memory bitmap: pixel for pixel
// what do_line calling lightning_helper along each segment in turn leaves.
void draw_glow(BITMAP *bmp, const int *x, const int *y, int points, int c);

#endif
