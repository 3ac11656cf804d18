// Drawing the world around the player: the fields of the map cube composed
// floor by floor on TEMP_SURFACE with elevation and perspective, creatures
// with their marks, effects and missiles, light from the sun and from every
// light source, then the copy into the map window (scaled in the map's own
// proportions, or unscaled with the NoStretching preference, centred either
// way), names and health bars and the texts over the map. Static parts of
// the picture are kept as prepared 32 x 32 cells on CACHE_SURFACE and
// composed again only when their pieces change.
//
// Everything here lives in fixed storage; a frame allocates nothing.
#pragma once

#include <cstdint>

constexpr int MAP_VIEW_WIDTH = 480;   // 15 fields of 32 pixels
constexpr int MAP_VIEW_HEIGHT = 352;  // 11 fields
constexpr int MAX_ELEVATION = 24;
constexpr int CACHE_COLUMNS = 16;
constexpr int CACHE_ROWS = 12;
constexpr int PIECES_PER_CELL = 10;
constexpr int CREATURES_PER_FIELD = 10;
constexpr int INVISIBLE_EFFECT = 13;

// What the map window tells the drawing: where the pointer is, so that the
// creature under it is framed. 0 for none.
void SetMapViewPointerCreature(uint32_t CreatureID);

// Where the map picture lies in a map window of Width x Height, relative to
// the window. With the NoStretching preference it is shown unscaled in the
// middle, cut to the window where the window is smaller. Otherwise it is
// scaled by one factor for both axes, the larger that fits, and centred;
// once a map pixel would cover 2 screen pixels or more (counting the
// platform's enlargement of the whole frame) the factor is a whole number,
// so that every pixel of the map becomes an even square. What the picture
// leaves of the window is margin.
struct MapPicture {
    int x, y, Width, Height;
};
MapPicture GetMapPicture(int Width, int Height);
// A point of the 480 x 352 map picture (the scroll already applied) as a
// point of the map window, and a point of the window as the map pixel shown
// there (false in the margin).
void MapPictureToWindow(int mx, int my, int WindowWidth, int WindowHeight, int& x, int& y);
bool WindowToMapPicture(int x, int y, int WindowWidth, int WindowHeight, int& mx, int& my);

// One frame for a map window at (X, Y) of Width x Height on a surface: the
// picture where GetMapPicture puts it; the margins are left to the caller.
// Until the player stands on the map (between entering the game and the
// first full map) the picture is black and the frame lists no creatures
// and no texts.
void DrawMapView(int Surface, int X, int Y, int Width, int Height);

// ---- What the last frame found ----------------------------------------------------------

int GetHighestDrawnFloor();
// The lowest floor drawn at a cube column (0 when nothing covers it).
int GetCoverFloor(int rx, int ry);
// The light of a cube column, 0..255 per channel.
void GetFieldLight(int rx, int ry, int& Red, int& Green, int& Blue);
int GetNumberOfShownCreatures();
// A creature of the name list with its anchor on TEMP_SURFACE (the top
// centre of its image); false past the end.
bool GetShownCreature(int Number, uint32_t& CreatureID, int& AnchorX, int& AnchorY);
// Cells of the prepared-image cache composed anew in the last frame.
int GetComposedCells();
// The rising texts of the last frame that are to be drawn, at their place
// on TEMP_SURFACE (the 480 x 352 map picture); false past the end.
int GetNumberOfAnimatedTexts();
bool GetAnimatedText(int Number, int& x, int& y, int& Colour, const char*& Text);
// The player's walking offset the last frame was drawn with.
void GetWalkingOffset(int& x, int& y);

// ---- The pointer ---------------------------------------------------------------------------

// The cube field under a point of a map window of Width x Height; the floor
// is the highest drawn floor where something can be stood on or used.
// False when the point lies in the margin or outside the cube.
bool GetFieldUnderPointer(int x, int y, int Width, int Height, int& rx, int& ry, int& rz);
// Whether ground on a floor between the creature's own and the highest
// drawn floor hides its column (its name then shows in grey).
bool IsCreatureCoveredFromAbove(uint32_t CreatureID);
// The creature of the last frame's name list under a point of a map window
// of Width x Height; 0 for none.
uint32_t GetCreatureUnderPointer(int x, int y, int Width, int Height);

// ---- Pieces of the algorithm (also for tests) -----------------------------------------------

// The darkness level of a red light value: tile row of the darkness picture,
// or 8 and above for no darkness at all.
int GetDarknessLevel(int Red);
// The light a source of Brightness fields and colour index Colour (0..215)
// gives at Distance pixels, per channel before the ground rule; 0 outside.
void GetLightAtDistance(int Brightness, int Colour, int Distance, int& Red, int& Green, int& Blue);
