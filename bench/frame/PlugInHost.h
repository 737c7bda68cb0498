// A host inside the benchmark program: the plug-in's objects are linked in, so
// the benchmark sees the movie playing (gCurMovie) while it drives the handler
// the plug-in registers exactly as the zoetropica program does: the entry
// point's 'init', the handler's 'init', 'show', frames, 'hide'. Named data is
// kept in memory; the console log goes where ZOETROPICA_CONSOLE says.
#pragma once

#include "iTunesAPI.h"
#include "iTunesVisualAPI.h"

#include <map>
#include <string>
#include <vector>

namespace zt::bench {

class PlugInHost {
  public:
    PlugInHost(); // registers the plug-in and initialises its instance record
    ~PlugInHost(); // 'clr '
    PlugInHost(const PlugInHost&) = delete;
    PlugInHost& operator=(const PlugInHost&) = delete;

    // Stores a folder (by path) as the plug-in's "Movies Folder".
    void StoreMoviesFolder(const std::string& path);
    OSStatus Show(CGrafPtr port, const Rect& rect);
    OSStatus Hide();
    // A frame message ('vrnd', 'null' ...), as the host's frame clock sends it.
    OSStatus Send(OSType message);

  private:
    static OSStatus AppProc(void* appCookie, OSType message, PlayerMessageInfo* messageInfo);

    VisualPluginProcPtr handler_ = nullptr;
    void* refCon_ = nullptr;
    UInt32 frames_ = 0;
    std::map<std::string, std::vector<UInt8>> namedData_;
};

// A 32-bit frame buffer the benchmark owns, with a port over it.
class Screen {
  public:
    Screen(int width, int height);
    ~Screen();
    Screen(const Screen&) = delete;
    Screen& operator=(const Screen&) = delete;

    CGrafPtr port() const { return port_; }
    Rect bounds() const { return Rect{0, 0, SInt16(height_), SInt16(width_)}; }
    void Fill(UInt32 pixel);
    UInt32 Centre() const { return pixels_[size_t(height_ / 2) * size_t(width_) + size_t(width_ / 2)]; }

  private:
    int width_, height_;
    std::vector<UInt32> pixels_;
    CGrafPtr port_ = nullptr;
};

} // namespace zt::bench
