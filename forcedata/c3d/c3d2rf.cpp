// c3d2rf: a C3D file's force plate as an Orvane force file, or a list of its plates.

#include "forcedata/c3d/C3dConvert.h"
#include "platform/FileErrors.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace
{

constexpr int ExitWritten = 0;
constexpr int ExitUsage = 1;
constexpr int ExitCannotOpen = 2;
constexpr int ExitDamaged = 3;
constexpr int ExitNoPlate = 4;
constexpr int ExitOutputExists = 5;

constexpr const char* Usage =
    "usage: c3d2rf --list FILE.c3d\n"
    "       c3d2rf [--plate N] [--threshold NEWTONS] [--from S] [--to S] FILE.c3d [OUT.RF]\n";

constexpr const char* Help =
    "Writes one force plate of a C3D file as an Orvane force file (.RF).\n"
    "\n"
    "  --list            one line per plate: number, type, samples, rate, peak Fz\n"
    "  --plate N         the plate to write (default 1)\n"
    "  --threshold N     below this vertical force in newtons the centre of pressure\n"
    "                    and the free moment are written as 0 (default 10)\n"
    "  --from S, --to S  the first and last sample to write (1-based)\n"
    "  --help            this text\n"
    "\n"
    "Forces are the ground reaction on the subject in N (Fz up), the centre of\n"
    "pressure is relative to the plate's centre in cm, the free moment in N m, in the\n"
    "laboratory's axes turned so that Z is vertical. More than 5000 samples are\n"
    "averaged in groups so that 5000 records or fewer remain. Record numbers are the\n"
    "samples' numbers in the file (counted in groups where samples are averaged).\n"
    "OUT.RF defaults to the file's name in upper case (with _P and the plate number\n"
    "for plates other than 1) in the current directory; an existing file is never\n"
    "replaced.\n"
    "\n"
    "Exit status: 0 written, 1 usage, 2 the file cannot be opened, 3 not a C3D file\n"
    "or damaged, 4 no such plate, 5 the output file exists.\n";

int usage(const char* problem)
{
    std::fprintf(stderr, "c3d2rf: %s\n%s", problem, Usage);
    return ExitUsage;
}

bool wholeNumber(const char* text, long long& value)
{
    char* end = nullptr;
    errno = 0;
    value = std::strtoll(text, &end, 10);
    return errno == 0 && end != text && *end == '\0';
}

} // namespace

int main(int argc, char** argv)
{
    bool list = false;
    c3d::ConvertOptions options;
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool valued =
            arg == "--plate" || arg == "--threshold" || arg == "--from" || arg == "--to";
        if (arg == "--help" || arg == "-h") {
            std::fputs(Usage, stdout);
            std::fputs(Help, stdout);
            return ExitWritten;
        }
        if (arg == "--list") {
            list = true;
        } else if (valued) {
            if (i + 1 >= argc)
                return usage((arg + " needs a value").c_str());
            const char* value = argv[++i];
            long long number = 0;
            if (arg == "--threshold") {
                char* end = nullptr;
                const double t = std::strtod(value, &end);
                if (end == value || *end != '\0' || !std::isfinite(t) || t < 0)
                    return usage("--threshold needs a number of newtons, 0 or more");
                options.threshold = t;
            } else if (!wholeNumber(value, number) || number < 1 ||
                       (arg == "--plate" && number > 255)) {
                return usage((arg + " needs a whole number from 1").c_str());
            } else if (arg == "--plate") {
                options.plate = static_cast<int>(number);
            } else if (arg == "--from") {
                options.from = number;
            } else {
                options.to = number;
            }
        } else if (arg.size() > 1 && arg[0] == '-' && arg != "-") {
            return usage(("unknown option " + arg).c_str());
        } else {
            files.push_back(arg);
        }
    }
    if (files.empty() || files.size() > (list ? 1u : 2u))
        return usage(files.empty() ? "no C3D file named" : "too many file names");

    const std::string& path = files[0];
    c3d::FileBytes bytes;
    if (const int error = bytes.open(path); error != FileError::None) {
        std::fprintf(stderr, "c3d2rf: %s: %s (%d)\n", path.c_str(), fileErrorText(error).c_str(),
                     error);
        return ExitCannotOpen;
    }
    const std::string out = files.size() > 1 ? files[1] : c3d::outputName(path, options.plate);
    try {
        c3d::Trial trial = c3d::openTrial(bytes);
        if (list) {
            if (trial.plates.plates.empty()) {
                std::fprintf(stderr, "c3d2rf: %s: the file has no force plates\n", path.c_str());
                return ExitNoPlate;
            }
            for (const c3d::PlateInfo& info : c3d::surveyPlates(bytes, trial))
                std::printf("%s\n", c3d::plateLine(info).c_str());
            for (const c3d::Plate& plate : trial.plates.plates)
                for (const std::string& note : plate.notes)
                    std::fprintf(stderr, "c3d2rf: %s\n", note.c_str());
            return std::fflush(stdout) == 0 ? ExitWritten : ExitUsage;
        }
        if (openForReadingError(out) != FileError::FileNotFound &&
            openForReadingError(out) != FileError::PathNotFound) {
            std::fprintf(stderr, "c3d2rf: %s exists; it is not replaced\n", out.c_str());
            return ExitOutputExists;
        }
        options.title = c3d::baseName(path) + " plate " + std::to_string(options.plate);
        const c3d::Conversion conversion = c3d::convertPlate(bytes, trial, options);
        for (const std::string& note : conversion.notes)
            std::fprintf(stderr, "c3d2rf: %s\n", note.c_str());
        if (const std::string note = c3d::decimationNote(conversion); !note.empty())
            std::fprintf(stderr, "c3d2rf: %s\n", note.c_str());
        const int error = c3d::writeNewFile(out, c3d::forceFileText(conversion));
        if (error == FileError::FileAlreadyExists) {
            std::fprintf(stderr, "c3d2rf: %s exists; it is not replaced\n", out.c_str());
            return ExitOutputExists;
        }
        if (error != FileError::None) {
            std::fprintf(stderr, "c3d2rf: %s: %s (%d)\n", out.c_str(), fileErrorText(error).c_str(),
                         error);
            return ExitUsage;
        }
        return ExitWritten;
    } catch (const c3d::NoPlateError& e) {
        std::fprintf(stderr, "c3d2rf: %s: %s\n", path.c_str(), e.what());
        return ExitNoPlate;
    } catch (const c3d::RangeError& e) {
        return usage(e.what());
    } catch (const c3d::FormatError& e) {
        std::fprintf(stderr, "c3d2rf: %s: not a C3D file or damaged: %s\n", path.c_str(), e.what());
        return ExitDamaged;
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "c3d2rf: %s: not a C3D file or damaged: too large\n", path.c_str());
        return ExitDamaged;
    }
}
