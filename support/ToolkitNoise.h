#pragma once

// The offscreen platform, on which the command line and the tools draw without
// a display, warns "This plugin does not support propagateSizeHints()" whenever
// a window's size hints change; the warning tells the user nothing. Silencing it
// lets every other message through to the handler installed before.

namespace ToolkitNoise {

void SilenceOffscreenSizeHints();

} // namespace ToolkitNoise
