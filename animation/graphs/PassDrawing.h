#pragma once

// The drawing of one animation pass, record by record, without the pass's delays,
// dialogs or yields: what the linked cursor shows when the animation is stopped and
// what each frame of a film holds. The same rules (anim::baseAndTip, path, history) and
// the same picture box, so a frame is the picture a pass draws.

#include "animation/Geometry.h"

#include <functional>
#include <optional>

class PictureBox;
class frmAnimForces;
struct ForceTable;

namespace graphs
{

struct PassDrawing {
    anim::Projection projection; // its ViewIndex is the view drawn (0..3)
    int16_t modeIndex = anim::HistoryMode;
    int16_t plateIndex = anim::NoPlate;
    float magnification = 1.0f;
    bool showPath = true;
    bool noVectors = false;
    int increment = 1;
};

// The view, mode and options the animation window is set to now: the chosen buttons,
// not what the last pass happened to use (a static view draws in mode "all").
PassDrawing passDrawingOf(const frmAnimForces& window);

bool operator==(const PassDrawing& a, const PassDrawing& b);

// Where a pass drawn part of the way stands, so it can go on from there.
struct PassCursor {
    int next = 1; // the next record the pass visits
    QPointF previousBase{0, 0};
    QPointF previousTip{0, 0};
    std::optional<anim::VectorLine> current; // drawn in red, not yet greyed
};

// Goes on drawing the pass from where `cursor` stands up to record `upTo`.
void continuePass(PictureBox& picture, const ForceTable& table, const PassDrawing& drawing,
                  PassCursor& cursor, int upTo, const std::function<bool(int)>& afterRecord = {});

// Clears the picture, sets the view's coordinates and draws the plate, then draws the
// records of a pass from 1 up to `upTo`. `afterRecord(i)` runs for every record the pass
// visits, once its drawing is on the picture (the moment a pass shows it); false ends
// the drawing there. The last record drawn keeps its red vector.
PassCursor drawPass(PictureBox& picture, const ForceTable& table, const PassDrawing& drawing,
                    int upTo, const std::function<bool(int)>& afterRecord = {});

// The records a pass visits: 1, 1 + increment, ... up to the last record.
int passRecordCount(const ForceTable& table, int increment);

} // namespace graphs
