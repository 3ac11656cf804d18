// Sprite, picture and font resources: the two image files Vorna.spr and
// Vorna.pic, their lazy decoding through a memory cache of decoded 32 x 32
// images and a video cache of uploaded ones (slots on the sprite surfaces),
// recoloured outfits and texts, the four bitmap fonts, and the drawing and
// measuring operations every other drawing module uses.
//
// Order: InitSurface() first, then InitGraphics(MEMORY_CACHE_BYTES); at the
// end ExitGraphics() before ExitSurface(). The video cache follows the
// surfaces by itself: when they are created anew (GetSurfaceGeneration), it
// is rebuilt before its next use; RebuildVideoCache() does it at once.
#pragma once

#include "graphics/Surface.h"
#include "world/Objects.h"

#include <cstdint>

#ifndef NULL
#define NULL nullptr
#endif

constexpr int HASH_TABLE_SIZE = 100;
constexpr int IMAGE_SIZE = 32;                                // decoded images are 32 x 32
constexpr int IMAGE_BYTES = IMAGE_SIZE * IMAGE_SIZE * 3;      // red, green, blue
constexpr int MEMORY_CACHE_BYTES = 10485760;                  // 10 MiB: 3413 images
constexpr int SLOTS_PER_SURFACE = (SPRITE_SURFACE_SIZE / IMAGE_SIZE) * (SPRITE_SURFACE_SIZE / IMAGE_SIZE);

// Cache item types.
enum : int { EMPTY_ITEM = 0, SPRITE_ITEM = 1, TILE_ITEM = 2 };

// Text alignment.
enum : int { LEFT_ALIGN = 0, CENTER_ALIGN = 1, RIGHT_ALIGN = 2 };

constexpr int NumberOfFonts = 4;
constexpr int GLYPHS = 224;  // character codes 32..255

// ---- Start-up and reloading --------------------------------------------------------

// Loads "Vorna.spr" and "Vorna.pic" from the working directory, creates the
// memory cache with the given budget (at least two images) and the video
// cache, and builds the fonts. Throws PROGRAM_ERROR 2 or 3 when a file cannot
// be read, 5 when a font's tile cannot be decoded.
void InitGraphics(int MemoryCacheBytes);
void ExitGraphics();
bool IsGraphicsInitialized();

// After a patch replaced a file: empties both caches, then reads the file again.
void ReloadSprites();
void ReloadPictures();
// Marks every slot empty and makes the video cache anew for the current
// number of sprite surfaces.
void RebuildVideoCache();

// The first 32-bit values of the files, sent with the login.
uint32_t GetSpriteSignature();
uint32_t GetPictureSignature();

int GetNumberOfSprites();
int GetNumberOfPictures();
void GetPictureSize(int PictureNumber, int* TilesX, int* TilesY);

// The animation clock (the 100 ms tick counter of the connection control),
// installed by the module that keeps it; 0 while none is installed.
using AnimationClockSource = uint32_t (*)();
void SetAnimationClockSource(AnimationClockSource Source);
uint32_t GetAnimationClock();

// ---- Drawing ------------------------------------------------------------------------
// Positions in pixels on a surface of the surface module; sprite number 0
// draws nothing. A clip rectangle limits what is drawn.

void DrawSprite(int Surface, int X, int Y, int SpriteNumber);
void DrawSpriteClipped(int Surface, int X, int Y, int SpriteNumber, const ClipRect& Clip);
// Mask number 0 draws the plain sprite.
void DrawMaskedSprite(int Surface, int X, int Y, int SpriteNumber, int MaskNumber, const ColourSet& Colours);
void DrawMaskedSpriteClipped(int Surface, int X, int Y, int SpriteNumber, int MaskNumber, const ColourSet& Colours,
                             const ClipRect& Clip);
// Scaled to Width x Height (at most 64 x 64) through the stretch path.
void DrawSpriteScaled(int Surface, int X, int Y, int Width, int Height, int SpriteNumber, const ClipRect& Clip);
void DrawMaskedSpriteScaled(int Surface, int X, int Y, int Width, int Height, int SpriteNumber, int MaskNumber,
                            const ColourSet& Colours, const ClipRect& Clip);

// All tiles at 32-pixel steps.
void DrawPicture(int Surface, int X, int Y, int PictureNumber);
// Any rectangle of a picture, visiting only the tiles it touches.
void DrawPicturePart(int Surface, int X, int Y, int PictureNumber, int SourceX, int SourceY, int Width, int Height);
void DrawPicturePartClipped(int Surface, int X, int Y, int PictureNumber, int SourceX, int SourceY, int Width,
                            int Height, const ClipRect& Clip);

// The first Length characters of Text in a font and colour, aligned at X.
void DrawText(int Surface, int X, int Y, int FontNumber, int Red, int Green, int Blue, const char* Text, int Length,
              int Alignment);
void DrawText(int Surface, int X, int Y, int FontNumber, int Red, int Green, int Blue, const char* Text,
              int Alignment);
void DrawTextClipped(int Surface, int X, int Y, int FontNumber, int Red, int Green, int Blue, const char* Text,
                     int Length, int Alignment, const ClipRect& Clip);
void DrawTextClipped(int Surface, int X, int Y, int FontNumber, int Red, int Green, int Blue, const char* Text,
                     int Alignment, const ClipRect& Clip);

// An object scaled into a square box of edge Edge at (X, Y), with its count
// in the given font, colour and alignment when it is cumulative and more than
// one (or ForceCount).
void DrawObjectInBox(int Surface, const ObjectInstance& Obj, int X, int Y, int Edge, const ClipRect& Clip,
                     int FontNumber, int Red, int Green, int Blue, int Alignment, bool ForceCount);
// An outfit in its four colour indices (0..132) facing south; with outfit 0
// the object type LookType that stands for the creature.
void DrawOutfitInBox(int Surface, int OutfitType, const int Colours[4], int LookType, int X, int Y, int Edge,
                     const ClipRect& Clip);

// ---- Measuring ----------------------------------------------------------------------

int GetTextWidth(int FontNumber, const char* Text, int Length);
int GetTextWidth(int FontNumber, const char* Text);
// How many leading characters fit in Width pixels.
int GetFittingCharacters(int FontNumber, const char* Text, int Width);
// The largest glyph height among the characters; 0 when there are none but
// blanks and line feeds.
int GetTextHeight(int FontNumber, const char* Text);
int GetFontLineHeight(int FontNumber);
int GetFontHeight(int FontNumber);  // the font's largest glyph height
int GetFontSpacing(int FontNumber);
int GetGlyphWidth(int FontNumber, int Glyph);
int GetGlyphHeight(int FontNumber, int Glyph);
// Where text of a font starts in a box for an alignment.
void GetAlignedPosition(int X, int Y, int Width, int Height, int FontNumber, int Alignment, int* TextX, int* TextY);

// ---- Inspection (tests, benchmarks, diagnostics) ---------------------------------------

int GetMemoryCacheSize();
int GetVideoCacheSize();
// Whether an image is held, without touching the recency order.
bool IsSpriteInMemoryCache(int SpriteNumber);
bool IsTileInMemoryCache(int PictureNumber, int TileX, int TileY);
int CountVideoCacheEntries();
// Images decoded from the files since start-up.
int GetDecodeCount();
// The decoded pixels of a sprite (3072 bytes) and its colour key, through
// the memory cache; valid until the next cache access.
const uint8_t* GetSpriteImage(int SpriteNumber, RGBColour* Key);
const uint8_t* GetTileImage(int PictureNumber, int TileX, int TileY, RGBColour* Key);
