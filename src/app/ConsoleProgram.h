#pragma once

namespace tavlo {

struct CommandLine;

// The station without views: --headless plays on the sound card until
// SIGINT or SIGTERM, --render writes the output to a WAV file in audio time.
// Each prints one line per song started and per event fired.
int runHeadless(int argc, char** argv, const CommandLine& cl);
int runRender(int argc, char** argv, const CommandLine& cl);

}  // namespace tavlo
