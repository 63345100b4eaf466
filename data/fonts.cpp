// The data maker's fonts: FreeType's monochrome glyphs and Allegro's font grids.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include "fonts.h"

// Allegro's font grid: glyph ink in colour 1 on colour 0, every cell fenced by colour 255.
static const int GLYPH_PAPER = 0;
static const int GLYPH_INK = 1;
static const int FENCE = 255;
// Printable ASCII, the characters a font of the game holds.
static const int FIRST_CHAR = 32;
static const int LAST_CHAR = 126;
// Glyph cells per row of a font grid.
static const int GRID_COLUMNS = 16;

// Opens a TrueType file of the font folder, or ends the tool.
FT_Face open_face(FT_Library lib, const std::string &folder, const char *file)
{
   std::string path = folder + "/" + file;
   FT_Face face;
   if (FT_New_Face(lib, path.c_str(), 0, &face) != 0) {
      fprintf(stderr, "mkdata: cannot open the font %s\n", path.c_str());
      exit(1);
   }
   return face;
}

// Renders one character of a face at its current size, hinted for monochrome, or ends the tool.
glyph_image_typ render_glyph(FT_Face face, int ch)
{
   if (FT_Get_Char_Index(face, ch) == 0) {
      fprintf(stderr, "mkdata: %s has no glyph for '%c'\n", face->family_name, ch);
      exit(1);
   }
   if (FT_Load_Char(face, ch, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO) != 0) {
      fprintf(stderr, "mkdata: %s cannot render '%c'\n", face->family_name, ch);
      exit(1);
   }
   const FT_GlyphSlot slot = face->glyph;
   const FT_Bitmap &src = slot->bitmap;
   glyph_image_typ g;
   g.width = (int)src.width;
   g.rows = (int)src.rows;
   g.left = slot->bitmap_left;
   g.top = slot->bitmap_top;
   // Advances are in 1/64 pixel.
   g.advance = (int)((slot->advance.x + 32) >> 6);
   g.ink.assign(g.width * g.rows, 0);
   for (int y = 0; y < g.rows; y++)
      for (int x = 0; x < g.width; x++) {
         const unsigned char *row = src.buffer + y * src.pitch;
         // Mono bitmaps pack eight pixels per byte, leftmost in the high bit.
         g.ink[y * g.width + x] = (row[x >> 3] >> (7 - (x & 7))) & 1;
      }
   return g;
}

// Where a glyph's ink starts in its cell: at its left bearing, or at 0 if it hangs left of the pen.
static int ink_x(const glyph_image_typ &g)
{
   return std::max(0, g.left);
}

// The width of a glyph's cell in a font grid: its advance, or its ink if that reaches further.
static int cell_width(const glyph_image_typ &g)
{
   return std::max(g.advance, ink_x(g) + g.width);
}

// Renders 32..126 at the given pixel width and height of the em.
static glyph_set_typ render_set(FT_Face face, int em_w, int em_h)
{
   FT_Set_Pixel_Sizes(face, em_w, em_h);
   glyph_set_typ set;
   int descent = 0;
   for (int ch = FIRST_CHAR; ch <= LAST_CHAR; ch++) {
      set.glyphs.push_back(render_glyph(face, ch));
      const glyph_image_typ &g = set.glyphs.back();
      if (g.rows > 0) {
         set.ascent = std::max(set.ascent, g.top);
         descent = std::max(descent, g.rows - g.top);
      }
   }
   set.height = set.ascent + descent;
   return set;
}

// The largest rendering of a recipe whose every glyph cell fits the recipe's limits.
glyph_set_typ fit_font(FT_Face face, const font_recipe_typ &r)
{
   for (int em_h = r.max_height; em_h > 0; em_h--) {
      int em_w = std::max(1, (int)std::lround(em_h / r.stretch));
      glyph_set_typ set = render_set(face, em_w, em_h);
      int widest = 0;
      for (const glyph_image_typ &g : set.glyphs)
         widest = std::max(widest, cell_width(g));
      if (set.height <= r.max_height && widest <= r.max_width)
         return set;
   }
   fprintf(stderr, "mkdata: %s cannot fit %d x %d\n", r.file, r.max_width, r.max_height);
   exit(1);
}

// Lays a font out as Allegro's font grid: rows of cells, the ink in colour 1 on 0, every cell
// fenced by colour 255 (cells in a row share their fences).
BITMAP *make_font_grid(const glyph_set_typ &set)
{
   const int count = (int)set.glyphs.size();
   const int grid_rows = (count + GRID_COLUMNS - 1) / GRID_COLUMNS;
   int grid_w = 0;
   for (int row = 0; row < grid_rows; row++) {
      int w = 1;
      for (int i = row * GRID_COLUMNS; i < std::min(count, (row + 1) * GRID_COLUMNS); i++)
         w += cell_width(set.glyphs[i]) + 1;
      grid_w = std::max(grid_w, w);
   }
   BITMAP *bmp = create_bitmap_ex(8, grid_w, grid_rows * (set.height + 1) + 1);
   if (!bmp) {
      fprintf(stderr, "mkdata: out of memory for a font grid\n");
      exit(1);
   }
   clear_to_color(bmp, FENCE);
   for (int row = 0; row < grid_rows; row++) {
      int x = 1;
      const int y = 1 + row * (set.height + 1);
      for (int i = row * GRID_COLUMNS; i < std::min(count, (row + 1) * GRID_COLUMNS); i++) {
         const glyph_image_typ &g = set.glyphs[i];
         rectfill(bmp, x, y, x + cell_width(g) - 1, y + set.height - 1, GLYPH_PAPER);
         for (int gy = 0; gy < g.rows; gy++)
            for (int gx = 0; gx < g.width; gx++)
               if (g.ink[gy * g.width + gx])
                  putpixel(bmp, x + ink_x(g) + gx, y + set.ascent - g.top + gy, GLYPH_INK);
         x += cell_width(g) + 1;
      }
   }
   return bmp;
}

// The advance width of a word in a face at its current size.
int word_width(FT_Face face, const char *word)
{
   int width = 0;
   for (const char *p = word; *p; p++)
      width += render_glyph(face, *p).advance;
   return width;
}
