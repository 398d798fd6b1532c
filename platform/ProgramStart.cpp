#include "platform/ProgramStart.h"

#include "platform/ArgumentText.h"

#include <QDir>

namespace
{
const QStringList Calculators{"gnome-calculator", "kcalc", "galculator", "qalculate-gtk", "xcalc"};

struct Terminal {
    QString path;
    QString name;
};

Terminal findTerminal(const ProgramLookup& lookup)
{
    for (const QString& name : terminalEmulators()) {
        const QString path = lookup.findOnPath(name);
        if (!path.isEmpty())
            return {path, name};
    }
    return {};
}

QString maximiseOption(const QString& terminal)
{
    if (terminal == "gnome-terminal" || terminal == "xfce4-terminal")
        return QStringLiteral("--maximize");
    if (terminal == "xterm")
        return QStringLiteral("-maximized");
    return {};
}

StartPlan processPlan(const QString& program, const QStringList& arguments, const QString& dir)
{
    StartPlan plan;
    plan.program = program;
    plan.arguments = arguments;
    plan.workingDir = dir;
    return plan;
}

StartPlan desktopPlan(const QString& target, const QString& dir)
{
    StartPlan plan;
    plan.kind = StartPlan::OpenWithDesktop;
    plan.target = target;
    plan.workingDir = dir;
    return plan;
}

QString inDirectory(const QString& name, const QString& dir)
{
    return QDir::isAbsolutePath(name) ? name : QDir(dir).absoluteFilePath(name);
}

// A file name a terminal editor could take for an option is given as a path.
QString asFileArgument(const QString& name)
{
    return name.startsWith(u'-') || name.startsWith(u'+') ? "./" + name : name;
}

QList<StartPlan> editorPlans(const QStringList& files, const QString& dir,
                             const ProgramLookup& lookup)
{
    QStringList named;
    QStringList whole; // graphical editors may run in another directory: full paths
    for (const QString& file : files) {
        named << asFileArgument(file);
        whole << inDirectory(file, dir);
    }

    QList<StartPlan> plans;
    const QStringList visual = splitArgumentText(lookup.variable("VISUAL"));
    if (!visual.isEmpty() && !lookup.findOnPath(visual.first()).isEmpty())
        plans << processPlan(lookup.findOnPath(visual.first()), visual.mid(1) + named, dir);

    const QStringList editor = splitArgumentText(lookup.variable("EDITOR"));
    const Terminal terminal = findTerminal(lookup);
    if (!editor.isEmpty() && !terminal.path.isEmpty() &&
        !lookup.findOnPath(editor.first()).isEmpty()) {
        plans << processPlan(
            terminal.path, QStringList{terminalCommandOption(terminal.name)} + editor + named, dir);
    }

    // Asking the desktop takes a moment; the user's own editor needs no answer from it.
    const QString textDefault =
        plans.isEmpty() && lookup.textDefault ? lookup.textDefault() : QString();
    const QStringList desktop = desktopCommand(textDefault, whole);
    if (!desktop.isEmpty() && !lookup.findOnPath(desktop.first()).isEmpty())
        plans << processPlan(lookup.findOnPath(desktop.first()), desktop.mid(1), dir);

    for (const QString& name : desktopTextEditors()) {
        const QString path = lookup.findOnPath(name);
        if (!path.isEmpty()) {
            plans << processPlan(path, whole, dir);
            break;
        }
    }

    // Last, whatever the desktop opens this kind of file with.
    if (!files.isEmpty())
        plans << desktopPlan(whole.first(), dir);
    return plans;
}

// Undoes the escapes of a desktop entry's value: \s \n \t \r and \\.
QString unescapeEntryValue(const QString& value)
{
    QString out;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] != u'\\' || i + 1 >= value.size()) {
            out += value[i];
            continue;
        }
        const QChar next = value[++i];
        if (next == u's')
            out += u' ';
        else if (next == u'n')
            out += u'\n';
        else if (next == u't')
            out += u'\t';
        else if (next == u'r')
            out += u'\r';
        else if (next == u'\\')
            out += u'\\';
        else
            out += QString(u'\\') + next; // left for the Exec line's own quoting
    }
    return out;
}

