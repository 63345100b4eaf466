// The Allegro 4 library, used through its 4.0 interface (text_mode, textprintf, ...).
// Those calls are marked deprecated by the library; the game uses them on purpose,
// so their deprecation warnings alone are switched off here.
#ifndef QUORBIX_ALLEG_H
#define QUORBIX_ALLEG_H

#define AL_FUNC_DEPRECATED(type, name, args) AL_FUNC(type, name, args)
#define AL_PRINTFUNC_DEPRECATED(type, name, args, a, b) AL_PRINTFUNC(type, name, args, a, b)
#define AL_INLINE_DEPRECATED(type, name, args, code) AL_INLINE(type, name, args, code)
#include <allegro.h>

// Every frame is drawn at 640 x 480 whatever the real screen is: positions, edges, layout and the
// frame bitmaps use these; only the display module looks at the real screen's size.
#undef SCREEN_W
#undef SCREEN_H
#define SCREEN_W 640
#define SCREEN_H 480

#endif
