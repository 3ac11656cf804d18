// Drawing surfaces. Sections:
//   1. pixel formats and recolouring (pure functions)
//   2. module state
//   3. life cycle: start, create, change mode, release
//   4. queries
//   5. frame pacing, statistics and presenting
//   6. clipping helpers and row kernels
//   7. pixel operations: uploads, fills, lines, frames, copies, scaling, light
#include "graphics/Surface.h"

#include "config/Preferences.h"
#include "core/Assert.h"
#include "core/ProgramError.h"
#include "core/Redraw.h"
#include "platform/Platform.h"

#include <algorithm>
#include <cstring>
#include <new>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define VORNA_AVX2_KEYED 1
#endif

// ==== 1. Pixel formats and recolouring =========================================

namespace {

void MaskShape(uint32_t Mask, int& Shift, int& Width) {
    Shift = 0;
    Width = 0;
    if (Mask == 0) return;
    while (((Mask >> Shift) & 1) == 0) ++Shift;
    while (Shift + Width < 32 && ((Mask >> (Shift + Width)) & 1) != 0) ++Width;
}

uint32_t ConvertChannel(int Value, uint32_t Mask) {
    int Shift, Width;
    MaskShape(Mask, Shift, Width);
    if (Width == 0) return 0;
    uint32_t Channel = static_cast<uint32_t>(Value) & 0xFF;
    uint32_t Bits = Width <= 8 ? Channel >> (8 - Width) : Channel << (Width - 8);
    return (Bits << Shift) & Mask;
}

}  // namespace

uint32_t ConvertColour(const PixelFormat& Format, int Red, int Green, int Blue) {
    if (Format.BitsPerPixel < 16) return 0;
    return ConvertChannel(Red, Format.RedMask) | ConvertChannel(Green, Format.GreenMask) |
           ConvertChannel(Blue, Format.BlueMask);
}

void WritePixels(uint8_t* Buffer, int Pitch, const PixelFormat& Format, int X, int Y, int Width, int Height,
                 const uint8_t* Pixels) {
    if (Format.BitsPerPixel < 16 || Buffer == NULL || Pixels == NULL) return;
    int Bytes = Format.BitsPerPixel / 8;
    bool Native = Format.BitsPerPixel == 32 && Format.RedMask == 0x00FF0000 && Format.GreenMask == 0x0000FF00 &&
                  Format.BlueMask == 0x000000FF;
    for (int Row = 0; Row < Height; ++Row) {
        uint8_t* Out = Buffer + static_cast<ptrdiff_t>(Y + Row) * Pitch + static_cast<ptrdiff_t>(X) * Bytes;
        const uint8_t* In = Pixels + static_cast<ptrdiff_t>(Row) * Width * 3;
        if (Native) {
            for (int Column = 0; Column < Width; ++Column, In += 3, Out += 4) {
                uint32_t Value = (uint32_t(In[0]) << 16) | (uint32_t(In[1]) << 8) | In[2];
                std::memcpy(Out, &Value, 4);
            }
            continue;
        }
        for (int Column = 0; Column < Width; ++Column, In += 3) {
            uint32_t Value = ConvertColour(Format, In[0], In[1], In[2]);
            for (int Byte = 0; Byte < Bytes; ++Byte) *Out++ = static_cast<uint8_t>(Value >> (8 * Byte));
        }
    }
}

void ComposePixels(uint8_t* Result, const uint8_t* Pixels, const uint8_t* Mask, const ColourSet& Colours,
                   const RGBColour& Key, int Count) {
    for (int i = 0; i < Count; ++i, Pixels += 3, Result += 3) {
        int R = Pixels[0], G = Pixels[1], B = Pixels[2];
        bool IsKey = R == Key.Red && G == Key.Green && B == Key.Blue;
        int Selected = -1;
        if (!IsKey) {
            if (Mask == NULL) {
                Selected = 0;
            } else {
                const uint8_t* M = Mask + 3 * i;
                if (M[0] == 255 && M[1] == 255 && M[2] == 0) Selected = 0;
                else if (M[0] == 255 && M[1] == 0 && M[2] == 0) Selected = 1;
                else if (M[0] == 0 && M[1] == 255 && M[2] == 0) Selected = 2;
                else if (M[0] == 0 && M[1] == 0 && M[2] == 255) Selected = 3;
            }
        }
        if (Selected >= 0) {
            const RGBColour& C = Colours.Colour[Selected];
            int Grey = (30 * R + 59 * G + 11 * B) / 100;
            R = Grey * C.Red / 256;
            G = Grey * C.Green / 256;
            B = Grey * C.Blue / 256;
            // A drawn pixel must not turn transparent by chance.
            if (R == Key.Red && G == Key.Green && B == Key.Blue) B = B < 255 ? B + 1 : B - 1;
        }
        Result[0] = static_cast<uint8_t>(R);
        Result[1] = static_cast<uint8_t>(G);
        Result[2] = static_cast<uint8_t>(B);
    }
}

// ==== 2. Module state ===========================================================

namespace {

struct SurfaceRectangle {
    int left = 0, top = 0, right = 0, bottom = 0;
};

struct SurfaceBuffer {
    std::vector<uint32_t> Pixels;  // empty when the surface does not exist (or has no pixels: primary)
    int Width = 0, Height = 0;
    int Memory = 0;  // VIDEO_MEMORY, SYSTEM_MEMORY, 0 none
    size_t Bytes = 0;
};

const PixelFormat SurfaceFormat{32, 0x00FF0000, 0x0000FF00, 0x000000FF};

// Kept from start to shutdown.
bool Started = false;
SurfaceRectangle Rect[NUMBER_OF_SURFACES];
int FramerateLimit = UNLIMITED_FRAMERATE;
int64_t TimePerFrame = 0;  // microseconds
std::function<void(int)> FrameSleep;
size_t VideoBudget = SIZE_MAX, SystemBudget = SIZE_MAX;
int DesktopDepth = 32;

// Rebuilt by every creation.
SurfaceBuffer Surfaces[NUMBER_OF_SURFACES];
int ViewMode = 0;
GraphicsMode CurrentGMode;
int ScreenDepth = 0;
int NumberOfSpriteSurfaces = 0;
bool LightAvailable = false;
int LightFailureStep = 0;
bool SurfacesLost = false;
bool SurfacesRebuilt = false;
int Generation = 0;
size_t VideoUsed = 0, SystemUsed = 0;

// Frame clock and statistics.
int64_t NextFrameDue = 0;  // microseconds on the platform clock
uint32_t LastMeasurement = 0;
int FramesCounted = 0;
FrameStatistics Statistics;

// Scratch reused by the drawing paths, so that drawing never allocates once
// the largest size has been seen.
std::vector<int> ScaleColumns;
std::vector<uint8_t> ComposeBuffer;

void DefaultSleep(int Milliseconds) { platform::Sleep(Milliseconds); }

}  // namespace

