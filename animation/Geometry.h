#pragma once

// How a force record becomes lines on the vector picture: the drawing coordinates of
// each view, the plate outlines, the rotation of the custom view, the base point and
// tip of a vector, and which of the path, history and vector lines a record draws.
// Plain functions of the window state, so every rule can be checked without a window.

#include <QColor>
#include <QPointF>

#include <array>
#include <cstdint>
#include <optional>

struct ForceTable;

namespace anim
{

enum ViewKind : int16_t {
    TopView = 0,
    SideView = 1,
    BackView = 2,
    CustomView = 3,
    NewCustomView = 4
};
enum ModeKind : int16_t { AllMode = 0, SingleMode = 1, HistoryMode = 2, CycleMode = 3 };
enum PlateKind : int16_t {
    NoPlate = 0,
    Kistler4060 = 1,
    Amti = 2,
    Kistler6060 = 3,
    OtherPlate = 4
};

// The exact colours of the picture; 7 and 8 are the light and dark greys of the
// 16-colour palette.
inline const QColor VectorColour{255, 0, 0};
inline const QColor PlateColour{0, 0, 255};
inline const QColor PathColour{0, 255, 255};
inline const QColor EraseColour{0, 0, 0};
inline const QColor PaletteColour7{192, 192, 192};
inline const QColor PaletteColour8{128, 128, 128};

// The angle fields hold degrees; the rotation takes radians through this divisor,
// which the stored angles of earlier runs were made with.
inline constexpr double DegreesPerRadian = 57.2953;

// Upper-left and lower-right corners of the picture's user coordinates.
struct UserScale {
    QPointF upperLeft;
    QPointF lowerRight;
};

// The coordinates of views 0 to 3; the new-custom view (and anything else) sets none.
std::optional<UserScale> viewScale(int16_t viewIndex);

struct PlateShape {
    bool filled = false; // a bar (side and back views) rather than an outline (top view)
    QPointF corner1;
    QPointF corner2;
};

// The plate outline of a plate in a view, or nothing (no plate, "other", custom views).
std::optional<PlateShape> plateShape(int16_t plateIndex, int16_t viewIndex, float magnification);

struct RotatedRecord {
    std::array<double, 3> RotatedForce{};
    double RotatedCentreX = 0;
    double RotatedCentreY = 0;
    float RotatedCentreZ = 0; // the rotated height is kept in single precision
};

// Rotates the force and the centre (Ax, Ay, Extra) of one record by the transpose of
// Rx(pitch) Ry(roll) Rz(yaw), angles in radians. An index outside the table gives zeros.
RotatedRecord RotateRecord(const ForceTable& table, int index, float pitch, float roll, float yaw);

// Degrees of an angle field to the single-precision radians the rotation takes.
float angleRadians(double degrees);

// Everything of the window state that places a vector in the picture.
struct Projection {
    int16_t ViewIndex = SideView;
    double CentreScale = 1.0;  // drawing units per centimetre
    double VectorScale = 0.01; // drawing units per newton
    int HorizForceSign = -1;
    int HorizCentreSign = 1;
    int VertForceSign = 1;
    int VertCentreSign = 1;
    int AzSign = 1;
    bool UseAz = false;
    float Pitch = 0; // radians
    float Roll = 0;
    float Yaw = 0;
};

double centreScale(float magnification);
double vectorScale(float vectorSize, float magnification, double forceScale);
// The force scale under "Normalize to BW": 10 / body weight in single precision, or
// nothing for a weight that cannot scale (0, negative, not finite).
std::optional<double> normalisedForceScale(float bodyWeight);

struct VectorLine {
    QPointF base; // the centre of pressure
    QPointF tip;  // the centre plus the scaled force
};

VectorLine baseAndTip(const ForceTable& table, int index, const Projection& projection);

// Whether record `index` adds a segment of the centre-of-pressure path.
bool drawsPath(int16_t viewIndex, bool showPath, int index, int recordCount);
// Whether a view draws the vector and its history under "No vectors".
bool drawsVectors(int16_t viewIndex, bool noVectors);
// The colour the previous vector is drawn over in before the current one, if any.
std::optional<QColor> previousVectorColour(int16_t modeIndex, int index);
// The colour the current vector is drawn over in when its record is done, if any.
std::optional<QColor> finishedVectorColour(int16_t modeIndex, bool noVectors);

} // namespace anim
