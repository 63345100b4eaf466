// The data maker's fonts: glyphs rendered by FreeType in monochrome, laid out as Allegro font grids,
// and words drawn in shaded letters for the title picture.
#ifndef QUORBIX_DATA_FONTS_H
#define QUORBIX_DATA_FONTS_H

#include <ft2build.h>
#include FT_FREETYPE_H
#include <algorithm>
#include <string>
#include <vector>
#include "alleg.h"

// One glyph rendered by FreeType in monochrome: its ink and where it sits against the pen.
struct glyph_image_typ {
   int width = 0, rows = 0;  // size of the ink box
   int left = 0, top = 0;    // offset of the ink box from the pen; top counts up from the baseline
   int advance = 0;          // pen move to the next glyph
   std::vector<unsigned char> ink;  // width * rows, 1 where the glyph is drawn
};

// A font's glyphs for 32..126 and the baseline and height shared by their cells.
struct glyph_set_typ {
   std::vector<glyph_image_typ> glyphs;
   int ascent = 0, height = 0;
};

// How a font of the game is made: its TrueType file, the largest glyph cell it may have, and how
// many times taller than wide its em is drawn.
struct font_recipe_typ {
   const char *object;
   const char *file;
   int max_width, max_height;
   double stretch;
};

// Opens a TrueType file of the font folder, or ends the tool.
FT_Face open_face(FT_Library lib, const std::string &folder, const char *file);
// Renders one character of a face at its current size, hinted for monochrome, or ends the tool.
glyph_image_typ render_glyph(FT_Face face, int ch);
// The largest rendering of a recipe whose every glyph cell fits the recipe's limits.
glyph_set_typ fit_font(FT_Face face, const font_recipe_typ &r);
// Lays a font out as Allegro's font grid: rows of cells, the ink in colour 1 on 0, every cell
// fenced by colour 255 (cells in a row share their fences).
BITMAP *make_font_grid(const glyph_set_typ &set);
// The advance width of a word in a face at its current size.
int word_width(FT_Face face, const char *word);

// Writes one word in a face at its current size with its baseline at y, centred on cx: first a
// halo of the given thickness in the outline colour, then the letters shaded from top to bottom
// by the colour function of the fraction of the letter height.
template <typename shade_fn>
void draw_word(BITMAP *bmp, FT_Face face, const char *word, int cx, int y, int halo, int outline,
               shade_fn shade)
{
   std::vector<glyph_image_typ> glyphs;
   int width = 0, ascent = 1;
   for (const char *p = word; *p; p++) {
      glyphs.push_back(render_glyph(face, *p));
      width += glyphs.back().advance;
      ascent = std::max(ascent, glyphs.back().top);
   }
   for (int pass = 0; pass < 2; pass++) {
      int pen = cx - width / 2;
      for (const glyph_image_typ &g : glyphs) {
         for (int gy = 0; gy < g.rows; gy++)
            for (int gx = 0; gx < g.width; gx++) {
               if (!g.ink[gy * g.width + gx])
                  continue;
               int px = pen + g.left + gx, py = y - g.top + gy;
               if (pass == 0)
                  rectfill(bmp, px - halo, py - halo, px + halo, py + halo, outline);
               else
                  putpixel(bmp, px, py, shade((double)(ascent - g.top + gy) / ascent));
            }
         pen += g.advance;
      }
   }
}

#endif
