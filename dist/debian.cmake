# The layout Debian asks of games, for the package: cmake -C dist/debian.cmake -S . -B build.
# The launcher in /usr/games, the game in a private folder under /usr/lib/games, the data
# file under /usr/share/games; the rest in its usual place under /usr.
set(CMAKE_INSTALL_PREFIX /usr CACHE PATH "Installation prefix" FORCE)
set(CMAKE_INSTALL_BINDIR games CACHE PATH "Folder of the launcher" FORCE)
set(CMAKE_INSTALL_LIBEXECDIR lib/games CACHE PATH "Folder of the game's private folder" FORCE)
set(QUORBIX_DATA_DIR share/games/quorbix CACHE STRING "Folder of the data file" FORCE)
