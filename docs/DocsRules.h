#pragma once

// The rules of the document windows (text viewer, manuals, reader, About box), kept
// apart from the widgets so that they can be checked without a window.

#include "core/SharedState.h"
#include "core/TextBytes.h"
#include <QByteArrayView>
#include <QColor>
#include <QRect>
#include <QSize>
#include <QString>
#include <array>
#include <optional>

// --- text viewer --------------------------------------------------------------------

// The text the viewer shows for a file: decoded, CR LF and lone CR as line feeds,
// and one final line end left off (the text box would show it as an empty last line).
QString viewerText(QByteArrayView bytes);

// Files the text box cannot show within about a second are handed to the text editor.
inline constexpr qint64 ViewerMaxBytes = 4 * 1024 * 1024;
inline constexpr qint64 ViewerMaxLineBytes = 256 * 1024;

enum class ViewerFit { Fits, Empty, TooLarge, NotText };
// Whether the bytes of a file can be shown in the text box: not empty, no NUL bytes
// (a binary file), and within the two limits above.
ViewerFit viewerFit(QByteArrayView bytes);

// The font menu: sizes in points by item (0 tiny ... 4 very large, 5 default), and
// the item checked after a choice (the default and any unknown item check "normal").
int viewerFontPoints(int item);
int viewerCheckedFontItem(int item);
inline constexpr int ViewerFontItems = 6;

struct ViewerColours {
    QColor background;
    QColor foreground;
    bool operator==(const ViewerColours&) const = default;
};
// The colours after a choice in the Colours menu: 0 background, 1 foreground (a
// colour equal to the other one is refused, so the text never disappears), 2 reset
// to black on white. `chosen` is empty when the colour dialog was cancelled.
ViewerColours viewerColourChoice(const ViewerColours& current, int item,
                                 const std::optional<QColor>& chosen);

// The viewer's frame, caption and menu bar, which the resize rule leaves room for.
inline constexpr QSize ViewerFrameTwips{150, 750};
// The text box's size for a client area below the menu bar, in twips: it fills the
// area, but a window shrunk to almost nothing keeps the box's last width or height.
QSize viewerTextBoxTwips(QSize clientTwips, QSize lastBoxTwips);

// --- manuals and help ---------------------------------------------------------------

struct ManualItem {
    const char* caption;
    const char* file; // in the manuals directory; empty for "other manuals"
};
inline constexpr std::array<ManualItem, 9> ManualItems{{
    {"&Kinemora User's Manual", "kinemora.pdf"},
    {"&Control file example", "ctlfile.pdf"},
    {"&Orvane User's Manual", OwnManualFile},
    {"&Plotwell User's Manual", "plotwell.pdf"},
    {"&Pictor User's Manual", "pictor.pdf"},
    {"Kinemora &Quick Reference Guide", "kq_qrg.pdf"},
    {"Tes&sel User's Manual", "tessel.pdf"},
    {"Tessel Quick Reference Guide", "xq_qrg.pdf"},
    {"&Other manuals", ""},
}};
// The program's own manual, shown by "Man&ual" and "&Guide".
inline constexpr int OwnManualItem = 2;

struct HelpItem {
    const char* caption;
    const char* shown;  // opened when the item is chosen
    const char* tested; // looked for when the Help menu opens
};
inline constexpr std::array<HelpItem, 3> HelpItems{{
    {"&Ground reactions", "Vesmor.txt", "vesmor.txt"},
    {".&RF file format", "RF_file.txt", "rf_file.txt"},
    {"&Updates", "UpdateOV.txt", "updateov.txt"},
}};

// --- reader -------------------------------------------------------------------------

// The document path the reader names: the manuals directory and the file, in lower case.
QString readerDocumentPath(const QString& manualsDir, const QString& file);
// The caption of the reader's document label: the path and one blank.
QString readerLabel(const QString& documentPath);

// Windows whose sizes are given with their border and caption.
inline constexpr QSize ClassicFrameTwips{120, 465};
// Place of the reader's PDF view for a client area in twips; a window shrunk to
// almost nothing keeps the view's last width or height.
QRect readerPdfTwips(QSize clientTwips, QRect lastTwips);

// --- About box ----------------------------------------------------------------------

// Heights of the About box with its frame: the contact panel closed, and what opening
// it adds.
inline constexpr int AboutClosedHeight = 2805;
inline constexpr int AboutContactHeight = 3000;
inline constexpr int AboutClientWidth = 7005;

// The contact text: ten lines joined by `lf`, each non-empty one beginning with two
// blanks, the last naming the web page.
QString defaultContactText(const QString& lf, const QString& webPage);
// An installer's contact text, from the text of a file: its first ten lines, with
// two blanks put before each non-empty line that does not begin with a blank.
QString contactTextFromFile(const QString& fileText, const QString& lf);
