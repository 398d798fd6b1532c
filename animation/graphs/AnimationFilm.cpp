#include "animation/graphs/AnimationFilm.h"

using namespace graphs;

#include "animation/PictureBox.h"
#include "animation/frmAnimForces.h"
#include "animation/graphs/FilmWriter.h"
#include "core/ForceTable.h"
#include "core/Library.h"
#include "core/SharedState.h"
#include "forcedata/ExportFile.h"
#include "platform/PipedProgram.h"
#include "platform/Platform.h"

#include <QDir>
#include <QProgressDialog>

#include <algorithm>
#include <cmath>

double filmFramesPerSecond(const ForceTable& table, int increment)
{
    const double rate = table.samplingRateHz();
    if (!(rate > 0) || !std::isfinite(rate))
        return 25;
    return std::clamp(rate / std::max(1, increment), 1.0, 60.0);
}

FilmResult writePassFilm(const ForceTable& table, const graphs::PassDrawing& drawing, QSize size,
                         FilmWriter& writer, const QString& path,
                         const std::function<bool(int, int)>& progress)
{
    FilmResult result;
    const int total = passRecordCount(table, drawing.increment);
    if (total < 1) {
        result.error = QStringLiteral("the trial has no records");
        return result;
    }
    result.error = writer.begin(path, size, filmFramesPerSecond(table, drawing.increment));
    if (!result.error.isEmpty())
        return result;
    PictureBox picture;
    picture.resize(size);
    picture.setBackColour(Qt::black);
    int done = 0;
    drawPass(picture, table, drawing, ForceTable::RecordCapacity, [&](int) {
        result.error = writer.addFrame(picture.image());
        if (!result.error.isEmpty())
            return false;
        ++done;
        if (progress && !progress(done, total)) {
            result.cancelled = true;
            return false;
        }
        return true;
    });
    if (!result.error.isEmpty() || result.cancelled) {
        writer.abort();
        return result;
    }
    result.error = writer.finish();
    result.written = result.error.isEmpty();
    result.path = writer.writtenPath();
    return result;
}

void saveAnimationFilm(frmAnimForces& window, SharedState& state, Platform& platform)
{
    const QString title = QString(SaveFilmCommand).remove(QStringLiteral(" …"));
    if (state.forces.RecordCount < 1) {
        platform.dialogs.message("There are no records to film.", title, MessageIcon::Exclamation,
                                 MessageButtons::OK);
        return;
    }
    const QString base =
        state.ForceFile.isEmpty() ? QStringLiteral("pass") : GetBaseName(state.ForceFile);
    const auto path = askSavePath(platform, title, state.DataDir, base + ".mp4",
                                  "MP4 film (*.mp4)|*.mp4", {".mp4"});
    if (!path)
        return;
    FilmWriter writer(findProgram("ffmpeg"));
    const PassDrawing drawing = passDrawingOf(window);
    const int total = passRecordCount(state.forces, drawing.increment);
    QProgressDialog dialog(writer.writesFilm() ? "Writing the film …" : "Writing the frames …",
                           "Cancel", 0, total, &window);
    dialog.setWindowTitle(title);
    dialog.setAccessibleName(title);
    dialog.setWindowModality(Qt::WindowModal);
    dialog.setMinimumDuration(0);
    dialog.setValue(0);
    // Frames the size of the picture on the screen, whole pixels even when scaled.
    const QSize size = window.picVectors->size().expandedTo(QSize(2, 2));
    const FilmResult result =
        writePassFilm(state.forces, drawing, size, writer, *path, [&](int done, int) {
            dialog.setValue(done);
            platform.events.yield();
            return !dialog.wasCanceled();
        });
    dialog.reset();
    if (result.cancelled)
        return;
    if (!result.written) {
        platform.dialogs.message(couldNotWrite(*path, result.error), title, MessageIcon::Critical,
                                 MessageButtons::OK);
        return;
    }
    if (!writer.writesFilm())
        platform.dialogs.message("ffmpeg is not installed, so the pass was written as numbered "
                                 "PNG pictures in " +
                                     QDir::toNativeSeparators(result.path) + ".",
                                 title, MessageIcon::Information, MessageButtons::OK);
}