// ==== 3. Life cycle =============================================================

namespace {

void SetRect(int Surface, int Width, int Height) { Rect[Surface] = {0, 0, Width, Height}; }

// Makes a surface's buffer in video memory while that budget lasts, else in
// system memory when allowed. Returns false when it cannot be made.
bool AllocateSurface(int Surface, int Width, int Height, bool SystemAllowed) {
    SurfaceBuffer& S = Surfaces[Surface];
    size_t Bytes = static_cast<size_t>(Width) * Height * 4;
    int Memory = 0;
    if (VideoUsed + Bytes <= VideoBudget && VideoUsed + Bytes >= VideoUsed) Memory = VIDEO_MEMORY;
    else if (SystemAllowed && SystemUsed + Bytes <= SystemBudget) Memory = SYSTEM_MEMORY;
    if (Memory == 0) return false;
    try {
        S.Pixels.assign(static_cast<size_t>(Width) * Height, 0);
    } catch (const std::bad_alloc&) {
        S.Pixels.clear();
        return false;
    }
    S.Width = Width;
    S.Height = Height;
    S.Memory = Memory;
    S.Bytes = Bytes;
    (Memory == VIDEO_MEMORY ? VideoUsed : SystemUsed) += Bytes;
    return true;
}

void RequireSurface(int Surface, int Width, int Height, int ErrorCode) {
    if (!AllocateSurface(Surface, Width, Height, true)) throw PROGRAM_ERROR(ErrorCode);
}

void MultiplyQuad(const LightQuad& Quad);

// The light path's self-test: a black quad over a white square must leave
// black behind.
void SetUpLightPath() {
    SurfaceBuffer& Temp = Surfaces[TEMP_SURFACE];
    for (int y = 0; y < 32; ++y) std::fill_n(&Temp.Pixels[static_cast<size_t>(y) * Temp.Width], 32, 0x00FFFFFFu);
    LightQuad Black;
    Black.Width = Black.Height = 32;
    MultiplyQuad(Black);
    uint32_t Probe = Temp.Pixels[16 * static_cast<size_t>(Temp.Width) + 16];
    LightAvailable = Probe == 0;
    LightFailureStep = LightAvailable ? 0 : 9;
}

}  // namespace

void InitSurface() {
    ASSERT(!Started);
    for (int i = 0; i < NUMBER_OF_SURFACES; ++i) {
        Surfaces[i] = SurfaceBuffer();
        Rect[i] = SurfaceRectangle();
    }
    SetRect(TEMP_SURFACE, TEMP_SURFACE_WIDTH, TEMP_SURFACE_HEIGHT);
    SetRect(STRETCH_SURFACE, STRETCH_SURFACE_SIZE, STRETCH_SURFACE_SIZE);
    SetRect(CACHE_SURFACE, CACHE_SURFACE_WIDTH, CACHE_SURFACE_HEIGHT);
    SetRect(AUTOMAP_SURFACE, AUTOMAP_SURFACE_SIZE, AUTOMAP_SURFACE_SIZE);
    for (int i = 0; i < MAX_SPRITE_SURFACES; ++i) SetRect(SPRITE_SURFACE + i, SPRITE_SURFACE_SIZE, SPRITE_SURFACE_SIZE);
    Started = true;
    ViewMode = 0;
    NumberOfSpriteSurfaces = 0;
    LightAvailable = false;
    LightFailureStep = 0;
    SurfacesLost = SurfacesRebuilt = false;
    VideoUsed = SystemUsed = 0;
    if (GetNoStretching() == NOSTRETCHING_UNDECIDED) SetNoStretching(CanScale() ? 0 : 1);
    uint32_t Now = platform::Milliseconds();
    NextFrameDue = static_cast<int64_t>(Now) * 1000;
    LastMeasurement = Now;
    FramesCounted = 0;
    Statistics = FrameStatistics();
    SetFramerateLimit(GetConfineFramerate());
}

void ExitSurface() {
    if (!Started) return;
    ReleaseSurfaces();
    Started = false;
    ScaleColumns = std::vector<int>();
    ComposeBuffer = std::vector<uint8_t>();
}

bool IsSurfaceStarted() { return Started; }

