// c3d2rf: a C3D file's force plate as an Orvane force file, or a list of its plates.

#include "forcedata/c3d/C3dConvert.h"
#include "platform/FileErrors.h"

#include <algorithm>
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
constexpr int ExitCannotWrite = 6;

constexpr const char* Usage =
    "usage: c3d2rf --list FILE.c3d\n"
    "       c3d2rf [--plate N] [--threshold NEWTONS] [--from S] [--to S] FILE.c3d [OUT.RF]\n"
    "       c3d2rf --all [--threshold NEWTONS] [--from S] [--to S] FILE.c3d\n";

constexpr const char* Help =
    "Writes one force plate of a C3D file as an Orvane force file (.RF).\n"
    "\n"
    "  --list            one line per plate: number, type, samples, rate, peak Fz\n"
    "  --plate N         the plate to write (default 1)\n"
    "  --all             every plate with a load (a vertical force of at least the\n"
    "                    threshold), each to NAME_Pn.RF; nothing is written when\n"
    "                    any of those files exists\n"
    "  --threshold N     below this vertical force in newtons the centre of pressure\n"
    "                    and the free moment are written as 0 (default 10)\n"
    "  --from S, --to S  the first and last sample to write (1-based)\n"
    "  --help            this text\n"
    "\n"
    "Forces are the ground reaction on the subject in N (Fz up), the centre of\n"
    "pressure is relative to the plate's centre in cm, the free moment in N m, in the\n"
    "laboratory's axes turned so that Z is vertical at each plate. Whether the file's\n"
    "channels give the load on the plate or the force on the subject is decided from\n"
    "the plate's whole recording and said on standard error. More than 5000 samples\n"
    "are averaged in groups so that 5000 records or fewer remain. Record numbers are\n"
    "the samples' numbers in the file (counted in groups where samples are averaged).\n"
    "OUT.RF defaults to the file's name in upper case (with _P and the plate number\n"
    "for plates other than 1) in the current directory; an existing file is never\n"
    "replaced.\n"
    "\n"
    "Exit status: 0 written, 1 usage, 2 the file cannot be opened, 3 not a C3D file\n"
    "or damaged, 4 no such plate (or no loaded plate for --all), 5 the output file\n"
    "exists, 6 the output could not be written.\n";

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

bool exists(const std::string& path)
{
    const int error = openForReadingError(path);
    return error != FileError::FileNotFound && error != FileError::PathNotFound;
}

int cannotWrite(const std::string& out, int error)
{
    std::fprintf(stderr, "c3d2rf: %s: could not write: %s (%d)\n", out.c_str(),
                 fileErrorText(error).c_str(), error);
    return ExitCannotWrite;
}

void say(const c3d::Conversion& conversion)
{
    for (const std::string& note : conversion.notes)
        std::fprintf(stderr, "c3d2rf: %s\n", note.c_str());
    if (!conversion.senseNote.empty())
        std::fprintf(stderr, "c3d2rf: %s\n", conversion.senseNote.c_str());
    if (const std::string note = c3d::decimationNote(conversion); !note.empty())
        std::fprintf(stderr, "c3d2rf: %s\n", note.c_str());
}

// Every loaded plate, each to its own file; all names are checked before the first
// is written, and a failure takes back what was written.
int writeAll(const c3d::Bytes& bytes, c3d::Trial& trial, const std::string& path,
             c3d::ConvertOptions options)
{
    const std::vector<c3d::PlateInfo> infos = c3d::surveyPlates(bytes, trial);
    const std::vector<int> loaded = c3d::loadedPlates(infos, std::max(options.threshold, 1e-9));
    if (loaded.empty()) {
        std::fprintf(stderr, "c3d2rf: %s: no plate carries a load of %g N or more\n", path.c_str(),
                     options.threshold);
        return ExitNoPlate;
    }
    std::vector<std::string> names;
    for (int plate : loaded)
        names.push_back(c3d::outputName(path, plate, true));
    int existing = 0;
    for (const std::string& name : names)
        if (exists(name)) {
            std::fprintf(stderr, "c3d2rf: %s exists; it is not replaced\n", name.c_str());
            ++existing;
        }
    if (existing > 0) {
        std::fprintf(stderr, "c3d2rf: nothing is written\n");
        return ExitOutputExists;
    }
    std::vector<std::string> texts;
    for (int plate : loaded) {
        options.plate = plate;
        options.title = c3d::baseName(path) + " plate " + std::to_string(plate);
        const c3d::Conversion conversion = c3d::convertPlate(bytes, trial, options);
        say(conversion);
        texts.push_back(c3d::forceFileText(conversion));
    }
    for (std::size_t i = 0; i < names.size(); ++i) {
        const int error = c3d::writeNewFile(names[i], texts[i]);
        if (error != FileError::None) {
            for (std::size_t j = 0; j < i; ++j)
                std::remove(names[j].c_str());
            if (error == FileError::FileAlreadyExists) {
                std::fprintf(stderr, "c3d2rf: %s exists; nothing is written\n", names[i].c_str());
                return ExitOutputExists;
            }
            return cannotWrite(names[i], error);
        }
        std::fprintf(stderr, "c3d2rf: plate %d written to %s\n", loaded[i], names[i].c_str());
    }
    return ExitWritten;
}

} // namespace

