// Frames: servicing the current movie, choosing the next one, and the notice
// drawn when there is no movie. Host's thread.
#pragma once

#include "Movies.h"
#include "VisualPluginData.h"

// The movie now playing: the gMovie field of a stream owned by gAllMovieStore.
extern Movie* gCurMovie;

void RenderVisualPort(VisualPluginData* visualPluginData, CGrafPtr destPort,
                      const Rect* destRect, Boolean onlyUpdate);
void DoPlayMovie(VisualPluginData* visualPluginData, CGrafPtr aPort, const Rect* aRect);
void ChangeCurrentMovie(void);
void DrawNoneMovieMessage(VisualPluginData* visualPluginData, CGrafPtr destPort,
                          const Rect* destRect);
void PostDrawProcess(VisualPluginData* visualPluginData, CGrafPtr destPort, const Rect* destRect);
void DrawMessage(int fontSize, int offsetX, int offsetY, const char* msg, const Rect* aRect);