void CreateSurfaces(int VMode, const GraphicsMode* GMode) {
    ASSERT(Started);
    RequestRedraw();  // new or resized surfaces hold no picture yet
    ASSERT(VMode == WINDOWED_MODE || VMode == FULLSCREEN_MODE);
    ASSERT(VMode==WINDOWED_MODE || GMode!=NULL);
    if (!Started || (VMode != WINDOWED_MODE && GMode == NULL)) return;
    for (int i = 0; i < NUMBER_OF_SURFACES; ++i) ASSERT(Surfaces[i].Memory == 0);
    if (ViewMode != 0) ReleaseSurfaces();

    ViewMode = VMode;
    try {
        int Depth, ScreenWidth, ScreenHeight;
        if (VMode == WINDOWED_MODE) {
            Depth = DesktopDepth;
            int ClientWidth = 0, ClientHeight = 0;
            platform::GetClientSize(ClientWidth, ClientHeight);
            platform::GetScreenSize(ScreenWidth, ScreenHeight);
            // The back buffer must hold the client area, even of a window that
            // spans more than one screen.
            ScreenWidth = std::max({ScreenWidth, ClientWidth, 1});
            ScreenHeight = std::max({ScreenHeight, ClientHeight, 1});
            SetRect(PRIMARY_SURFACE, std::max(ClientWidth, 0), std::max(ClientHeight, 0));
        } else {
            if (GMode->Width <= 0 || GMode->Height <= 0) throw PROGRAM_ERROR(11);
            CurrentGMode = *GMode;
            platform::SetFullscreen(true, GMode->Width, GMode->Height);
            Depth = GMode->Depth;
            ScreenWidth = GMode->Width;
            ScreenHeight = GMode->Height;
            SetRect(PRIMARY_SURFACE, ScreenWidth, ScreenHeight);
        }
        if (Depth <= 15) throw PROGRAM_ERROR(8);
        ScreenDepth = Depth;
        SetRect(SCREEN_SURFACE, ScreenWidth, ScreenHeight);

        // The primary surface is the platform's window: it has no pixels here.
        Surfaces[PRIMARY_SURFACE].Memory = VIDEO_MEMORY;
        RequireSurface(SCREEN_SURFACE, ScreenWidth, ScreenHeight, 13);
        RequireSurface(TEMP_SURFACE, TEMP_SURFACE_WIDTH, TEMP_SURFACE_HEIGHT, 14);
        SetUpLightPath();
        RequireSurface(STRETCH_SURFACE, STRETCH_SURFACE_SIZE, STRETCH_SURFACE_SIZE, 15);
        RequireSurface(CACHE_SURFACE, CACHE_SURFACE_WIDTH, CACHE_SURFACE_HEIGHT, 16);
        RequireSurface(AUTOMAP_SURFACE, AUTOMAP_SURFACE_SIZE, AUTOMAP_SURFACE_SIZE, 17);
        NumberOfSpriteSurfaces = 0;
        for (int i = 0; i < MIN_SPRITE_SURFACES; ++i) {
            RequireSurface(SPRITE_SURFACE + i, SPRITE_SURFACE_SIZE, SPRITE_SURFACE_SIZE, 18);
            ++NumberOfSpriteSurfaces;
        }
        for (int i = MIN_SPRITE_SURFACES; i < MAX_SPRITE_SURFACES; ++i) {
            if (!AllocateSurface(SPRITE_SURFACE + i, SPRITE_SURFACE_SIZE, SPRITE_SURFACE_SIZE, false)) break;
            ++NumberOfSpriteSurfaces;
        }
    } catch (PROGRAM_ERROR) {
        ReleaseSurfaces();
        throw;
    }
    SurfacesRebuilt = true;
    SurfacesLost = false;
    ++Generation;
}

void ChangeSurfaceMode(int VMode, const GraphicsMode* GMode, bool Force) {
    ASSERT(Started);
    RequestRedraw();
    SurfacesRebuilt = false;
    if (!Force && VMode == WINDOWED_MODE && ViewMode == WINDOWED_MODE) {
        RefreshWindowPosition();
        RestoreSurfaces();
        return;
    }
    if (!Force && VMode == FULLSCREEN_MODE && ViewMode == FULLSCREEN_MODE && GMode != NULL &&
        *GMode == CurrentGMode) {
        RestoreSurfaces();
        return;
    }
    ReleaseSurfaces();
    CreateSurfaces(VMode, GMode);
}

void RestoreSurfaces() {
    if (ViewMode == 0) return;
    // Software surfaces cannot be taken away by another program; a surface
    // that is missing all the same is made again with all the others.
    SurfacesLost = false;
    bool Missing = Surfaces[SCREEN_SURFACE].Pixels.empty();
    for (int i = TEMP_SURFACE; i < SPRITE_SURFACE + MIN_SPRITE_SURFACES; ++i) Missing |= Surfaces[i].Pixels.empty();
    if (!Missing) return;
    int Mode = ViewMode;
    GraphicsMode Saved = CurrentGMode;
    ReleaseSurfaces();
    CreateSurfaces(Mode, &Saved);
}

void ReleaseSurfaces() {
    if (ViewMode == FULLSCREEN_MODE) platform::SetFullscreen(false, 0, 0);
    for (int i = 0; i < NUMBER_OF_SURFACES; ++i) {
        Surfaces[i].Pixels = std::vector<uint32_t>();
        Surfaces[i].Width = Surfaces[i].Height = 0;
        Surfaces[i].Memory = 0;
        Surfaces[i].Bytes = 0;
    }
    VideoUsed = SystemUsed = 0;
    NumberOfSpriteSurfaces = 0;
    LightAvailable = false;
    ViewMode = 0;
}

void RefreshWindowPosition() {
    if (ViewMode != WINDOWED_MODE) return;
    RequestRedraw();
    int Width = 0, Height = 0;
    platform::GetClientSize(Width, Height);
    SetClientSize(Width, Height);
}

void SetClientSize(int Width, int Height) {
    if (ViewMode != WINDOWED_MODE) return;
    RequestRedraw();
    Width = std::max(Width, 0);
    Height = std::max(Height, 0);
    SurfaceBuffer& Screen = Surfaces[SCREEN_SURFACE];
    if (Width > Screen.Width || Height > Screen.Height) {
        // A window larger than the screen (spanning several): the back buffer
        // grows to hold it; its contents are redrawn every frame anyway.
        int NewWidth = std::max(Width, Screen.Width), NewHeight = std::max(Height, Screen.Height);
        size_t OldBytes = Screen.Bytes;
        int OldMemory = Screen.Memory;
        (OldMemory == VIDEO_MEMORY ? VideoUsed : SystemUsed) -= OldBytes;
        Screen.Memory = 0;
        if (!AllocateSurface(SCREEN_SURFACE, NewWidth, NewHeight, true)) {
            // Keep the old buffer; the client area is cut to what it holds.
            Screen.Memory = OldMemory;
            (OldMemory == VIDEO_MEMORY ? VideoUsed : SystemUsed) += OldBytes;
            Width = std::min(Width, Screen.Width);
            Height = std::min(Height, Screen.Height);
        } else {
            SetRect(SCREEN_SURFACE, NewWidth, NewHeight);
        }
    }
    SetRect(PRIMARY_SURFACE, Width, Height);
}

