// Makes the play-list choices of the command line the way a person makes them:
// opens the plug-in's settings window ('cnfg'), ticks its boxes, picks its
// pop-up items and its folder, and presses OK. The plug-in keeps no criteria
// between runs, and the host never reaches into its state.
//
// Host's thread only, while the visualizer is shown (the plug-in drops the
// settings of an OK while it is hidden).
#pragma once

#include <optional>
#include <string>

#include "CommandLine.h"
#include "VisualSession.h"

namespace zt::host {

// The problem when the window did not open or a control is missing.
std::optional<std::string> SetCriteriaByHand(VisualSession& session, const Options& options);

} // namespace zt::host
