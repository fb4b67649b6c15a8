// The viewer with its window: the start-up sequence on the Qt user interface,
// then the event loop until the main window closes.
#pragma once

namespace app {

int RunViewer(int argc, char** argv);

}  // namespace app