int GetViewMode() { return ViewMode; }

std::vector<GraphicsMode> GetDisplayModes() {
    std::vector<GraphicsMode> Modes;
    for (const platform::DisplayMode& Mode : platform::ListDisplayModes())
        if (Mode.Width >= 640 && Mode.Height >= 480 && Mode.Depth >= 16)
            Modes.push_back({Mode.Width, Mode.Height, Mode.Depth});
    return Modes;
}

// ==== 4. Queries ================================================================

void GetSurfaceRect(int Surface, int* X, int* Y, int* Width, int* Height) {
    ASSERT(In(Surface,0,NUMBER_OF_SURFACES-1));
    if (!In(Surface, 0, NUMBER_OF_SURFACES - 1)) Surface = 0;
    if (X) *X = Rect[Surface].left;
    if (Y) *Y = Rect[Surface].top;
    if (Width) *Width = Rect[Surface].right - Rect[Surface].left;
    if (Height) *Height = Rect[Surface].bottom - Rect[Surface].top;
}

int GetNumberOfSpriteSurfaces() { return NumberOfSpriteSurfaces; }

int GetSurfaceMemory(int Surface) {
    ASSERT(In(Surface,0,NUMBER_OF_SURFACES-1));
    if (!In(Surface, 0, NUMBER_OF_SURFACES - 1)) return 0;
    return Surfaces[Surface].Memory;
}

bool IsLightPathAvailable() { return LightAvailable; }
int GetLightFailureStep() { return LightFailureStep; }
bool GetSurfacesLost() { return SurfacesLost; }
bool GetSurfacesRebuilt() { return SurfacesRebuilt; }
int GetSurfaceGeneration() { return Generation; }
bool CanScale() { return true; }
PixelFormat GetSurfaceFormat() { return SurfaceFormat; }

uint32_t ReadPixel(int Surface, int X, int Y) {
    ASSERT(In(Surface,0,NUMBER_OF_SURFACES-1));
    if (!In(Surface, 0, NUMBER_OF_SURFACES - 1)) return 0;
    const SurfaceBuffer& S = Surfaces[Surface];
    if (S.Pixels.empty() || X < 0 || Y < 0 || X >= S.Width || Y >= S.Height) return 0;
    return S.Pixels[static_cast<size_t>(Y) * S.Width + X];
}

const uint32_t* GetSurfacePixels(int Surface, int* Pitch) {
    ASSERT(In(Surface,0,NUMBER_OF_SURFACES-1));
    if (!In(Surface, 0, NUMBER_OF_SURFACES - 1) || Surfaces[Surface].Pixels.empty()) return NULL;
    if (Pitch) *Pitch = Surfaces[Surface].Width;
    return Surfaces[Surface].Pixels.data();
}

void SetSurfaceMemoryBudgets(size_t VideoBytes, size_t SystemBytes) {
    VideoBudget = VideoBytes;
    SystemBudget = SystemBytes;
}

void SetDesktopDepth(int BitsPerPixel) { DesktopDepth = BitsPerPixel; }

// ==== 5. Frame pacing, statistics and presenting ================================

void SetFramerateLimit(int FramesPerSecond) {
    FramerateLimit = In(FramesPerSecond, MIN_FRAMERATE, MAX_FRAMERATE) ? FramesPerSecond : UNLIMITED_FRAMERATE;
    TimePerFrame = FramerateLimit == UNLIMITED_FRAMERATE ? 0 : 1000000 / FramerateLimit;
}

int GetFramerateLimit() { return FramerateLimit; }
const FrameStatistics& GetFrameStatistics() { return Statistics; }
double GetFramesPerSecond() { return Statistics.FramesPerSecond; }

void SetFrameSleep(std::function<void(int)> Sleep) { FrameSleep = std::move(Sleep); }

void PresentFrame() {
    uint32_t Now = platform::Milliseconds();
    ++FramesCounted;
    uint32_t Elapsed = Now - LastMeasurement;
    if (Elapsed > 1000) {
        Statistics.FramesPerSecond = (FramesCounted + 1) * 1000.0 / Elapsed;
        FramesCounted = 0;
        LastMeasurement = Now;
    }
    // Due times are kept in microseconds so that a limit like 60 is met on
    // average although the clock counts milliseconds.
    int64_t NowMicro = static_cast<int64_t>(Now) * 1000;
    // Unlimited means as many frames as the display shows, not more: they
    // follow its refresh rate (none is known without a display).
    int64_t Interval = TimePerFrame;
    if (FramerateLimit == UNLIMITED_FRAMERATE) {
        const int Refresh = platform::GetRefreshRate();
        Interval = Refresh > 0 ? 1000000 / Refresh : 0;
    }
    NextFrameDue += Interval;
    if (NextFrameDue > NowMicro) {
        int Wait = static_cast<int>((NextFrameDue - NowMicro + 999) / 1000);
        if (FrameSleep) FrameSleep(Wait);
        else DefaultSleep(Wait);
    } else if (NextFrameDue < NowMicro - 1000) {
        NextFrameDue = NowMicro - 1000;  // no catching up after a slow frame
    }

    Statistics.PreviousBlits = Statistics.Blits;
    Statistics.PreviousPixels = Statistics.Pixels;
    Statistics.Blits = Statistics.Pixels = 0;
    Statistics.BitsPerPixel = ScreenDepth;

    ASSERT(ViewMode==WINDOWED_MODE || ViewMode==FULLSCREEN_MODE);
    const SurfaceBuffer& Screen = Surfaces[SCREEN_SURFACE];
    if (ViewMode == 0 || Screen.Pixels.empty()) return;
    int Width = std::min(Rect[PRIMARY_SURFACE].right, Screen.Width);
    int Height = std::min(Rect[PRIMARY_SURFACE].bottom, Screen.Height);
    if (Width <= 0 || Height <= 0) return;
    platform::Present(Screen.Pixels.data(), Width, Height, Screen.Width);
}

// ==== 6. Clipping helpers and row kernels ========================================

