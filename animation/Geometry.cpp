#include "animation/Geometry.h"

#include "core/ForceTable.h"

#include <cmath>

namespace anim
{

std::optional<UserScale> viewScale(int16_t viewIndex)
{
    switch (viewIndex) {
    case TopView:
        return UserScale{{-40, -30}, {40, 30}};
    case SideView:
    case CustomView:
        return UserScale{{-40, 30}, {40, -5}};
    case BackView:
        return UserScale{{-30, 30}, {30, -5}};
    default:
        return std::nullopt;
    }
}

std::optional<PlateShape> plateShape(int16_t plateIndex, int16_t viewIndex, float magnification)
{
    // Half-sizes in centimetres: along Y (the long side) and along X.
    double halfY = 0;
    double halfX = 0;
    switch (plateIndex) {
    case Kistler4060:
        halfY = 30;
        halfX = 20;
        break;
    case Amti:
        halfY = 25.4;
        halfX = 23.1775;
        break;
    case Kistler6060:
        halfY = 30;
        halfX = 30;
        break;
    default:
        return std::nullopt;
    }
    const double m = magnification;
    switch (viewIndex) {
    case TopView:
        return PlateShape{false, {-halfY * m, -halfX * m}, {halfY * m, halfX * m}};
    case SideView:
        return PlateShape{true, {-halfY * m, 0}, {halfY * m, -2}};
    case BackView:
        // The back view shows three quarters of the plate's depth.
        return PlateShape{true, {-0.75 * halfX * m, 0}, {0.75 * halfX * m, -2}};
    default:
        return std::nullopt;
    }
}

RotatedRecord RotateRecord(const ForceTable& table, int index, float pitch, float roll, float yaw)
{
    RotatedRecord out;
    if (index < 0 || index > ForceTable::RecordCapacity)
        return out;
    const double cb = std::cos(double(pitch)), sb = std::sin(double(pitch));
    const double cc = std::cos(double(roll)), sc = std::sin(double(roll));
    const double cd = std::cos(double(yaw)), sd = std::sin(double(yaw));
    const double m[3][3] = {
        {cc * cd, cb * sd + sb * sc * cd, sb * sd - cb * sc * cd},
        {-cc * sd, cb * cd - sb * sc * sd, sb * cd + cb * sc * sd},
        {sc, -sb * cc, cb * cc},
    };
    const auto apply = [&m](int row, double x, double y, double z) {
        return m[row][0] * x + m[row][1] * y + m[row][2] * z;
    };
    const std::size_t i = std::size_t(index);
    for (int row = 0; row < 3; ++row)
        out.RotatedForce[std::size_t(row)] = apply(row, table.Fx[i], table.Fy[i], table.Fz[i]);
    out.RotatedCentreX = apply(0, table.Ax[i], table.Ay[i], table.Extra[i]);
    out.RotatedCentreY = apply(1, table.Ax[i], table.Ay[i], table.Extra[i]);
    out.RotatedCentreZ = float(apply(2, table.Ax[i], table.Ay[i], table.Extra[i]));
    return out;
}

float angleRadians(double degrees)
{
    return float(degrees / DegreesPerRadian);
}

double centreScale(float magnification)
{
    return magnification;
}

double vectorScale(float vectorSize, float magnification, double forceScale)
{
    return double(vectorSize) * double(magnification) * forceScale;
}

std::optional<double> normalisedForceScale(float bodyWeight)
{
    if (!(bodyWeight > 0) || !std::isfinite(bodyWeight))
        return std::nullopt;
    return double(1.0f / (bodyWeight / 10.0f));
}

VectorLine baseAndTip(const ForceTable& table, int index, const Projection& p)
{
    VectorLine line;
    if (index < 0 || index > ForceTable::RecordCapacity)
        return line;
    const std::size_t i = std::size_t(index);
    const double height = p.UseAz ? p.AzSign * p.CentreScale * table.Extra[i] : 0.0;
    switch (p.ViewIndex) {
    case TopView:
        line.base = {p.HorizCentreSign * p.CentreScale * table.Ay[i],
                     p.VertCentreSign * p.CentreScale * table.Ax[i]};
        line.tip = {p.HorizForceSign * p.VectorScale * table.Fy[i] + line.base.x(),
                    p.VertForceSign * p.VectorScale * table.Fx[i] + line.base.y()};
        break;
    case SideView:
        line.base = {p.HorizCentreSign * p.CentreScale * table.Ay[i], height};
        line.tip = {p.HorizForceSign * p.VectorScale * table.Fy[i] + line.base.x(),
                    p.VectorScale * table.Fz[i] + line.base.y()};
        break;
    case BackView:
        line.base = {p.HorizCentreSign * p.CentreScale * table.Ax[i], height};
        line.tip = {p.HorizForceSign * p.VectorScale * table.Fx[i] + line.base.x(),
                    p.VectorScale * table.Fz[i] + line.base.y()};
        break;
    default: {
        // The custom view always stands the centre at its rotated height.
        const RotatedRecord r = RotateRecord(table, index, p.Pitch, p.Roll, p.Yaw);
        line.base = {p.HorizCentreSign * p.CentreScale * r.RotatedCentreY,
                     p.CentreScale * double(r.RotatedCentreZ)};
        line.tip = {p.HorizForceSign * p.VectorScale * r.RotatedForce[1] + line.base.x(),
                    p.VectorScale * r.RotatedForce[2] + line.base.y()};
        break;
    }
    }
    return line;
}

namespace
{
bool isTopOrCustom(int16_t viewIndex)
{
    return viewIndex == TopView || viewIndex == CustomView || viewIndex == NewCustomView;
}
} // namespace

bool drawsPath(int16_t viewIndex, bool showPath, int index, int recordCount)
{
    return isTopOrCustom(viewIndex) && showPath && index > 1 && index < recordCount;
}

bool drawsVectors(int16_t viewIndex, bool noVectors)
{
    return !isTopOrCustom(viewIndex) || !noVectors;
}

std::optional<QColor> previousVectorColour(int16_t modeIndex, int index)
{
    if (modeIndex <= AllMode || index <= 1)
        return std::nullopt;
    return modeIndex == SingleMode ? EraseColour : PaletteColour8;
}

std::optional<QColor> finishedVectorColour(int16_t modeIndex, bool noVectors)
{
    if (modeIndex <= SingleMode || noVectors)
        return std::nullopt;
    return PaletteColour7;
}

} // namespace anim
