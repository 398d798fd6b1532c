#include "platform/ProgramStart.h"

#include "platform/ArgumentText.h"

#include <QDir>

namespace
{
const QStringList TextEditors{"gedit", "mousepad", "kate", "xed", "featherpad", "xdg-open"};
const QStringList Calculators{"gnome-calculator", "kcalc", "galculator", "qalculate-gtk", "xcalc"};
const QStringList Terminals{"x-terminal-emulator", "gnome-terminal", "konsole", "xfce4-terminal",
                            "xterm"};

struct Terminal {
    QString path;
    QString name;
};

Terminal findTerminal(const ProgramLookup& lookup)
{
    for (const QString& name : Terminals) {
        const QString path = lookup.findOnPath(name);
        if (!path.isEmpty())
            return {path, name};
    }
    return {};
}

// The option after which a terminal runs a command given as separate arguments.
QString commandOption(const QString& terminal)
{
    if (terminal == "gnome-terminal")
        return QStringLiteral("--");
    if (terminal == "xfce4-terminal")
        return QStringLiteral("-x");
    return QStringLiteral("-e");
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

QList<StartPlan> editorPlans(const QStringList& files, const QString& dir,
                             const ProgramLookup& lookup)
{
    QList<StartPlan> plans;
    const QStringList visual = splitArgumentText(lookup.variable("VISUAL"));
    if (!visual.isEmpty() && !lookup.findOnPath(visual.first()).isEmpty())
        plans << processPlan(lookup.findOnPath(visual.first()), visual.mid(1) + files, dir);

    const QStringList editor = splitArgumentText(lookup.variable("EDITOR"));
    const Terminal terminal = findTerminal(lookup);
    if (!editor.isEmpty() && !terminal.path.isEmpty() &&
        !lookup.findOnPath(editor.first()).isEmpty()) {
        plans << processPlan(terminal.path,
                             QStringList{commandOption(terminal.name)} + editor + files, dir);
    }

    if (!files.isEmpty())
        plans << desktopPlan(inDirectory(files.first(), dir), dir);

    for (const QString& name : TextEditors) {
        const QString path = lookup.findOnPath(name);
        if (!path.isEmpty()) {
            plans << processPlan(path, files, dir);
            break;
        }
    }
    return plans;
}
} // namespace

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
