// Drawing surfaces: the fixed set of numbered pixel buffers that everything on
// screen is composed in, the primitives that touch their pixels, and the
// hand-over of a finished frame to the platform at a limited frame rate.
//
// All surfaces are software buffers of 32-bit pixels 0x00RRGGBB; "video" and
// "system" memory are two budgets that decide, as on a graphics card, how many
// optional sprite surfaces can be made. Every fill and copy is counted for the
// frame statistics.
//
// Life cycle, in this order:
//   InitSurface()                       once, after the preferences are loaded
//   CreateSurfaces(WINDOWED_MODE, NULL) once the window exists
//   ... ChangeSurfaceMode() / RestoreSurfaces() / RefreshWindowPosition() ...
//   ExitSurface()                       releases the surfaces, then the module
//
// Each frame: draw into SCREEN_SURFACE (the map view composes in TEMP_SURFACE
// and scales it over), then PresentFrame(), which paces and presents.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#ifndef NULL
#define NULL nullptr
#endif

constexpr int NUMBER_OF_SURFACES = 22;
enum : int {
    PRIMARY_SURFACE = 0,  // what is seen: the window's client area
    SCREEN_SURFACE = 1,   // the frame being composed
    TEMP_SURFACE = 2,     // staging: map view, source side of scaled copies, light target
    STRETCH_SURFACE = 3,  // result side of scaled copies
    CACHE_SURFACE = 4,    // prepared 32 x 32 map cells
    AUTOMAP_SURFACE = 5,  // the small automap
    SPRITE_SURFACE = 6,   // first of the sprite surfaces (video cache slots)
};
constexpr int MIN_SPRITE_SURFACES = 8;
constexpr int MAX_SPRITE_SURFACES = 16;
constexpr int SPRITE_SURFACE_SIZE = 320;
constexpr int TEMP_SURFACE_WIDTH = 640, TEMP_SURFACE_HEIGHT = 480;
constexpr int STRETCH_SURFACE_SIZE = 64;
constexpr int CACHE_SURFACE_WIDTH = 512, CACHE_SURFACE_HEIGHT = 384;
constexpr int AUTOMAP_SURFACE_SIZE = 106;

// View modes; 0 while nothing is created.
constexpr int WINDOWED_MODE = 1;
constexpr int FULLSCREEN_MODE = 2;

// Where a surface was made.
constexpr int VIDEO_MEMORY = 1;
constexpr int SYSTEM_MEMORY = 2;

// Frame-rate limits; anything outside MIN..MAX means unlimited.
constexpr int MIN_FRAMERATE = 10;
constexpr int MAX_FRAMERATE = 200;
constexpr int UNLIMITED_FRAMERATE = 65535;

// A full-screen graphics mode, and an entry of the display-mode list.
struct GraphicsMode {
    int Width = 0, Height = 0, Depth = 0;
    bool operator==(const GraphicsMode&) const = default;
};

// A clip rectangle: x, y, width, height.
struct ClipRect {
    int X = 0, Y = 0, Width = 0, Height = 0;
};

struct RGBColour {
    uint8_t Red = 0, Green = 0, Blue = 0;
    bool operator==(const RGBColour&) const = default;
};

// Four colours for recolouring: the outfit colours of a masked sprite, or the
// text colour (0) and the picture's key (1) for a coloured tile.
struct ColourSet {
    RGBColour Colour[4];
    bool operator==(const ColourSet&) const = default;
};

// A light quad: a rectangle of TEMP_SURFACE and its corner colours in the
// order top left, top right, bottom left, bottom right.
struct LightQuad {
    int X = 0, Y = 0, Width = 0, Height = 0;
    RGBColour Corner[4];
};

// ---- Pixel formats ------------------------------------------------------------

// A surface's pixel layout as channel masks.
struct PixelFormat {
    int BitsPerPixel = 32;
    uint32_t RedMask = 0x00FF0000, GreenMask = 0x0000FF00, BlueMask = 0x000000FF;
};

