/* The window's icon: the ship picture as XPM, which the build makes from the data file. */
#include "quorbix_icon.xpm"

const char **ship_icon = quorbix_icon;
