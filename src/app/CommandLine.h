#pragma once

#include "platform/Streamer.h"
#include "web/WebAddress.h"

#include <QString>
#include <QStringList>
#include <QTime>

#include <optional>

namespace tavlo {

// What the program was asked to do on its command line.
struct CommandLine {
    enum class Mode { Gui, Headless, Render };
    // What parse() made of a command line: run with the options, print the
    // usage or the version and stop, or refuse the line with `error`.
    enum class Outcome { Run, Help, Version, Error };

    Mode mode = Mode::Gui;
    QString wavPath;
    double seconds = 60;
    QString events;                      // an event file opened into the scheduler at start-up
    std::optional<QTime> start;          // the render's first sample, as a local time of day today
    std::optional<double> loudness;      // --loudness: both windows normalize to this many LUFS
    std::optional<bool> autoCue;         // --auto-cue: both windows play by cue points, or not
    std::optional<StreamTarget> stream;  // --stream: where the output goes, whatever the settings say
    QString fallback;                    // --fallback: what the music window plays while its list cannot
    QString file;                        // the rest of the line, as the start-up takes it
    bool fresh = false;                  // --fresh: start empty; else no file means resume
    std::optional<WebAddress> web;       // --web ADDRESS:PORT: the web remote listens there
    bool webOff = false;                 // --web off: no web remote, whatever the settings say

    Outcome outcome = Outcome::Run;
    QString error;  // what is wrong with the line, when outcome is Error

    // `args` as main receives them, the program's name first.
    static CommandLine parse(const QStringList& args);
    // The text --help prints, and a refused line after its error.
    static const char* usage();
};

}  // namespace tavlo