namespace {

struct CopyArea {
    int X, Y, FromX, FromY, Width, Height;
};

// The surface to draw on, or NULL when it has no pixels.
SurfaceBuffer* Target(int Surface) {
    ASSERT(In(Surface,0,NUMBER_OF_SURFACES-1));
    if (!In(Surface, 0, NUMBER_OF_SURFACES - 1)) return NULL;
    SurfaceBuffer* S = &Surfaces[Surface];
    return S->Pixels.empty() ? NULL : S;
}

// Moves the destination sides that stick out of the rectangle in to its edges,
// the source sides with them. False when the destination lies wholly outside.
bool ClipDestination(CopyArea& A, int CX, int CY, int CW, int CH) {
    if (A.Width <= 0 || A.Height <= 0) return false;
    if (A.X >= CX + CW || A.Y >= CY + CH || A.X + A.Width <= CX || A.Y + A.Height <= CY) return false;
    if (A.X < CX) {
        A.FromX += CX - A.X;
        A.Width -= CX - A.X;
        A.X = CX;
    }
    if (A.Y < CY) {
        A.FromY += CY - A.Y;
        A.Height -= CY - A.Y;
        A.Y = CY;
    }
    if (A.X + A.Width > CX + CW) A.Width = CX + CW - A.X;
    if (A.Y + A.Height > CY + CH) A.Height = CY + CH - A.Y;
    return A.Width > 0 && A.Height > 0;
}

// The same for the source side, against the source surface's bounds.
bool ClipSource(CopyArea& A, int SW, int SH) {
    std::swap(A.X, A.FromX);
    std::swap(A.Y, A.FromY);
    bool Visible = ClipDestination(A, 0, 0, SW, SH);
    std::swap(A.X, A.FromX);
    std::swap(A.Y, A.FromY);
    return Visible;
}

void Count(int Width, int Height) {
    ++Statistics.Blits;
    Statistics.Pixels += Width * Height;
}

// The surfaces' own format is 0x00RRGGBB, which ConvertColour gives as well;
// packed directly because every fill and keyed copy asks for it.
inline uint32_t Colour(int Red, int Green, int Blue) {
    return ((static_cast<uint32_t>(Red) & 0xFF) << 16) | ((static_cast<uint32_t>(Green) & 0xFF) << 8) |
           (static_cast<uint32_t>(Blue) & 0xFF);
}

// Branch-free on purpose: sprites mix key and colour pixels too evenly for a
// branch to be predicted. Four pixels at a time where SSE2 is there (every
// x86-64), a compare turned into a mask elsewhere.
inline void CopyRowKeyed(uint32_t* __restrict Out, const uint32_t* __restrict In, int Count, uint32_t Key) {
    int i = 0;
#if defined(__SSE2__)
    const __m128i K = _mm_set1_epi32(static_cast<int>(Key));
    for (; i + 4 <= Count; i += 4) {
        __m128i S = _mm_loadu_si128(reinterpret_cast<const __m128i*>(In + i));
        __m128i D = _mm_loadu_si128(reinterpret_cast<const __m128i*>(Out + i));
        __m128i Keep = _mm_cmpeq_epi32(S, K);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(Out + i),
                         _mm_or_si128(_mm_and_si128(Keep, D), _mm_andnot_si128(Keep, S)));
    }
#endif
    for (; i < Count; ++i) {
        uint32_t Value = In[i];
        uint32_t Keep = 0u - static_cast<uint32_t>(Value == Key);
        Out[i] = (Out[i] & Keep) | (Value & ~Keep);
    }
}

#if defined(VORNA_AVX2_KEYED)
// Eight pixels at a time on processors that have AVX2, chosen at run time so
// that the program still runs on any x86-64.
__attribute__((target("avx2"))) void CopyRowsKeyedAvx2(uint32_t* Out, int OutPitch, const uint32_t* In, int InPitch,
                                                        int Width, int Height, uint32_t Key) {
    const __m256i K = _mm256_set1_epi32(static_cast<int>(Key));
    for (int y = 0; y < Height; ++y, Out += OutPitch, In += InPitch) {
        int i = 0;
        for (; i + 8 <= Width; i += 8) {
            __m256i S = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(In + i));
            __m256i D = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(Out + i));
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(Out + i), _mm256_blendv_epi8(S, D, _mm256_cmpeq_epi32(S, K)));
        }
        if (i < Width) CopyRowKeyed(Out + i, In + i, Width - i, Key);
    }
}
const bool HasAvx2 = __builtin_cpu_supports("avx2");
#endif

inline void CopyRowsKeyed(uint32_t* Out, int OutPitch, const uint32_t* In, int InPitch, int Width, int Height,
                          uint32_t Key) {
#if defined(VORNA_AVX2_KEYED)
    if (HasAvx2 && Width >= 8) {
        CopyRowsKeyedAvx2(Out, OutPitch, In, InPitch, Width, Height, Key);
        return;
    }
#endif
    for (int y = 0; y < Height; ++y, Out += OutPitch, In += InPitch) CopyRowKeyed(Out, In, Width, Key);
}

// Multiplies Count pixels by a light that starts at Light (per channel, 8.8
// fixed point, 0..255) and changes by Step per pixel: channel * (l + 1) / 256.
inline void MultiplyRow(uint32_t* Row, int Count, const int32_t Light[3], const int32_t Step[3]) {
    int i = 0;
#if defined(__SSE2__)
    // Two pixels per register as eight 16-bit lanes: blue, green, red, unused.
    __m128i L = _mm_setr_epi16(static_cast<short>(Light[2]), static_cast<short>(Light[1]),
                               static_cast<short>(Light[0]), 0, static_cast<short>(Light[2] + Step[2]),
                               static_cast<short>(Light[1] + Step[1]), static_cast<short>(Light[0] + Step[0]), 0);
    const __m128i S2 = _mm_setr_epi16(static_cast<short>(2 * Step[2]), static_cast<short>(2 * Step[1]),
                                      static_cast<short>(2 * Step[0]), 0, static_cast<short>(2 * Step[2]),
                                      static_cast<short>(2 * Step[1]), static_cast<short>(2 * Step[0]), 0);
    const __m128i Zero = _mm_setzero_si128(), One = _mm_set1_epi16(1);
    for (; i + 2 <= Count; i += 2) {
        __m128i P = _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(Row + i)), Zero);
        __m128i M = _mm_add_epi16(_mm_srli_epi16(L, 8), One);
        __m128i R = _mm_srli_epi16(_mm_mullo_epi16(P, M), 8);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(Row + i), _mm_packus_epi16(R, Zero));
        L = _mm_add_epi16(L, S2);
    }
