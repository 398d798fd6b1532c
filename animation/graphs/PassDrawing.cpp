#include "animation/graphs/PassDrawing.h"

#include "animation/PictureBox.h"
#include "animation/frmAnimForces.h"
#include "core/ForceTable.h"

#include <QCheckBox>
#include <QRadioButton>

#include <algorithm>
#include <cmath>

namespace graphs
{

namespace
{
template <typename Buttons> int checkedIndex(const Buttons& buttons, int fallback)
{
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        if (buttons[i] && buttons[i]->isChecked())
            return int(i);
    }
    return fallback;
}
} // namespace

PassDrawing passDrawingOf(const frmAnimForces& w)
{
    PassDrawing d;
    anim::Projection& p = d.projection;
    // A new custom view draws as the custom view.
    p.ViewIndex = int16_t(std::clamp(checkedIndex(w.optView, w.ViewIndex), 0, 3));
    p.CentreScale = anim::centreScale(w.Magnification);
    p.VectorScale = anim::vectorScale(w.VectorSize, w.Magnification, w.ForceScale);
    p.HorizForceSign = w.HorizForceSign;
    p.HorizCentreSign = w.HorizCentreSign;
    p.VertForceSign = w.VertForceSign;
    p.VertCentreSign = w.VertCentreSign;
    p.AzSign = w.AzSign;
    p.UseAz = w.chkOptions[5]->isChecked();
    p.Pitch = anim::angleRadians(w.PitchDeg);
    p.Roll = anim::angleRadians(w.RollDeg);
    p.Yaw = anim::angleRadians(w.YawDeg);
    d.modeIndex = int16_t(checkedIndex(w.optMode, w.ModeIndex));
    d.plateIndex = w.PlateIndex;
    d.magnification = w.Magnification;
    d.showPath = w.ShowPath;
    d.noVectors = w.chkOptions[2]->isChecked();
    d.increment = std::max(1, int(std::lround(std::clamp(w.Increment, 1.0, 5000.0))));
    return d;
}

int passRecordCount(const ForceTable& table, int increment)
{
    const int last = std::clamp<int>(table.RecordCount, 0, ForceTable::RecordCapacity);
    const int step = std::max(1, increment);
    return last < 1 ? 0 : (last - 1) / step + 1;
}

bool operator==(const PassDrawing& a, const PassDrawing& b)
{
    const anim::Projection& p = a.projection;
    const anim::Projection& q = b.projection;
    return p.ViewIndex == q.ViewIndex && p.CentreScale == q.CentreScale &&
           p.VectorScale == q.VectorScale && p.HorizForceSign == q.HorizForceSign &&
           p.HorizCentreSign == q.HorizCentreSign && p.VertForceSign == q.VertForceSign &&
           p.VertCentreSign == q.VertCentreSign && p.AzSign == q.AzSign && p.UseAz == q.UseAz &&
           p.Pitch == q.Pitch && p.Roll == q.Roll && p.Yaw == q.Yaw && a.modeIndex == b.modeIndex &&
           a.plateIndex == b.plateIndex && a.magnification == b.magnification &&
           a.showPath == b.showPath && a.noVectors == b.noVectors && a.increment == b.increment;
}

PassCursor drawPass(PictureBox& picture, const ForceTable& t, const PassDrawing& d, int upTo,
                    const std::function<bool(int)>& afterRecord)
{
    const int16_t view = d.projection.ViewIndex;
    picture.cls();
    if (const auto scale = anim::viewScale(view))
        picture.setScale(scale->upperLeft, scale->lowerRight);
    picture.setDrawWidth(1);
    if (const auto plate = anim::plateShape(d.plateIndex, view, d.magnification)) {
        if (plate->filled)
            picture.filledBox(plate->corner1, plate->corner2, anim::PlateColour);
        else
            picture.box(plate->corner1, plate->corner2, anim::PlateColour);
    }
    PassCursor cursor;
    continuePass(picture, t, d, cursor, upTo, afterRecord);
    return cursor;
}

void continuePass(PictureBox& picture, const ForceTable& t, const PassDrawing& d,
                  PassCursor& cursor, int upTo, const std::function<bool(int)>& afterRecord)
{
    const int16_t view = d.projection.ViewIndex;
    const int last = std::min({int(t.RecordCount), int(ForceTable::RecordCapacity), upTo});
    const int step = std::max(1, d.increment);
    for (int i = cursor.next; i <= last; i += step) {
        cursor.next = i + step;
        // The record before is done: greyed in the history modes, and the previous one.
        if (cursor.current) {
            if (const auto colour = anim::finishedVectorColour(d.modeIndex, d.noVectors))
                picture.line(cursor.current->base, cursor.current->tip, *colour);
            cursor.previousBase = cursor.current->base;
            cursor.previousTip = cursor.current->tip;
            cursor.current.reset();
        }
        if (t.Fz[std::size_t(i)] == 0) {
            if (afterRecord && !afterRecord(i))
                return;
            continue;
        }
        const anim::VectorLine v = anim::baseAndTip(t, i, d.projection);
        if (anim::drawsPath(view, d.showPath, i, t.RecordCount)) {
            picture.setDrawWidth(2);
            picture.line(v.base, cursor.previousBase, anim::PathColour);
            picture.setDrawWidth(1);
        }
        if (anim::drawsVectors(view, d.noVectors)) {
            if (const auto colour = anim::previousVectorColour(d.modeIndex, i))
                picture.line(cursor.previousBase, cursor.previousTip, *colour);
            picture.line(v.base, v.tip, anim::VectorColour);
        }
        cursor.current = v;
        if (afterRecord && !afterRecord(i))
            return;
    }
}

} // namespace graphs
