// Picture numbers of Vorna.pic, shared by the client and the data-file
// generator.
#pragma once

inline constexpr int PICTURE_BACKGROUND = 1;  // start-screen scene, 1920 x 1088
inline constexpr int PICTURE_LOGO = 2;        // title logo
inline constexpr int PICTURE_FONT_1 = 3;      // interface font
inline constexpr int PICTURE_SKIN = 4;        // interface skin, rectangles in gui/framework/Skins.h
inline constexpr int PICTURE_FONT_2 = 5;      // outlined font for texts over the map
inline constexpr int PICTURE_FONT_3 = 6;      // small font for counts on items
inline constexpr int PICTURE_LIGHT = 7;       // darkness tiles: level n at tile (0, n), tile (0, 0) black
inline constexpr int PICTURE_FONT_4 = 8;      // console font
inline constexpr int NUMBER_OF_PICTURES = 8;

// Tiles of PICTURE_LIGHT: one column of darkness levels 0 (black) to 7.
inline constexpr int DARKNESS_LEVELS = 8;
