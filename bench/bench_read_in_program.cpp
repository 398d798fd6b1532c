// Reading a 5000-record force file in the real program: the main window and the live
// progress dialog on a real display (run it under Xvfb), events processed after every
// record as the user would see them.

#include "core/SharedState.h"
#include "forcedata/frmReading.h"
#include "main/frmOrvane.h"
#include "platform/QtPlatform.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdio>

namespace
{
QByteArray fiveThousandRecords()
{
    QByteArray text = QByteArray("BENCH TRIAL").leftJustified(60, ' ') + "      1000\r\n" +
                      QByteArray("SUBJECT").leftJustified(60, ' ') + "     700.0\r\n\r\n";
    char card[96];
    for (int i = 1; i <= 5000; ++i) {
        const double t = i / 5000.0;
        std::snprintf(card, sizeof card, "%10.4f%10.4f%10.4f%10.4f%10.4f%10.4f%10.4f%9d\r\n",
                      20 * std::sin(6.28 * t), -80 * std::cos(3.14 * t), 800 * std::sin(3.14 * t),
                      5 + 20 * t, 25.0, 1.5, 0.0, i);
        text += card;
    }
    return text;
}

void ReadInProgram(benchmark::State& state)
{
    QTemporaryDir dir;
    QFile file(dir.filePath("BENCH.RF"));
    file.open(QIODevice::WriteOnly);
    file.write(fiveThousandRecords());
    file.close();

    static SharedState shared;
    QtPlatform services;
    frmOrvane window(shared, services.platform());
    shared.DataDir = dir.path();
    shared.ForceFile = "BENCH.RF";
    shared.FileType = "RF";
    window.show();
    QApplication::processEvents();
    for (auto _ : state) {
        window.ReadRF();
        if (shared.forces.RecordCount != 5000)
            state.SkipWithError("the read did not give 5000 records");
        if (frmReading* dialog = window.readingDialog())
            dialog->close();
        QApplication::processEvents();
    }
}
BENCHMARK(ReadInProgram)->Unit(benchmark::kMillisecond)->Iterations(10);
} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
