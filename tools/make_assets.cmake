# make-assets: draws the game's pictures and synthesises its sounds (tool dependencies only:
# libtiff, libsndfile, SDL2_ttf with the DejaVu fonts, zlib).
pkg_check_modules(VORN_ASSET_DEPS REQUIRED IMPORTED_TARGET SDL2_ttf libtiff-4 sndfile zlib)

file(GLOB VORN_ASSET_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/make_assets/*.cpp)
list(FILTER VORN_ASSET_SOURCES EXCLUDE REGEX ".*/main\\.cpp$")
add_library(vorn_assets STATIC ${VORN_ASSET_SOURCES})
target_include_directories(vorn_assets PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(vorn_assets PUBLIC PkgConfig::VORN_ASSET_DEPS PkgConfig::SDL2)
target_compile_options(vorn_assets PRIVATE ${VORN_WARNINGS})

add_executable(make-assets ${CMAKE_SOURCE_DIR}/tools/make_assets/main.cpp)
target_link_libraries(make-assets PRIVATE vorn_assets)
target_compile_options(make-assets PRIVATE ${VORN_WARNINGS})
