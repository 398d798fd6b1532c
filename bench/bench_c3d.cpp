// A C3D file's force plate imported: the conversion alone, and the import in the
// real program (the import window, the force file written, chosen and read with the
// progress dialog live; run it under Xvfb, bench/c3d_import.sh). The file is
// $ORVANE_C3D, else one built here of the same shape as a typical gait trial: two
// eight-channel plates, 3969 frames of ten analog samples at 600 Hz (1.3 MB).

#include "C3dTestFiles.h"
#include "core/SharedState.h"
#include "forcedata/c3d/C3dConvert.h"
#include "forcedata/c3d/frmImportC3D.h"
#include "main/frmOrvane.h"
#include "platform/QtPlatform.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdlib>
#include <fstream>

namespace
{

std::string gaitTrial()
{
    using namespace c3dtest;
    FileShape s;
    s.points = 0;
    s.channels = 16;
    s.samplesPerFrame = 10;
    s.frames = 3969;
    s.pointRate = 60;
    s.scale.assign(16, 0.04);
    PlateSetup plate;
    s.value = [plate](int c, int i) {
        Load l;
        const double stance = std::max(0.0, std::sin(i * 0.002));
        l.grf = {20 * stance, -60 * stance, 800 * stance};
        l.ax = 10 * std::cos(i * 0.001);
        const std::vector<double> v = type3Channels(plate, l, 210, 260, 41);
        return v[static_cast<std::size_t>(c % 8)];
    };
    std::vector<double> channel, cornerList;
    for (int c = 1; c <= 16; ++c)
        channel.push_back(c);
    for (int p = 0; p < 2; ++p)
        for (double v : corners(plate))
            cornerList.push_back(v + (p ? 600 : 0));
    s.params = {number("FORCE_PLATFORM", "USED", {2}, {}, 2),
                number("FORCE_PLATFORM", "TYPE", {3, 3}, {2}, 2),
                number("FORCE_PLATFORM", "CHANNEL", channel, {8, 2}, 2),
                number("FORCE_PLATFORM", "CORNERS", cornerList, {3, 4, 2}),
                number("FORCE_PLATFORM", "ORIGIN", {210, 260, -41, 210, 260, -41}, {3, 2})};
    return build(s);
}

QString trialPath(const QTemporaryDir& dir)
{
    if (const char* given = std::getenv("ORVANE_C3D"))
        return QFileInfo(given).absoluteFilePath();
    const QString path = dir.filePath("gait.c3d");
    std::ofstream(path.toStdString(), std::ios::binary) << gaitTrial();
    return path;
}

void ConvertPlate(benchmark::State& state)
{
    QTemporaryDir dir;
    const std::string path = trialPath(dir).toStdString();
    for (auto _ : state) {
        c3d::FileBytes bytes;
        bytes.open(path);
        c3d::Trial trial = c3d::openTrial(bytes);
        const c3d::Conversion out = c3d::convertPlate(bytes, trial, {});
        benchmark::DoNotOptimize(c3d::forceFileText(out));
    }
}
BENCHMARK(ConvertPlate)->Unit(benchmark::kMillisecond);

void ImportInProgram(benchmark::State& state)
{
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) {
        state.SkipWithError("needs a display (bench/c3d_import.sh)");
        return;
    }
    QTemporaryDir dir;
    const QString c3dPath = trialPath(dir);
    static SharedState shared;
    QtPlatform services;
    frmOrvane window(shared, services.platform());
    window.enterDataDirectory(dir.path());
    window.show();
    QApplication::processEvents();
    for (auto _ : state) {
        frmImportC3D* dialog = window.importC3D(c3dPath);
        if (!dialog || !dialog->cmdImport_Click() || shared.forces.RecordCount < 1) {
            state.SkipWithError("the import failed");
            break;
        }
        state.PauseTiming();
        dialog->close();
        QFile::remove(QDir(dir.path()).filePath(shared.ForceFile));
        if (frmReading* reading = window.readingDialog())
            reading->close();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(ImportInProgram)->Unit(benchmark::kMillisecond)->Iterations(10);

} // namespace

int main(int argc, char** argv)
{
    // The conversion alone runs without a display; the import needs one.
    std::unique_ptr<QCoreApplication> app;
    if (std::getenv("DISPLAY"))
        app = std::make_unique<QApplication>(argc, argv);
    else
        app = std::make_unique<QCoreApplication>(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