#endif
    for (; i < Count; ++i) {
        uint32_t P = Row[i];
        uint32_t R = static_cast<uint32_t>((Light[0] + Step[0] * i) >> 8) + 1;
        uint32_t G = static_cast<uint32_t>((Light[1] + Step[1] * i) >> 8) + 1;
        uint32_t B = static_cast<uint32_t>((Light[2] + Step[2] * i) >> 8) + 1;
        Row[i] = ((((P >> 16) & 0xFF) * R >> 8) << 16) | ((((P >> 8) & 0xFF) * G >> 8) << 8) | ((P & 0xFF) * B >> 8);
    }
}

// Writes every source pixel Factor times.
inline void EnlargeRow(uint32_t* __restrict Out, const uint32_t* __restrict In, int Count, int Factor) {
    int i = 0;
#if defined(__SSE2__)
    if (Factor == 3) {
        for (; i + 4 <= Count; i += 4, Out += 12) {
            __m128i V = _mm_loadu_si128(reinterpret_cast<const __m128i*>(In + i));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(Out), _mm_shuffle_epi32(V, _MM_SHUFFLE(1, 0, 0, 0)));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(Out + 4), _mm_shuffle_epi32(V, _MM_SHUFFLE(2, 2, 1, 1)));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(Out + 8), _mm_shuffle_epi32(V, _MM_SHUFFLE(3, 3, 3, 2)));
        }
    } else if (Factor == 2) {
        for (; i + 4 <= Count; i += 4, Out += 8) {
            __m128i V = _mm_loadu_si128(reinterpret_cast<const __m128i*>(In + i));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(Out), _mm_unpacklo_epi32(V, V));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(Out + 4), _mm_unpackhi_epi32(V, V));
        }
    }
#endif
    for (; i < Count; ++i)
        for (int k = 0; k < Factor; ++k) *Out++ = In[i];
}

void FillArea(int Surface, int X, int Y, int Width, int Height, uint32_t Value, const ClipRect* Clip) {
    SurfaceBuffer* S = Target(Surface);
    if (S == NULL) return;
    CopyArea A{X, Y, 0, 0, Width, Height};
    if (Clip && !ClipDestination(A, Clip->X, Clip->Y, Clip->Width, Clip->Height)) return;
    if (!ClipDestination(A, 0, 0, S->Width, S->Height)) return;
    Count(A.Width, A.Height);
    uint32_t* Row = &S->Pixels[static_cast<size_t>(A.Y) * S->Width + A.X];
    for (int y = 0; y < A.Height; ++y, Row += S->Width) std::fill_n(Row, A.Width, Value);
}

// Copies with or without a key; Clip NULL clips to the destination only.
void CopyArea_(int ToSurface, int X, int Y, int FromSurface, int FromX, int FromY, int Width, int Height,
               const uint32_t* Key, const ClipRect* Clip) {
    struct {
        int x, y, width, height;
    } FromRect{FromX, FromY, Width, Height};
    ASSERT(FromRect.width>0 && FromRect.height>0);
    SurfaceBuffer* To = Target(ToSurface);
    SurfaceBuffer* From = Target(FromSurface);
    if (To == NULL || From == NULL) return;
    CopyArea A{X, Y, FromX, FromY, Width, Height};
    if (Clip && !ClipDestination(A, Clip->X, Clip->Y, Clip->Width, Clip->Height)) return;
    if (!ClipDestination(A, 0, 0, To->Width, To->Height)) return;
    if (!ClipSource(A, From->Width, From->Height)) return;
    Count(A.Width, A.Height);
    uint32_t* Out = &To->Pixels[static_cast<size_t>(A.Y) * To->Width + A.X];
    const uint32_t* In = &From->Pixels[static_cast<size_t>(A.FromY) * From->Width + A.FromX];
    if (Key == NULL) {
        if (To == From && A.Y > A.FromY) {  // overlapping rows: copy from the bottom up
            Out += static_cast<size_t>(A.Height - 1) * To->Width;
            In += static_cast<size_t>(A.Height - 1) * From->Width;
            for (int y = 0; y < A.Height; ++y, Out -= To->Width, In -= From->Width)
                std::memmove(Out, In, static_cast<size_t>(A.Width) * 4);
            return;
        }
        for (int y = 0; y < A.Height; ++y, Out += To->Width, In += From->Width)
            std::memmove(Out, In, static_cast<size_t>(A.Width) * 4);
        return;
    }
    CopyRowsKeyed(Out, To->Width, In, From->Width, A.Width, A.Height, *Key);
}

