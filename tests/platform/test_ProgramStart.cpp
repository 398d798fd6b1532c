#include "platform/ProgramStart.h"
#include "platform/QtPlatform.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>
#include <QThread>

#include <iterator>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

namespace
{

// What is "installed" for the accessory rules: programs on PATH and variables.
struct Installed {
    QMap<QString, QString> variables;
    QStringList programs;
    QString textDefault; // the Exec line of the desktop's editor for plain text

    ProgramLookup lookup() const
    {
        return {[this](const QString& name) { return variables.value(name); },
                [this](const QString& name) {
                    if (name.startsWith(u'/'))
                        return programs.contains(name) ? name : QString();
                    return programs.contains(name) ? "/usr/bin/" + name : QString();
                },
                [this] { return textDefault; }};
    }
};

struct Plan {
    StartPlan::Kind kind;
    QString programOrTarget;
    QStringList arguments;
};

void expectPlans(const QList<StartPlan>& plans, const QList<Plan>& expected, const char* what)
{
    ASSERT_EQ(plans.size(), expected.size()) << what;
    for (qsizetype i = 0; i < plans.size(); ++i) {
        EXPECT_EQ(plans[i].kind, expected[i].kind) << what << " " << i;
        const QString got =
            plans[i].kind == StartPlan::Process ? plans[i].program : plans[i].target;
        EXPECT_EQ(got, expected[i].programOrTarget) << what << " " << i;
        EXPECT_EQ(plans[i].arguments, expected[i].arguments) << what << " " << i;
        EXPECT_EQ(plans[i].workingDir, "/data") << what;
    }
}

TEST(ProgramStart, AccessoryNamesAreKnownInAnyCaseButNeverWithADirectory)
{
    for (const char* name :
         {"notepad.exe", "NOTEPAD.EXE", "Notepad.exe", "calc.exe", "command.com", "explorer.exe"})
        EXPECT_TRUE(isAccessoryName(name)) << name;
    for (const char* name : {"notepad", "/opt/orvane/notepad.exe", "chronel.exe", ""})
        EXPECT_FALSE(isAccessoryName(name)) << name;
}

TEST(ProgramStart, NotepadBecomesTheUsersTextEditor)
{
    const StartPlan::Kind P = StartPlan::Process;
    const StartPlan::Kind D = StartPlan::OpenWithDesktop;
    struct Case {
        const char* what;
        Installed installed;
        QList<Plan> plans;
    };
    const Case cases[] = {
        {"VISUAL with its own options",
         {{{"VISUAL", "gvim -f"}}, {"gvim", "gedit"}, {}},
         {{P, "/usr/bin/gvim", {"-f", "run.out"}},
          {P, "/usr/bin/gedit", {"/data/run.out"}},
          {D, "/data/run.out", {}}}},
        {"EDITOR in the first terminal found",
         {{{"EDITOR", "nano"}}, {"nano", "xterm", "konsole"}, {}},
         {{P, "/usr/bin/konsole", {"-e", "nano", "run.out"}}, {D, "/data/run.out", {}}}},
        {"gnome-terminal takes the command after --",
         {{{"EDITOR", "nano"}}, {"nano", "gnome-terminal"}, {}},
         {{P, "/usr/bin/gnome-terminal", {"--", "nano", "run.out"}}, {D, "/data/run.out", {}}}},
        {"an editor that is not installed is passed over",
         {{{"VISUAL", "nothere"}, {"EDITOR", "nano"}}, {"mousepad"}, {}},
         {{P, "/usr/bin/mousepad", {"/data/run.out"}}, {D, "/data/run.out", {}}}},
        {"the desktop's editor for plain text comes before the list",
         {{}, {"gnome-text-editor", "kate"}, "gnome-text-editor %U"},
         {{P, "/usr/bin/gnome-text-editor", {"/data/run.out"}},
          {P, "/usr/bin/gnome-text-editor", {"/data/run.out"}},
          {D, "/data/run.out", {}}}},
        {"the user's own editor needs no desktop editor",
         {{{"VISUAL", "gvim"}}, {"gvim", "kate"}, "kate %U"},
         {{P, "/usr/bin/gvim", {"run.out"}},
          {P, "/usr/bin/kate", {"/data/run.out"}},
          {D, "/data/run.out", {}}}},
        {"a desktop editor that is not installed is passed over",
         {{}, {"kate"}, "/opt/gone/editor %f"},
         {{P, "/usr/bin/kate", {"/data/run.out"}}, {D, "/data/run.out", {}}}},
        {"GNOME's editor is among those looked for",
         {{}, {"xdg-open", "gnome-text-editor"}, {}},
         {{P, "/usr/bin/gnome-text-editor", {"/data/run.out"}}, {D, "/data/run.out", {}}}},
        {"xdg-open alone is no editor", {{}, {"xdg-open"}, {}}, {{D, "/data/run.out", {}}}},
    };
    for (const Case& c : cases)
        expectPlans(
            accessoryPlans("notepad.exe", {"run.out"}, "/data", false, c.installed.lookup()),
            c.plans, c.what);
}

TEST(ProgramStart, NotepadWithoutAFileStartsAnEditorOrNothing)
{
    const StartPlan::Kind P = StartPlan::Process;
    const Installed desktop{{}, {"mousepad"}, "mousepad %F"};
    const Installed onlyOpener{{}, {"xdg-open"}, {}};
    expectPlans(accessoryPlans("notepad.exe", {}, "/data", false, desktop.lookup()),
                {{P, "/usr/bin/mousepad", {}}, {P, "/usr/bin/mousepad", {}}}, "editor");
    // Nothing that can open a file: no start at all, so the user is told.
    expectPlans(accessoryPlans("notepad.exe", {}, "/data", false, onlyOpener.lookup()), {},
                "nothing");
}

TEST(ProgramStart, FileNamesThatLookLikeOptionsReachTheEditorAsFiles)
{
    const StartPlan::Kind P = StartPlan::Process;
    const StartPlan::Kind D = StartPlan::OpenWithDesktop;
    const Installed vi{{{"VISUAL", "vi"}}, {"vi"}, {}};
    expectPlans(accessoryPlans("notepad.exe", {"-R.cfb", "+1 x.dg"}, "/data", false, vi.lookup()),
                {{P, "/usr/bin/vi", {"./-R.cfb", "./+1 x.dg"}}, {D, "/data/-R.cfb", {}}}, "vi");
}

TEST(ProgramStart, TerminalsRunACommandAfterTheirOwnOption)
{
    struct Case {
        const char* terminal;
        const char* option;
    };
    const Case cases[] = {
        {"x-terminal-emulator", "-e"}, {"gnome-terminal", "--"}, {"konsole", "-e"},
        {"xfce4-terminal", "-x"},      {"xterm", "-e"},
    };
    ASSERT_EQ(terminalEmulators().size(), std::size(cases));
    for (const Case& c : cases) {
        EXPECT_TRUE(terminalEmulators().contains(c.terminal)) << c.terminal;
        EXPECT_EQ(terminalCommandOption(c.terminal), c.option) << c.terminal;
        const Installed only{{{"EDITOR", "nano"}}, {"nano", c.terminal}, {}};
        const QList<StartPlan> plans =
            accessoryPlans("notepad.exe", {"a b.dg"}, "/data", false, only.lookup());
        ASSERT_FALSE(plans.isEmpty()) << c.terminal;
        EXPECT_EQ(plans[0].arguments, (QStringList{c.option, "nano", "a b.dg"})) << c.terminal;
    }
}

TEST(ProgramStart, DesktopEntriesGiveTheirCommand)
{
    struct Case {
        const char* what;
        QByteArray entry;
        QStringList files;
        QStringList command;
    };
    const Case cases[] = {
        {"%U takes every file",
         "[Desktop Entry]\nName=Text Editor\nExec=gnome-text-editor %U\n",
         {"/d/a.dg", "/d/b c.dg"},
         {"gnome-text-editor", "/d/a.dg", "/d/b c.dg"}},
        {"%f takes the first; other groups do not count",
         "[Desktop Action new]\nExec=other\n[Desktop Entry]\nExec = mousepad --new %f\n",
         {"/d/a.dg", "/d/b.dg"},
         {"mousepad", "--new", "/d/a.dg"}},
        {"no file: the field code vanishes, %i and %c too",
         "[Desktop Entry]\nExec=kate -b %i %c %U\n",
         {},
         {"kate", "-b"}},
        {"quoted program with escapes",
         "[Desktop Entry]\nExec=\"/opt/my editor/ed\" \"a\\\\\"b\" %%x %F\n",
         {"/d/x.dg"},
         {"/opt/my editor/ed", "a\"b", "%x", "/d/x.dg"}},
        {"no field code: the file goes last",
         "[Desktop Entry]\nExec=leafpad\n",
         {"/d/x.dg"},
         {"leafpad", "/d/x.dg"}},
        {"no Exec line", "[Desktop Entry]\nName=Broken\n", {"/d/x.dg"}, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(desktopCommand(desktopEntryExec(c.entry), c.files), c.command) << c.what;
}

TEST(ProgramStart, CalculatorPromptAndExplorerHaveTheirCounterparts)
{
    const StartPlan::Kind P = StartPlan::Process;
    const StartPlan::Kind D = StartPlan::OpenWithDesktop;
    const Installed gnome{{}, {"gnome-calculator", "xcalc", "gnome-terminal", "xterm"}, {}};
    const Installed plain{{}, {"xcalc", "konsole"}, {}};
    const Installed bare{};
    expectPlans(accessoryPlans("calc.exe", {}, "/data", false, gnome.lookup()),
                {{P, "/usr/bin/gnome-calculator", {}}}, "calculator");
    expectPlans(accessoryPlans("CALC.EXE", {}, "/data", false, plain.lookup()),
                {{P, "/usr/bin/xcalc", {}}}, "last calculator");
    expectPlans(accessoryPlans("calc.exe", {}, "/data", false, bare.lookup()), {}, "none");
    expectPlans(accessoryPlans("command.com", {}, "/data", true, gnome.lookup()),
                {{P, "/usr/bin/gnome-terminal", {"--maximize"}}}, "maximised prompt");
    expectPlans(accessoryPlans("command.com", {}, "/data", true, plain.lookup()),
                {{P, "/usr/bin/konsole", {}}}, "prompt that cannot be maximised");
    expectPlans(accessoryPlans("command.com", {}, "/data", false, gnome.lookup()),
                {{P, "/usr/bin/gnome-terminal", {}}}, "normal prompt");
    expectPlans(accessoryPlans("command.com", {}, "/data", false, bare.lookup()), {},
                "no terminal");
    expectPlans(accessoryPlans("explorer.exe", {}, "/data", false, bare.lookup()),
                {{D, "/data", {}}}, "explorer");
}

// A tiny program that writes its working directory and each argument on a line
// of their own into record.txt beside itself.
class RealStart : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!QFile::exists("/bin/sh"))
            GTEST_SKIP() << "no /bin/sh to run the recording script";
        tools = tmp.filePath("my tools");
        work = tmp.filePath("work dir");
        QDir().mkpath(tools);
        QDir().mkpath(work);
        script = tools + "/Recorder.exe";
        QFile file(script);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\n"
                   "out=\"$(dirname \"$0\")/record.txt\"\n"
                   "pwd > \"$out.tmp\"\n"
                   "for a in \"$@\"; do printf '%s\\n' \"$a\" >> \"$out.tmp\"; done\n"
                   "mv \"$out.tmp\" \"$out\"\n");
        file.close();
        QFile::setPermissions(script, QFile::permissions(script) | QFile::ExeOwner);
    }

    // The lines the script wrote, waiting a while for it to run.
    QStringList record()
    {
        const QString path = tools + "/record.txt";
        QElapsedTimer timer;
        timer.start();
        while (!QFile::exists(path) && timer.elapsed() < 10000)
            QThread::msleep(10);
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
        file.close();
        QFile::remove(path);
        if (!lines.isEmpty() && lines.last().isEmpty())
            lines.removeLast();
        return lines;
    }

    QTemporaryDir tmp;
    QString tools;
    QString work;
    QString script;
    QtLauncher launcher;
};

