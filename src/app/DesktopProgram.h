#pragma once

namespace tavlo {

struct CommandLine;

// The station on a desktop: each window with its view, the desktop's dialogs,
// screen and shell, and the media keys on the session bus.
int runDesktop(int argc, char** argv, const CommandLine& cl);

}  // namespace tavlo