// Multiplies the pixels under a quad by the bilinear blend of its corners,
// sampled at pixel centres.
void MultiplyQuad(const LightQuad& Quad) {
    SurfaceBuffer& S = Surfaces[TEMP_SURFACE];
    if (S.Pixels.empty() || Quad.Width <= 0 || Quad.Height <= 0) return;
    int X0 = std::max(Quad.X, 0), Y0 = std::max(Quad.Y, 0);
    int X1 = std::min(Quad.X + Quad.Width, S.Width), Y1 = std::min(Quad.Y + Quad.Height, S.Height);
    if (X0 >= X1 || Y0 >= Y1) return;
    const RGBColour* C = Quad.Corner;
    const int32_t Zero[3] = {0, 0, 0};
    if (C[0] == C[1] && C[0] == C[2] && C[0] == C[3]) {
        if (C[0] == RGBColour{255, 255, 255}) return;  // white leaves everything as it is
        const int32_t Light[3] = {C[0].Red << 8, C[0].Green << 8, C[0].Blue << 8};
        for (int y = Y0; y < Y1; ++y) MultiplyRow(&S.Pixels[static_cast<size_t>(y) * S.Width + X0], X1 - X0, Light, Zero);
        return;
    }
    const int W = Quad.Width, H = Quad.Height;
    const int TL[3] = {C[0].Red, C[0].Green, C[0].Blue}, TR[3] = {C[1].Red, C[1].Green, C[1].Blue};
    const int BL[3] = {C[2].Red, C[2].Green, C[2].Blue}, BR[3] = {C[3].Red, C[3].Green, C[3].Blue};
    for (int y = Y0; y < Y1; ++y) {
        // Left and right edge colours of this row in 16.16, then 8.8 across.
        int64_t Fy = (static_cast<int64_t>(2 * (y - Quad.Y) + 1) << 16) / (2 * H);
        int32_t Light[3], Step[3];
        for (int c = 0; c < 3; ++c) {
            int64_t L = (static_cast<int64_t>(TL[c]) << 16) + (BL[c] - TL[c]) * Fy;
            int64_t R = (static_cast<int64_t>(TR[c]) << 16) + (BR[c] - TR[c]) * Fy;
            int64_t PerPixel = (R - L) / W;
            int64_t First = L + (R - L) / (2 * W) + PerPixel * (X0 - Quad.X);
            Light[c] = static_cast<int32_t>(First >> 8);
            Step[c] = static_cast<int32_t>(PerPixel / 256);
        }
        MultiplyRow(&S.Pixels[static_cast<size_t>(y) * S.Width + X0], X1 - X0, Light, Step);
    }
}

}  // namespace

// ==== 7. Pixel operations =======================================================

void UploadImage(int Surface, int X, int Y, int Width, int Height, const uint8_t* Pixels) {
    SurfaceBuffer* S = Target(Surface);
    if (S == NULL || Pixels == NULL || Width <= 0 || Height <= 0) return;
    if (X < 0 || Y < 0 || X + Width > S->Width || Y + Height > S->Height) return;
    WritePixels(reinterpret_cast<uint8_t*>(S->Pixels.data()), S->Width * 4, SurfaceFormat, X, Y, Width, Height,
                Pixels);
}

void UploadComposedImage(int Surface, int X, int Y, int Width, int Height, const uint8_t* Pixels,
                         const uint8_t* Mask, const ColourSet& Colours, const RGBColour& Key) {
    if (Pixels == NULL || Width <= 0 || Height <= 0) return;
    size_t Bytes = static_cast<size_t>(Width) * Height * 3;
    if (ComposeBuffer.size() < Bytes) ComposeBuffer.resize(Bytes);
    ComposePixels(ComposeBuffer.data(), Pixels, Mask, Colours, Key, Width * Height);
    UploadImage(Surface, X, Y, Width, Height, ComposeBuffer.data());
}

void PutPixel(int Surface, int X, int Y, int Red, int Green, int Blue) {
    SurfaceBuffer* S = Target(Surface);
    if (S == NULL || X < 0 || Y < 0 || X >= S->Width || Y >= S->Height) return;
    S->Pixels[static_cast<size_t>(Y) * S->Width + X] = Colour(Red, Green, Blue);
}

void FillRect(int Surface, int X, int Y, int Width, int Height, int Red, int Green, int Blue) {
    FillArea(Surface, X, Y, Width, Height, Colour(Red, Green, Blue), NULL);
}

void FillRectClipped(int Surface, int X, int Y, int Width, int Height, int Red, int Green, int Blue,
                     const ClipRect& Clip) {
    FillArea(Surface, X, Y, Width, Height, Colour(Red, Green, Blue), &Clip);
}

void DrawHorizontalLine(int Surface, int X, int Y, int Length, int Red, int Green, int Blue) {
    FillArea(Surface, X, Y, Length, 1, Colour(Red, Green, Blue), NULL);
}

void DrawVerticalLine(int Surface, int X, int Y, int Length, int Red, int Green, int Blue) {
    FillArea(Surface, X, Y, 1, Length, Colour(Red, Green, Blue), NULL);
}

namespace {
void FrameArea(int Surface, int X, int Y, int W, int H, int T, uint32_t Value, const ClipRect* Clip) {
    if (W >= 2 * T && H >= 2 * T) {
        FillArea(Surface, X, Y, W - T, T, Value, Clip);              // top
        FillArea(Surface, X + T, Y + H - T, W - T, T, Value, Clip);  // bottom
        FillArea(Surface, X, Y + T, T, H - T, Value, Clip);          // left
        FillArea(Surface, X + W - T, Y, T, H - T, Value, Clip);      // right
    } else {
        FillArea(Surface, X, Y, W, H, Value, Clip);
    }
}
}  // namespace

void DrawFrame(int Surface, int X, int Y, int Width, int Height, int Thickness, int Red, int Green, int Blue) {
    FrameArea(Surface, X, Y, Width, Height, Thickness, Colour(Red, Green, Blue), NULL);
}

void DrawFrameClipped(int Surface, int X, int Y, int Width, int Height, int Thickness, int Red, int Green,
                      int Blue, const ClipRect& Clip) {
    FrameArea(Surface, X, Y, Width, Height, Thickness, Colour(Red, Green, Blue), &Clip);
}

void CopySurface(int ToSurface, int X, int Y, int FromSurface, int FromX, int FromY, int Width, int Height) {
    CopyArea_(ToSurface, X, Y, FromSurface, FromX, FromY, Width, Height, NULL, NULL);
}

void CopySurfaceClipped(int ToSurface, int X, int Y, int FromSurface, int FromX, int FromY, int Width, int Height,
                        const ClipRect& Clip) {
    CopyArea_(ToSurface, X, Y, FromSurface, FromX, FromY, Width, Height, NULL, &Clip);
}

void CopySurfaceKeyed(int ToSurface, int X, int Y, int FromSurface, int FromX, int FromY, int Width, int Height,
                      int KeyRed, int KeyGreen, int KeyBlue) {
    uint32_t Key = Colour(KeyRed, KeyGreen, KeyBlue);
    CopyArea_(ToSurface, X, Y, FromSurface, FromX, FromY, Width, Height, &Key, NULL);
}

