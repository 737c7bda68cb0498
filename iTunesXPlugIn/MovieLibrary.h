// Set-up and tear-down of the movie library: the folder stored with the host,
// the movies opened from it, the stores and the control thread. Host's thread.
#pragma once

#include "BuildPlayMovieListParam.h"
#include "VisualPluginData.h"

enum { kRequestCountPerIteration = 234 };

// Once per 'init': console log, locks, empty play list, default criteria.
void PreInitZoetropica(void);
// On every show (and after a new folder is chosen): load the stored folder.
void InitZoetropica(VisualPluginData* visualPluginData, FSRef* aMoviesFolder,
                    BuildPlayMovieListParam* aBuildPlayMovieListParam);
// On every hide (and before a new folder is loaded): store the folder, free all.
void CleanUpZoetropica(VisualPluginData* visualPluginData, FSRef* aMoviesFolder);
