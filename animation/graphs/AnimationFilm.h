#pragma once

// "Save pass as film …": every record of one pass drawn as the animation draws it,
// one frame a record, into a film or a folder of numbered pictures.

#include "animation/graphs/PassDrawing.h"

#include <QSize>
#include <QString>

#include <functional>

class FilmWriter;
class frmAnimForces;
struct ForceTable;
struct Platform;
struct SharedState;

inline constexpr const char* SaveFilmCommand = "Save pass as film …";

// Frames a second: the records a pass shows per second of the trial, at most 60 (a
// faster trial plays slowed down) and 25 where the rate is unknown.
double filmFramesPerSecond(const ForceTable& table, int increment);

struct FilmResult {
    bool written = false;
    bool cancelled = false;
    QString path;  // the film or the folder of frames
    QString error; // why nothing was written
};

// Draws the pass into a picture of `size` and hands every frame to `writer`.
// `progress(done, total)` runs after each frame; false cancels.
FilmResult writePassFilm(const ForceTable& table, const graphs::PassDrawing& drawing, QSize size,
                         FilmWriter& writer, const QString& path,
                         const std::function<bool(int, int)>& progress);

// The command of the animation window: asks for a name, shows a progress dialog that
// can be cancelled, says what failed.
void saveAnimationFilm(frmAnimForces& window, SharedState& state, Platform& platform);