// Splits an Exec line: blanks separate, double quotes group, and inside them a
// backslash takes the next character literally.
QStringList splitExecLine(const QString& exec)
{
    QStringList words;
    QString current;
    bool inWord = false;
    bool inQuotes = false;
    for (qsizetype i = 0; i < exec.size(); ++i) {
        const QChar c = exec[i];
        if (inQuotes) {
            if (c == u'"')
                inQuotes = false;
            else if (c == u'\\' && i + 1 < exec.size())
                current += exec[++i];
            else
                current += c;
            continue;
        }
        if (c == u'"') {
            inQuotes = true;
            inWord = true;
        } else if (c == u' ' || c == u'\t') {
            if (inWord)
                words << current;
            current.clear();
            inWord = false;
        } else {
            current += c;
            inWord = true;
        }
    }
    if (inWord)
        words << current;
    return words;
}
} // namespace

const QStringList& desktopTextEditors()
{
    static const QStringList editors{"gnome-text-editor", "gedit",   "kwrite", "kate",
                                     "mousepad",          "pluma",   "xed",    "featherpad",
                                     "l3afpad",           "leafpad", "geany"};
    return editors;
}

const QStringList& terminalEmulators()
{
    static const QStringList terminals{"x-terminal-emulator", "gnome-terminal", "konsole",
                                       "xfce4-terminal", "xterm"};
    return terminals;
}

QString terminalCommandOption(const QString& terminal)
{
    if (terminal == "gnome-terminal")
        return QStringLiteral("--");
    if (terminal == "xfce4-terminal")
        return QStringLiteral("-x");
    return QStringLiteral("-e");
}

QString desktopEntryExec(const QByteArray& contents)
{
    bool inEntry = false;
    for (const QByteArray& raw : contents.split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.startsWith(u'[')) {
            inEntry = line == "[Desktop Entry]";
            continue;
        }
        if (!inEntry || !line.startsWith("Exec"))
            continue;
        const qsizetype equals = line.indexOf(u'=');
        if (equals < 0 || line.left(equals).trimmed() != "Exec")
            continue;
        return unescapeEntryValue(line.mid(equals + 1).trimmed());
    }
    return {};
}

QStringList desktopCommand(const QString& exec, const QStringList& files)
{
    QStringList command;
    bool placed = false;
    for (const QString& word : splitExecLine(exec)) {
        if (word == "%f" || word == "%u") {
            if (!files.isEmpty())
                command << files.first();
            placed = true;
        } else if (word == "%F" || word == "%U") {
            command << files;
            placed = true;
        } else if (word.size() == 2 && word.startsWith(u'%')) {
            if (word == "%%")
                command << QStringLiteral("%");
            // %i %c %k and the retired codes stand for nothing here.
        } else {
            QString text = word;
            text.replace("%%", "%");
            command << text;
        }
    }
    if (command.isEmpty())
        return {};
    if (!placed)
        command << files;
    return command;
}

bool isAccessoryName(const QString& program)
{
    static const QStringList names{"notepad.exe", "calc.exe", "command.com", "explorer.exe"};
    return names.contains(program, Qt::CaseInsensitive);
}

QList<StartPlan> accessoryPlans(const QString& program, const QStringList& arguments,
                                const QString& workingDir, bool maximised,
                                const ProgramLookup& lookup)
{
    const QString name = program.toLower();
    if (name == "notepad.exe")
        return editorPlans(arguments, workingDir, lookup);

    if (name == "calc.exe") {
        for (const QString& calculator : Calculators) {
            const QString path = lookup.findOnPath(calculator);
            if (!path.isEmpty())
                return {processPlan(path, {}, workingDir)};
        }
        return {};
    }

    if (name == "command.com") {
        const Terminal terminal = findTerminal(lookup);
        if (terminal.path.isEmpty())
            return {};
        QStringList options;
        if (maximised && !maximiseOption(terminal.name).isEmpty())
            options << maximiseOption(terminal.name);
        return {processPlan(terminal.path, options, workingDir)};
    }

    if (name == "explorer.exe") {
        const QString target =
            arguments.isEmpty() ? workingDir : inDirectory(arguments.first(), workingDir);
        return {desktopPlan(target, workingDir)};
    }
    return {};
}

bool startsLikeProgram(const QByteArray& firstBytes)
{
    return firstBytes.startsWith("#!") || firstBytes.startsWith("\x7f"
                                                                "ELF");
}