TEST_F(RealStart, ArgumentsReachTheProgramLiterallyInItsWorkingDirectory)
{
    const qint64 id =
        launcher.startCommandLine(script, "/a/c/z \"walk;rm -rf x.rf\" $(touch pwned) `id` a|b&c",
                                  work, WindowStyle::NormalFocus);
    EXPECT_GT(id, 0);
    EXPECT_EQ(record(), (QStringList{QDir(work).canonicalPath(), "/a/c/z", "walk;rm -rf x.rf",
                                     "$(touch", "pwned)", "`id`", "a|b&c"}));
    EXPECT_FALSE(QFile::exists(work + "/pwned"));
}

TEST_F(RealStart, EachArgumentOfAListArrivesWhole)
{
    const QStringList arguments{"a\" extra \"b.cfb", "-x", "", "$HOME;`id`", " two  blanks "};
    EXPECT_GT(launcher.start(script, arguments, work, WindowStyle::NormalFocus), 0);
    EXPECT_EQ(record(), QStringList{QDir(work).canonicalPath()} + arguments);
}

// Runs with no editor variables and a PATH that holds only a desktop opener: nothing
// that edits text.
class NothingInstalled : public RealStart
{
protected:
    void SetUp() override
    {
        RealStart::SetUp();
        for (const char* name : {"PATH", "VISUAL", "EDITOR"})
            saved.emplace_back(name, qgetenv(name));
        const QString bin = tmp.filePath("bin");
        QDir().mkpath(bin);
        QFile opener(bin + "/xdg-open");
        ASSERT_TRUE(opener.open(QIODevice::WriteOnly));
        opener.write("#!/bin/sh\nexit 1\n");
        opener.close();
        QFile::setPermissions(opener.fileName(),
                              QFile::permissions(opener.fileName()) | QFile::ExeOwner);
        qputenv("PATH", QFile::encodeName(bin));
        qunsetenv("VISUAL");
        qunsetenv("EDITOR");
    }
    void TearDown() override
    {
        for (const auto& [name, value] : saved) {
            if (value.isNull())
                qunsetenv(name);
            else
                qputenv(name, value);
        }
    }
    std::vector<std::pair<const char*, QByteArray>> saved;
};

