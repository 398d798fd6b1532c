#include "fakes/FakePlatform.h"

QString FakeSettings::get(const QString& app, const QString& section, const QString& key,
                          const QString& defaultValue)
{
    return values.value(name(app, section, key), defaultValue);
}

void FakeSettings::save(const QString& app, const QString& section, const QString& key,
                        const QString& value)
{
    if (!failure.isEmpty()) {
        if (saveFailed)
            saveFailed(failure);
        return;
    }
    values[name(app, section, key)] = value;
    saved << name(app, section, key);
}

int FakeDialogs::message(const QString& text, const QString& title, MessageIcon icon,
                         MessageButtons buttons)
{
    ShownBox box;
    box.text = text;
    box.title = title;
    box.icon = icon;
    box.buttons = buttons;
    shown.push_back(box);
    if (onShow)
        onShow(box);
    if (!messageAnswers.empty()) {
        const int answer = messageAnswers.front();
        messageAnswers.pop_front();
        return answer;
    }
    switch (buttons) {
    case MessageButtons::OK:
    case MessageButtons::OKCancel:
        return AnswerOK;
    case MessageButtons::AbortRetryIgnore:
        return AnswerAbort;
    case MessageButtons::YesNoCancel:
    case MessageButtons::YesNo:
        return AnswerYes;
    case MessageButtons::RetryCancel:
        return AnswerRetry;
    }
    return AnswerOK;
}

QString FakeDialogs::input(const QString& prompt, const QString& title, const QString& defaultText)
{
    ShownBox box;
    box.kind = ShownBox::Input;
    box.text = prompt;
    box.title = title;
    box.defaultText = defaultText;
    shown.push_back(box);
    if (onShow)
        onShow(box);
    if (!inputAnswers.empty()) {
        QString answer = inputAnswers.front();
        inputAnswers.pop_front();
        return answer;
    }
    return defaultText;
}

std::optional<QString> FakeDialogs::openFile(const FileDialogRequest& request)
{
    ShownBox box;
    box.kind = ShownBox::OpenFile;
    box.title = request.title;
    box.request = request;
    shown.push_back(box);
    if (onShow)
        onShow(box);
    if (fileAnswers.empty())
        return std::nullopt;
    auto answer = fileAnswers.front();
    fileAnswers.pop_front();
    return answer;
}

std::optional<QString> FakeDialogs::saveFile(const FileDialogRequest& request)
{
    ShownBox box;
    box.kind = ShownBox::SaveFile;
    box.title = request.title;
    box.request = request;
    shown.push_back(box);
    if (onShow)
        onShow(box);
    if (fileAnswers.empty())
        return std::nullopt;
    auto answer = fileAnswers.front();
    fileAnswers.pop_front();
    return answer;
}

std::optional<QColor> FakeDialogs::colour(const QColor&)
{
    ShownBox box;
    box.kind = ShownBox::Colour;
    shown.push_back(box);
    if (colourAnswers.empty())
        return std::nullopt;
    auto answer = colourAnswers.front();
    colourAnswers.pop_front();
    return answer;
}

bool FakeDialogs::printerSetup()
{
    ShownBox box;
    box.kind = ShownBox::PrinterSetup;
    shown.push_back(box);
    return printerSetupAnswer;
}

QStringList FakeDialogs::messageTexts() const
{
    QStringList texts;
    for (const ShownBox& box : shown) {
        if (box.kind == ShownBox::Message)
            texts << box.text;
    }
    return texts;
}

qint64 FakeLauncher::startCommandLine(const QString& program, const QString& argumentText,
                                      const QString& workingDir, WindowStyle style)
{
    StartedProgram p;
    p.program = program;
    p.arguments = argumentText;
    p.argumentList = splitArgumentText(argumentText);
    p.workingDir = workingDir;
    p.style = style;
    started.push_back(p);
    return nextProcessId;
}

qint64 FakeLauncher::start(const QString& program, const QStringList& arguments,
                           const QString& workingDir, WindowStyle style)
{
    StartedProgram p;
    p.program = program;
    p.arguments = joinArguments(arguments);
    p.argumentList = arguments;
    p.workingDir = workingDir;
    p.style = style;
    started.push_back(p);
    return nextProcessId;
}

int FakeLauncher::open(QWidget*, const QString& operation, const QString& file,
                       const QStringList& arguments, const QString& workingDir, WindowStyle style)
{
    StartedProgram p;
    p.kind = StartedProgram::Shell;
    p.operation = operation;
    p.program = file;
    p.arguments = joinArguments(arguments);
    p.argumentList = arguments;
    p.workingDir = workingDir;
    p.style = style;
    started.push_back(p);
    return shellResult;
}

int FakeLauncher::shellExecute(QWidget*, const QString& operation, const QString& file,
                               const QString& parameters, const QString& workingDir,
                               WindowStyle style)
{
    StartedProgram p;
    p.kind = StartedProgram::Shell;
    p.operation = operation;
    p.program = file;
    p.arguments = parameters;
    p.argumentList = splitArgumentText(parameters);
    p.workingDir = workingDir;
    p.style = style;
    started.push_back(p);
    return shellResult;
}

void FakeEventPump::yield()
{
    ++yields;
    m_clock.now += secondsPerYield;
    if (onYield)
        onYield(yields);
}

void FakeEventPump::yieldFor(int ms)
{
    ++yields;
    m_clock.now += ms / 1000.0;
    if (onYield)
        onYield(yields);
}

QString FakePrinter::printImage(const QImage& image, const QString& fallbackPdf)
{
    printed.push_back(image);
    fallbacks << fallbackPdf;
    return answer;
}

FakePlatform::FakePlatform()
    : m_platform{settings, dialogs, launcher, files, events, clock, printer, env}
{
}