int main(int argc, char** argv)
{
    bool list = false, all = false, plateGiven = false;
    c3d::ConvertOptions options;
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool valued =
            arg == "--plate" || arg == "--threshold" || arg == "--from" || arg == "--to";
        if (arg == "--help" || arg == "-h") {
            std::fputs(Usage, stdout);
            std::fputs(Help, stdout);
            return std::fflush(stdout) == 0 ? ExitWritten : ExitCannotWrite;
        }
        if (arg == "--list") {
            list = true;
        } else if (arg == "--all") {
            all = true;
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
            } else if (arg == "--plate") {
                // Any whole number names a plate; one the file lacks is said as such.
                if (!wholeNumber(value, number))
                    return usage("--plate needs a whole number");
                options.plate = static_cast<int>(std::clamp<long long>(number, -1, 100000));
                plateGiven = true;
            } else if (!wholeNumber(value, number) || number < 1) {
                return usage((arg + " needs a whole number from 1").c_str());
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
    if (list && all)
        return usage("--list and --all exclude each other");
    if (all && plateGiven)
        return usage("--all writes every loaded plate; leave out --plate");
    if (files.empty() || files.size() > (list || all ? 1u : 2u))
        return usage(files.empty() ? "no C3D file named" : "too many file names");

    const std::string& path = files[0];
    c3d::FileBytes bytes;
    if (const int error = bytes.open(path); error != FileError::None) {
        std::fprintf(stderr, "c3d2rf: %s: %s (%d)\n", path.c_str(), fileErrorText(error).c_str(),
                     error);
        return ExitCannotOpen;
    }
    try {
        c3d::Trial trial = c3d::openTrial(bytes);
        if (trial.plates.plates.empty()) {
            std::fprintf(stderr, "c3d2rf: %s: the file has no force plates\n", path.c_str());
            return ExitNoPlate;
        }
        if (list) {
            const std::vector<c3d::PlateInfo> infos = c3d::surveyPlates(bytes, trial);
            for (const c3d::PlateInfo& info : infos)
                std::printf("%s\n", c3d::plateLine(info).c_str());
            for (const c3d::Plate& plate : trial.plates.plates)
                for (const std::string& note : plate.notes)
                    std::fprintf(stderr, "c3d2rf: %s\n", note.c_str());
            for (const c3d::PlateInfo& info : infos)
                if (!info.senseNote.empty())
                    std::fprintf(stderr, "c3d2rf: %s\n", info.senseNote.c_str());
            if (std::fflush(stdout) != 0)
                return cannotWrite("standard output", fileErrorFromErrno(errno, "-"));
            return ExitWritten;
        }
        if (all)
            return writeAll(bytes, trial, path, options);
        const int count = static_cast<int>(trial.plates.plates.size());
        if (options.plate < 1 || options.plate > count) {
            std::fprintf(stderr, "c3d2rf: %s: there is no plate %d; the file has %d\n",
                         path.c_str(), options.plate, count);
            return ExitNoPlate;
        }
        const std::string out = files.size() > 1 ? files[1] : c3d::outputName(path, options.plate);
        if (exists(out)) {
            std::fprintf(stderr, "c3d2rf: %s exists; it is not replaced\n", out.c_str());
            return ExitOutputExists;
        }
        options.title = c3d::baseName(path) + " plate " + std::to_string(options.plate);
        const c3d::Conversion conversion = c3d::convertPlate(bytes, trial, options);
        say(conversion);
        const int error = c3d::writeNewFile(out, c3d::forceFileText(conversion));
        if (error == FileError::FileAlreadyExists) {
            std::fprintf(stderr, "c3d2rf: %s exists; it is not replaced\n", out.c_str());
            return ExitOutputExists;
        }
        if (error != FileError::None)
            return cannotWrite(out, error);
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