TEST_F(NothingInstalled, NotepadWithNothingToOpenTextIsNotAStart)
{
    EXPECT_EQ(launcher.startCommandLine("notepad.exe", "", work, WindowStyle::NormalFocus), 0);
    EXPECT_EQ(
        launcher.shellExecute(nullptr, "open", "notepad.exe", "", work, WindowStyle::NormalFocus),
        2);
}

TEST_F(RealStart, AProgramIsFoundByItsNameWithoutRegardToCase)
{
    EXPECT_GT(
        launcher.startCommandLine(tools + "/recorder.EXE", "x", work, WindowStyle::NormalFocus), 0);
    EXPECT_EQ(record(), (QStringList{QDir(work).canonicalPath(), "x"}));
    // The shell's "open" of a program starts it with the parameters.
    EXPECT_EQ(launcher.shellExecute(nullptr, "open", "recorder.exe", "y z", tools,
                                    WindowStyle::NormalFocus),
              33);
    EXPECT_EQ(record(), (QStringList{QDir(tools).canonicalPath(), "y", "z"}));
}

TEST_F(RealStart, NotepadStartsTheEditorNamedByVisual)
{
    const QByteArray saved = qgetenv("VISUAL");
    // The variable is a command text: a path with blanks comes quoted.
    qputenv("VISUAL", '"' + QFile::encodeName(script) + '"');
    const qint64 id =
        launcher.startCommandLine("Notepad.exe", "\"my run.out\"", work, WindowStyle::NormalFocus);
    if (saved.isNull())
        qunsetenv("VISUAL");
    else
        qputenv("VISUAL", saved);
    EXPECT_GT(id, 0);
    EXPECT_EQ(record(), (QStringList{QDir(work).canonicalPath(), "my run.out"}));
}

TEST_F(RealStart, WhatCannotRunIsReportedAsNotStarted)
{
    const QString data = work + "/notes.out";
    QFile file(data);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("plain text\n");
    file.close();
    QFile::setPermissions(script, QFile::ReadOwner); // no longer executable

    EXPECT_EQ(launcher.startCommandLine(tools + "/missing.exe", "", work, WindowStyle::NormalFocus),
              0);
    EXPECT_EQ(launcher.startCommandLine(script, "", work, WindowStyle::NormalFocus), 0);
    EXPECT_EQ(launcher.startCommandLine(data, "", work, WindowStyle::NormalFocus), 0);
    EXPECT_EQ(launcher.startCommandLine("", "", work, WindowStyle::NormalFocus), 0);
    EXPECT_EQ(
        launcher.shellExecute(nullptr, "open", "missing.exe", "", work, WindowStyle::NormalFocus),
        2);
}

} // namespace