void CopySurfaceKeyedClipped(int ToSurface, int X, int Y, int FromSurface, int FromX, int FromY, int Width,
                             int Height, int KeyRed, int KeyGreen, int KeyBlue, const ClipRect& Clip) {
    uint32_t Key = Colour(KeyRed, KeyGreen, KeyBlue);
    CopyArea_(ToSurface, X, Y, FromSurface, FromX, FromY, Width, Height, &Key, &Clip);
}

void CopySurfaceScaledKeyed(int ToSurface, int X, int Y, int Width, int Height, int FromSurface, int FromX,
                            int FromY, int FromWidth, int FromHeight, const RGBColour& Key,
                            const RGBColour& AfterKey, const ClipRect& Clip) {
    struct {
        int x, y, width, height;
    } FromRect{FromX, FromY, FromWidth, FromHeight}, ToRect{X, Y, Width, Height};
    ASSERT(FromSurface!=TEMP_SURFACE);
    ASSERT(FromSurface!=STRETCH_SURFACE);
    ASSERT(ToSurface!=TEMP_SURFACE);
    ASSERT(ToSurface!=STRETCH_SURFACE);
    ASSERT(FromRect.width+1<=Rect[TEMP_SURFACE].right && FromRect.height+1<=Rect[TEMP_SURFACE].bottom);
    ASSERT(ToRect.width<=Rect[STRETCH_SURFACE].right && ToRect.height<=Rect[STRETCH_SURFACE].bottom);
    if (FromSurface == TEMP_SURFACE || FromSurface == STRETCH_SURFACE || ToSurface == TEMP_SURFACE ||
        ToSurface == STRETCH_SURFACE || FromWidth + 1 > TEMP_SURFACE_WIDTH || FromHeight + 1 > TEMP_SURFACE_HEIGHT ||
        Width > STRETCH_SURFACE_SIZE || Height > STRETCH_SURFACE_SIZE || Width <= 0 || Height <= 0)
        return;
    if (Width == FromWidth && Height == FromHeight) {
        CopySurfaceKeyedClipped(ToSurface, X, Y, FromSurface, FromX, FromY, FromWidth, FromHeight, Key.Red,
                                Key.Green, Key.Blue, Clip);
        return;
    }
    uint32_t After = Colour(AfterKey.Red, AfterKey.Green, AfterKey.Blue);
    FillArea(TEMP_SURFACE, 0, 0, FromWidth + 1, FromHeight + 1, After, NULL);
    CopySurfaceKeyed(TEMP_SURFACE, 0, 0, FromSurface, FromX, FromY, FromWidth, FromHeight, Key.Red, Key.Green,
                     Key.Blue);
    CopySurfaceScaled(STRETCH_SURFACE, 0, 0, Width, Height, TEMP_SURFACE, 0, 0, FromWidth, FromHeight);
    CopySurfaceKeyedClipped(ToSurface, X, Y, STRETCH_SURFACE, 0, 0, Width, Height, AfterKey.Red, AfterKey.Green,
                            AfterKey.Blue, Clip);
}

void CopySurfaceScaled(int ToSurface, int X, int Y, int Width, int Height, int FromSurface, int FromX, int FromY,
                       int FromWidth, int FromHeight) {
    SurfaceBuffer* To = Target(ToSurface);
    SurfaceBuffer* From = Target(FromSurface);
    if (To == NULL || From == NULL || Width <= 0 || Height <= 0 || FromWidth <= 0 || FromHeight <= 0) return;
    // A source rectangle outside its surface would change the scale when cut;
    // such a copy is refused as a whole.
    if (FromX < 0 || FromY < 0 || FromX + FromWidth > From->Width || FromY + FromHeight > From->Height) return;
    if (To == From) return;
    int X0 = std::max(X, 0), Y0 = std::max(Y, 0);
    int X1 = std::min(X + Width, To->Width), Y1 = std::min(Y + Height, To->Height);
    if (X0 >= X1 || Y0 >= Y1) return;
    Count(X1 - X0, Y1 - Y0);
    int Columns = X1 - X0;
    if (static_cast<int>(ScaleColumns.size()) < Columns) ScaleColumns.resize(Columns);
    int* Map = ScaleColumns.data();
    for (int x = X0; x < X1; ++x)
        Map[x - X0] = FromX + static_cast<int>((static_cast<int64_t>(2 * (x - X) + 1) * FromWidth) / (2 * Width));
    // Whole rows enlarged by a whole factor repeat each pixel instead.
    int Factor = Width % FromWidth == 0 && X0 == X && X1 == X + Width ? Width / FromWidth : 0;
    int PreviousSource = -1;
    uint32_t* PreviousRow = NULL;
    for (int y = Y0; y < Y1; ++y) {
        int SourceRow = FromY + static_cast<int>((static_cast<int64_t>(2 * (y - Y) + 1) * FromHeight) / (2 * Height));
        uint32_t* Out = &To->Pixels[static_cast<size_t>(y) * To->Width + X0];
        if (SourceRow == PreviousSource) {
            std::memcpy(Out, PreviousRow, static_cast<size_t>(Columns) * 4);  // an enlarged row repeats
            continue;
        }
        const uint32_t* In = &From->Pixels[static_cast<size_t>(SourceRow) * From->Width];
        if (Factor > 0) EnlargeRow(Out, In + FromX, FromWidth, Factor);
        else
            for (int i = 0; i < Columns; ++i) Out[i] = In[Map[i]];
        PreviousSource = SourceRow;
        PreviousRow = Out;
    }
}

void DrawLightQuad(int Surface, const LightQuad& Quad) {
    if (Surface != TEMP_SURFACE || !LightAvailable) return;
    MultiplyQuad(Quad);
}

void DrawLightQuads(int Surface, int Count, const LightQuad* Quads) {
    if (Surface != TEMP_SURFACE || !LightAvailable || Quads == NULL) return;
    for (int i = 0; i < Count; ++i) MultiplyQuad(Quads[i]);
}
