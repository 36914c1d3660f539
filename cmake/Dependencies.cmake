# The outside libraries, found once for the whole tree (README says why each is there).
find_package(PkgConfig REQUIRED)
find_package(SDL2 REQUIRED CONFIG)
pkg_check_modules(SDL_MIXER REQUIRED IMPORTED_TARGET sdl2 SDL2_mixer)
pkg_check_modules(FFMPEG REQUIRED IMPORTED_TARGET libavformat libavcodec libavutil libswscale)
pkg_check_modules(ENET REQUIRED IMPORTED_TARGET libenet)
find_package(PNG REQUIRED)
find_package(Qt6 REQUIRED COMPONENTS Widgets Test)
find_package(nlohmann_json REQUIRED)
# SimpleIni is used header-only (texts stay bytes: no conversion library needed).
find_path(SIMPLEINI_INCLUDE_DIR SimpleIni.h REQUIRED)