// The pixel value of a colour in a format: per channel the top bits, moved to
// the mask's place. 0 for formats of fewer than 16 bits.
uint32_t ConvertColour(const PixelFormat& Format, int Red, int Green, int Blue);
// Writes Width x Height pixels of 3 bytes (red, green, blue) converted to the
// format at (X, Y) of a pixel buffer whose rows are Pitch bytes apart; each
// pixel takes the lowest BitsPerPixel / 8 bytes of its value, least
// significant first. Does nothing for formats of fewer than 16 bits.
void WritePixels(uint8_t* Buffer, int Pitch, const PixelFormat& Format, int X, int Y, int Width, int Height,
                 const uint8_t* Pixels);
// Recolours Count pixels of 3 bytes from Pixels into Result. With a mask, a
// mask pixel of yellow, red, green or blue selects colour 0, 1, 2 or 3 of the
// set; without one, every pixel other than Key takes colour 0. A recoloured
// pixel is grey = (30 r + 59 g + 11 b) / 100 times the colour / 256. Key
// pixels of the image stay the key, and a recoloured pixel that would come
// out as the key is moved off it by one step of blue, so recolouring never
// changes what is transparent.
void ComposePixels(uint8_t* Result, const uint8_t* Pixels, const uint8_t* Mask, const ColourSet& Colours,
                   const RGBColour& Key, int Count);

// ---- Life cycle ---------------------------------------------------------------

// Clears the surface table, sets the fixed rectangles, settles an undecided
// NoStretching preference (scaling is always available here, so it becomes
// "no"), starts the frame clock and takes the frame-rate limit from the
// ConfineFramerate preference.
void InitSurface();
// Releases the surfaces (if any) and resets the module.
void ExitSurface();
bool IsSurfaceStarted();

// Creates all surfaces for a view mode; GMode is required for full screen.
// Throws PROGRAM_ERROR 8 for a display of fewer than 16 bits per pixel and
// 12 to 18 when a surface cannot be made, after releasing what was made.
void CreateSurfaces(int Mode, const GraphicsMode* GMode);
// Changes the view mode: window to window only refreshes the client area;
// full screen to the same mode only restores; everything else re-creates.
void ChangeSurfaceMode(int Mode, const GraphicsMode* GMode, bool Force);
// Re-creates the surfaces when their contents were lost (never happens with
// software surfaces, kept for the callers' sake).
void RestoreSurfaces();
// Releases all surfaces (leaving full screen first); mode 0.
void ReleaseSurfaces();
// Takes the window's client size from the platform (after it moved or was
// resized). The presented frame is the client-sized top left part of
// SCREEN_SURFACE.
void RefreshWindowPosition();
// Sets the client area directly, for a window whose frames the platform
// scales up: the frame presented is Width x Height.
void SetClientSize(int Width, int Height);

int GetViewMode();
// The display modes of at least 640 x 480 and 16 bits per pixel, in the
// platform's order.
std::vector<GraphicsMode> GetDisplayModes();

// ---- Queries ------------------------------------------------------------------

void GetSurfaceRect(int Surface, int* X, int* Y, int* Width, int* Height);
int GetNumberOfSpriteSurfaces();
// Where a surface was made: VIDEO_MEMORY, SYSTEM_MEMORY, or 0 when it was not.
int GetSurfaceMemory(int Surface);
bool IsLightPathAvailable();
// 0 when the light path passed its self-test, else the step that failed.
int GetLightFailureStep();
bool GetSurfacesLost();
// Set by every creation, cleared by ChangeSurfaceMode before it re-creates.
bool GetSurfacesRebuilt();
// Grows by one with every creation, so that each user of surface contents
// (video cache, prepared map cells, automap) can tell on its own that they
// are gone.
int GetSurfaceGeneration();
// Whether scaled copies are done by the back end (always, here).
bool CanScale();

// Pixel access for tests, screenshots and the self-test of the light path.
uint32_t ReadPixel(int Surface, int X, int Y);
const uint32_t* GetSurfacePixels(int Surface, int* Pitch);
PixelFormat GetSurfaceFormat();

// ---- Frame rate and statistics ------------------------------------------------

// 10..200 are taken; any other value means unlimited, which is as many
// frames as the display shows (its refresh rate, where the platform knows it).
void SetFramerateLimit(int FramesPerSecond);
int GetFramerateLimit();

