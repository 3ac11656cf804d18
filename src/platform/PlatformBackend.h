// Internal to the platform layer: the operations each back end provides.
#pragma once

#include "platform/Platform.h"
#include "platform/Recording.h"

#include <memory>

namespace platform {

class BackendImpl {
  public:
    virtual ~BackendImpl() = default;
    virtual bool Start(std::string* reason) = 0;
    virtual void Stop() = 0;

    virtual bool CreateWindow(const std::string& title, int x, int y, int w, int h, bool maximized,
                              std::string* reason) = 0;
    virtual void DestroyWindow() = 0;
    virtual bool HasWindow() = 0;
    virtual void SetWindowTitle(const std::string& title) = 0;
    virtual std::string GetWindowTitle() = 0;
    virtual WindowGeometry GetWindowGeometry() = 0;
    virtual void GetClientSize(int& w, int& h) = 0;
    virtual void SetMinimumClientSize(int w, int h) = 0;
    virtual void SetClientSize(int w, int h) = 0;
    virtual void GetScreenSize(int& w, int& h) = 0;
    virtual void GetUsableArea(int& x, int& y, int& w, int& h) = 0;
    virtual void SetWindowIcon() = 0;
    virtual bool SetFullscreen(bool fullscreen, int w, int h) = 0;
    virtual bool IsFullscreen() = 0;
    virtual void SetWindowPlacement(int x, int y, int w, int h) = 0;
    virtual void MaximizeWindow() = 0;

    virtual void Present(const uint32_t* pixels, int width, int height, int pitch) = 0;
    virtual std::vector<DisplayMode> ListDisplayModes() = 0;
    virtual int GetRefreshRate() = 0;

    virtual bool PollEvent(Event& event) = 0;
    // Forgets the focus changes (Activate events) that are waiting.
    virtual void DropFocusEvents() = 0;
    virtual void WaitForEvent(int ms) = 0;
    virtual bool GetPointerPosition(int& x, int& y) = 0;
    virtual void CapturePointer(bool capture) = 0;
    virtual void SetPointerShape(int shape) = 0;
    virtual void ShowSystemPointer(bool show) = 0;

    // Returns false when the box could not be shown on a display.
    virtual bool ShowMessageBox(const std::string& caption, const std::string& text, BoxIcon icon) = 0;

    virtual bool GetClipboardText(std::string& text) = 0;
    virtual bool SetClipboardText(const std::string& text) = 0;
    virtual bool ClipboardHasText() = 0;

    virtual bool OpenDocument(const std::string& path) = 0;
    virtual void Exec(const std::string& program, const std::vector<std::string>& arguments) = 0;
};

std::unique_ptr<BackendImpl> MakeSDLBackend();
std::unique_ptr<BackendImpl> MakeHeadlessBackend();

// Set by the signal handlers, taken by the event pumps as a Quit event.
bool TakeQuitSignal();

// Held while a back end waits for a process that a library forks on its
// behalf (SDL's message box under X11): that process dies with ours, and a
// termination signal ends it, so that the wait returns.
class ForkedChildWait {
  public:
    ForkedChildWait();
    ~ForkedChildWait();
    ForkedChildWait(const ForkedChildWait&) = delete;
    ForkedChildWait& operator=(const ForkedChildWait&) = delete;
};

// The recording and replay session (Recording.cpp), called by the forwarding
// functions for every input they hand to the core.
namespace session {
bool Active();
bool Replaying();
uint32_t Clock(uint32_t Real);
// Got: whether the back end had an event (recording); replaying, the result
// is the recorded event.
bool PollEvent(Event& event, bool Got);
void ViewerClose();
void Query(recording::Query query, int* values, int count);
int QueryCount(recording::Query query);
void QueryText(std::string& text);
void Frame(const uint32_t* pixels, int width, int height, int pitch);
}  // namespace session

// The POSIX process replacement both back ends use.
void ExecProcess(const std::string& program, const std::vector<std::string>& arguments);

}  // namespace platform
