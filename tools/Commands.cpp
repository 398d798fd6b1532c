#include "tools/Commands.h"

#include "platform/ArgumentText.h"

QString argumentName(const QString& name)
{
    // No name stays no argument at all.
    return name.isEmpty() ? name : joinArguments({name});
}

ToolArguments switchesAndName(const QString& switches, const QString& name)
{
    ToolArguments arguments{switches, splitArgumentText(switches)};
    if (name.isEmpty())
        return arguments;
    // A name run into the switches would not split back into itself.
    if (!switches.isEmpty() && !switches.back().isSpace())
        arguments.text += u' ';
    arguments.text += argumentName(name);
    arguments.list << name;
    return arguments;
}

ToolArguments analysisArguments(const QString& switches, const QString& shortName)
{
    return switchesAndName(switches + " ", shortName);
}

ToolArguments historyArguments(int item, const QString& shortName)
{
    if (item < 0 || item >= static_cast<int>(HistorySwitches.size()))
        return {};
    return switchesAndName(QString::fromLatin1(HistorySwitches[item]), shortName);
}

QString runToolLabel(const QString& toolPath, const QString& arguments)
{
    return (toolPath + " " + arguments).toLower();
}

QString outputQuestion(const QString& toolName, const QString& lf)
{
    return "Do you want to view the output produced by the program, " + lf + toolName.toUpper() +
           ".  If so, click Yes to view the output?";
}

QString signatureSwitches(const SignatureChoice& c)
{
    QString text = " ";
    if (c.plate == 0)
        text += "/k";
    else if (c.plate == 1)
        text += "/m";
    if (c.view == 0)
        text += "/1/z";
    else if (c.view == 1)
        text += "/2/z";
    else if (c.view == 2)
        text += "/3";
    if (c.foot != 0)
        text += "/f";
    if (c.colour != 0)
        text += "/c";
    if (c.graphics != 0)
        text += "/a";
    if (c.axes != 0)
        text += "/d";
    if (c.skip != 0)
        text += "/s";
    // The signature tool knows no switch of its own for this; it has always been
    // given the default-axes switch, and its callers rely on that.
    if (c.dirCorr != 0)
        text += "/d";
    return text;
}

ToolArguments signatureArguments(const QString& switches, const QString& shortName)
{
    return switchesAndName(switches + " ", shortName);
}

int footprintAfterView(int view, int foot)
{
    if (view == 0 && foot != 0)
        return 2;
    if (foot == 2)
        return 1;
    return foot;
}

QString plotPrinterTool(int16_t plotPrinter)
{
    return plotPrinter != 0 ? QStringLiteral("hardcpw.exe") : QStringLiteral("hardcpd.exe");
}

ToolArguments modelRewriteArguments(const QString& trialName)
{
    return switchesAndName(" /C/R/M/F/G ", trialName);
}

ToolArguments addForcesArguments(const QString& trialName)
{
    return switchesAndName(" /F ", trialName);
}

ToolArguments fileArguments(const QString& fileName)
{
    return switchesAndName(" ", fileName);
}

QString arielExtension(int item)
{
    if (item == 0)
        return QStringLiteral(".3d");
    return "." + QString::number(item) + "t";
}

ToolArguments arielArguments(const QString& shortName)
{
    return switchesAndName(" /A ", shortName);
}

QString animateExtension(int item)
{
    static constexpr std::array<const char*, 4> extensions = {".dg", ".cn", ".km", ".sn"};
    if (item < 0 || item >= static_cast<int>(extensions.size()))
        return {};
    return QString::fromLatin1(extensions[item]);
}

ToolArguments animateArguments(const QString& targetName)
{
    return switchesAndName(QString::fromLatin1(AnimateSwitches) + " ", targetName);
}

ToolArguments cdaArguments(const QString& cdaFile)
{
    return switchesAndName(" /A ", cdaFile);
}

QString renameErrorText(const QString& forceFile, int number, const QString& description,
                        const QString& lf)
{
    return "Error renaming file: " + forceFile + lf + lf + "Error was: \"" + description + "\"  (" +
           QString::number(number) + ")";
}

QString copyErrorText(int number, const QString& description, const QString& lf)
{
    // A full disk is no fault of the name given; the user needs room or another disk.
    return "Error " + QString::number(number) + ".  " + description + lf +
           (number == 61 ? "Free some space on that disk, or choose a destination on another disk."
                         : "You must specify a complete destination file name.");
}