struct FrameStatistics {
    int Blits = 0, Pixels = 0;                  // since the last presented frame
    int PreviousBlits = 0, PreviousPixels = 0;  // of the last presented frame
    int BitsPerPixel = 0;                       // of the screen
    double FramesPerSecond = 0;
};
const FrameStatistics& GetFrameStatistics();
double GetFramesPerSecond();

// Paces the frame (sleeping until it is due), moves the statistics to the
// previous-frame values and hands the client-sized part of SCREEN_SURFACE
// to the platform. Only frames that are drawn come here, so the frames per
// second are those actually shown.
void PresentFrame();

// The pause used for pacing; platform::Sleep unless a test or a benchmark
// replaces it (an empty function restores it).
void SetFrameSleep(std::function<void(int)> Sleep);

// ---- Pixel operations ---------------------------------------------------------
// Colours are red, green, blue 0..255. Nothing is drawn to a surface that does
// not exist; all operations stay inside the surfaces' bounds.

void UploadImage(int Surface, int X, int Y, int Width, int Height, const uint8_t* Pixels);
void UploadComposedImage(int Surface, int X, int Y, int Width, int Height, const uint8_t* Pixels,
                         const uint8_t* Mask, const ColourSet& Colours, const RGBColour& Key);
void PutPixel(int Surface, int X, int Y, int Red, int Green, int Blue);

void FillRect(int Surface, int X, int Y, int Width, int Height, int Red, int Green, int Blue);
void FillRectClipped(int Surface, int X, int Y, int Width, int Height, int Red, int Green, int Blue,
                     const ClipRect& Clip);
void DrawHorizontalLine(int Surface, int X, int Y, int Length, int Red, int Green, int Blue);
void DrawVerticalLine(int Surface, int X, int Y, int Length, int Red, int Green, int Blue);
void DrawFrame(int Surface, int X, int Y, int Width, int Height, int Thickness, int Red, int Green, int Blue);
void DrawFrameClipped(int Surface, int X, int Y, int Width, int Height, int Thickness, int Red, int Green,
                      int Blue, const ClipRect& Clip);

void CopySurface(int ToSurface, int X, int Y, int FromSurface, int FromX, int FromY, int Width, int Height);
void CopySurfaceClipped(int ToSurface, int X, int Y, int FromSurface, int FromX, int FromY, int Width, int Height,
                        const ClipRect& Clip);
void CopySurfaceKeyed(int ToSurface, int X, int Y, int FromSurface, int FromX, int FromY, int Width, int Height,
                      int KeyRed, int KeyGreen, int KeyBlue);
void CopySurfaceKeyedClipped(int ToSurface, int X, int Y, int FromSurface, int FromX, int FromY, int Width,
                             int Height, int KeyRed, int KeyGreen, int KeyBlue, const ClipRect& Clip);
// Scales a source rectangle (at most 639 x 479) to Width x Height (at most
// 64 x 64) through TEMP_SURFACE and STRETCH_SURFACE, keyed with the source
// key before and with AfterKey after the scaling, clipped.
void CopySurfaceScaledKeyed(int ToSurface, int X, int Y, int Width, int Height, int FromSurface, int FromX,
                            int FromY, int FromWidth, int FromHeight, const RGBColour& Key,
                            const RGBColour& AfterKey, const ClipRect& Clip);
// Nearest-neighbour scaled copy of a rectangle onto a rectangle.
void CopySurfaceScaled(int ToSurface, int X, int Y, int Width, int Height, int FromSurface, int FromX, int FromY,
                       int FromWidth, int FromHeight);

// Multiplies TEMP_SURFACE's colours by the corner colours interpolated across
// the quad. Nothing happens for another surface or without the light path.
void DrawLightQuad(int Surface, const LightQuad& Quad);
void DrawLightQuads(int Surface, int Count, const LightQuad* Quads);

// ---- Test controls ------------------------------------------------------------

// The memory a graphics card would offer: surfaces go to video memory while
// its budget lasts, then to system memory (optional sprite surfaces are made
// in video memory only). Defaults are large enough for everything.
void SetSurfaceMemoryBudgets(size_t VideoBytes, size_t SystemBytes);
// The desktop's colour depth as the windowed mode sees it (32 by default).
void SetDesktopDepth(int BitsPerPixel);
