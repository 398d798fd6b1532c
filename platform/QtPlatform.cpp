#include "platform/QtPlatform.h"

#include "platform/ArgumentText.h"
#include "platform/DialogWidth.h"
#include "platform/FileErrors.h"
#include "platform/IniFile.h"
#include "platform/PdfOutput.h"
#include "platform/ProgramStart.h"
#include "platform/SharedFileEdit.h"
#include "platform/Twips.h"

#include <QApplication>
#include <QColorDialog>
#include <QCoreApplication>
#include <QDateTime>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QStorageInfo>
#include <QStringDecoder>
#include <QThread>
#include <QUrl>

namespace
{
const char* const ProgramTitle = "Orvane";
const char* const PrinterSetupTitle = "Printer Setup";
// Boxes that no window asked for are centred on the main window.
const char* const MainWindowName = "frmOrvane";

QString titleOrProgram(const QString& title)
{
    return title.isEmpty() ? QString::fromLatin1(ProgramTitle) : title;
}

// "Text (*.txt)|*.txt|All|*.*" pairs become Qt's ";;" list of "Text (*.txt)".
QString qtFilter(const QString& filter)
{
    const QStringList parts = filter.split(u'|');
    QStringList result;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(u';', u' ');
        QString label = parts[i];
        result << (label.contains(u'(') ? label : label + " (" + patterns + ")");
    }
    if (result.isEmpty() && !filter.isEmpty())
        result << filter;
    return result.join(";;");
}
} // namespace

// --- settings -------------------------------------------------------------------------

QtSettingsStore::QtSettingsStore(QString configDir) : m_dir(std::move(configDir))
{
    if (m_dir.isEmpty())
        m_dir = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
}

QString QtSettingsStore::fileFor(const QString& app) const
{
    return m_dir + "/kinemora/" + app + ".ini";
}

namespace
{
// Values are kept as written; text that is not UTF-8 comes from the suite's older
// programs and is read as Latin-1.
QString decodeSetting(const std::string& bytes)
{
    const QByteArray raw = QByteArray::fromStdString(bytes);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(raw);
    return utf8.hasError() ? QString::fromLatin1(raw) : text;
}

// A file already in Latin-1 gets its new value in Latin-1 where the value allows.
std::string encodeSetting(const QString& value, const std::string& file)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = utf8.decode(QByteArray::fromStdString(file));
    bool latin1 = utf8.hasError();
    for (const QChar c : value)
        latin1 = latin1 && c.unicode() < 256;
    return latin1 ? value.toLatin1().toStdString() : value.toUtf8().toStdString();
}

// Some Windows editors save the file in UTF-16 with a byte-order mark. Such a file is
// edited as UTF-8 and written back in its own byte order.
enum class SettingsEncoding { Bytes, Utf16LE, Utf16BE };

SettingsEncoding settingsEncoding(const std::string& file)
{
    if (file.size() >= 2 && file[0] == '\xFF' && file[1] == '\xFE')
        return SettingsEncoding::Utf16LE;
    if (file.size() >= 2 && file[0] == '\xFE' && file[1] == '\xFF')
        return SettingsEncoding::Utf16BE;
    return SettingsEncoding::Bytes;
}

std::string fromUtf8Text(const std::string& text, SettingsEncoding encoding)
{
    if (encoding == SettingsEncoding::Bytes)
        return text;
    const QString decoded = QString::fromUtf8(text);
    QStringEncoder encoder(encoding == SettingsEncoding::Utf16LE ? QStringEncoder::Utf16LE
                                                                 : QStringEncoder::Utf16BE,
                           QStringEncoder::Flag::Stateless);
    const QByteArray bom = encoding == SettingsEncoding::Utf16LE ? "\xFF\xFE" : "\xFE\xFF";
    return (bom + QByteArray(encoder.encode(decoded))).toStdString();
}

// The file as UTF-8 text, or nullopt when its UTF-16 is broken and a rewrite would
// change bytes the save has no business with.
std::optional<std::string> asUtf8Text(const std::string& file, SettingsEncoding encoding)
{
    if (encoding == SettingsEncoding::Bytes)
        return file;
    QStringDecoder decoder(encoding == SettingsEncoding::Utf16LE ? QStringDecoder::Utf16LE
                                                                 : QStringDecoder::Utf16BE,
                           QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(QByteArray::fromStdString(file.substr(2)));
    if (decoder.hasError() || file.size() % 2 != 0)
        return std::nullopt;
    std::string utf8 = text.toUtf8().toStdString();
    if (fromUtf8Text(utf8, encoding) != file)
        return std::nullopt;
    return utf8;
}
} // namespace

QString QtSettingsStore::get(const QString& app, const QString& section, const QString& key,
                             const QString& defaultValue)
{
    std::string file;
    if (readWholeFile(QFile::encodeName(fileFor(app)).toStdString(), file) != FileError::None)
        return defaultValue;
    const std::optional<std::string> text = asUtf8Text(file, settingsEncoding(file));
    if (!text)
        return defaultValue;
    const std::optional<std::string> value =
        iniValue(*text, section.toUtf8().toStdString(), key.toUtf8().toStdString());
    return value ? decodeSetting(*value) : defaultValue;
}

// Only the key's own line changes: the file is shared, and the other programs' lines,
// comments, line ends and encoding stay as they were. Lines that a sibling program
// writes meanwhile are kept too.
void QtSettingsStore::save(const QString& app, const QString& section, const QString& key,
                           const QString& value)
{
    const QString file = fileFor(app);
    const std::string path = QFile::encodeName(file).toStdString();
    QDir().mkpath(QFileInfo(file).path());
    const int error = editSharedFile(path, [&](const std::string& bytes, std::string& edited) {
        const SettingsEncoding encoding = settingsEncoding(bytes);
        const std::optional<std::string> text = asUtf8Text(bytes, encoding);
        if (!text)
            return FileError::BadFileNameOrNumber;
        const std::optional<std::string> changed =
            iniWithValue(*text, section.toUtf8().toStdString(), key.toUtf8().toStdString(),
                         encodeSetting(value, *text));
        if (!changed)
            return FileError::BadFileNameOrNumber;
        edited = *changed == *text ? bytes : fromUtf8Text(*changed, encoding);
        return FileError::None;
    });
    if (error != FileError::None && saveFailed) {
        saveFailed("Could not save " + key + " in " + file + ": " +
                   QString::fromStdString(fileErrorText(error)));
    }
}

QtDialogs::QtDialogs(KeptPrinter* printer) : m_printer(printer) {}

// --- dialogs --------------------------------------------------------------------------

int QtDialogs::message(const QString& text, const QString& title, MessageIcon icon,
                       MessageButtons buttons)
{
    QMessageBox box(owner());
    box.setWindowTitle(titleOrProgram(title));
    box.setText(text);
    switch (icon) {
    case MessageIcon::None:
        box.setIcon(QMessageBox::NoIcon);
        break;
    case MessageIcon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case MessageIcon::Exclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    case MessageIcon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    case MessageIcon::Critical:
        box.setIcon(QMessageBox::Critical);
        break;
    }
    using SB = QMessageBox::StandardButton;
    QMessageBox::StandardButtons set;
    switch (buttons) {
    case MessageButtons::OK:
        set = SB::Ok;
        break;
    case MessageButtons::OKCancel:
        set = SB::Ok | SB::Cancel;
        break;
    case MessageButtons::AbortRetryIgnore:
        set = SB::Abort | SB::Retry | SB::Ignore;
        break;
    case MessageButtons::YesNoCancel:
        set = SB::Yes | SB::No | SB::Cancel;
        break;
    case MessageButtons::YesNo:
        set = SB::Yes | SB::No;
        break;
    case MessageButtons::RetryCancel:
        set = SB::Retry | SB::Cancel;
        break;
    }
    box.setStandardButtons(set);
    widenForTitle(box);
    box.setAccessibleName(box.windowTitle());
    box.setAccessibleDescription(text);
    switch (box.exec()) {
    case SB::Ok:
        return AnswerOK;
    case SB::Cancel:
        return AnswerCancel;
    case SB::Abort:
        return AnswerAbort;
    case SB::Retry:
        return AnswerRetry;
    case SB::Ignore:
        return AnswerIgnore;
    case SB::Yes:
        return AnswerYes;
    case SB::No:
        return AnswerNo;
    default:
        break;
    }
    // Closing the box with Escape or its close box answers the way out it offers.
    if (buttons == MessageButtons::YesNo)
        return AnswerNo;
    return buttons == MessageButtons::OK ? AnswerOK : AnswerCancel;
}

QString QtDialogs::input(const QString& prompt, const QString& title, const QString& defaultText)
{
    QInputDialog dialog(owner());
    dialog.setWindowTitle(titleOrProgram(title));
    dialog.setLabelText(prompt);
    dialog.setTextValue(defaultText);
    widenForTitle(dialog);
    dialog.setAccessibleName(dialog.windowTitle());
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.textValue();
}

std::optional<QString> QtDialogs::openFile(const FileDialogRequest& request)
{
    QFileDialog dialog(owner(), titleOrProgram(request.title), request.initialDir,
                       qtFilter(request.filter));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    const QStringList filters = dialog.nameFilters();
    if (request.filterIndex >= 1 && request.filterIndex <= filters.size())
        dialog.selectNameFilter(filters[request.filterIndex - 1]);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().first();
}

std::optional<QString> QtDialogs::saveFile(const FileDialogRequest& request)
{
    QFileDialog dialog(owner(), titleOrProgram(request.title), request.initialDir,
                       qtFilter(request.filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.overwritePrompt);
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().first();
}

std::optional<QColor> QtDialogs::colour(const QColor& initial)
{
    const QColor chosen = QColorDialog::getColor(initial, owner());
    if (!chosen.isValid())
        return std::nullopt;
    return chosen;
}

bool QtDialogs::printerSetup()
{
    QPrinter& kept = printer().get();
    QWidget* parent = owner();
    if (QPrinterInfo::availablePrinterNames().isEmpty()) {
        // Without a printer, prints become PDF files: the choice is their page.
        kept.setOutputFormat(QPrinter::PdfFormat);
        QPageSetupDialog dialog(&kept, parent);
        dialog.setWindowTitle(PrinterSetupTitle);
        dialog.setAccessibleName(PrinterSetupTitle);
        return dialog.exec() == QDialog::Accepted;
    }
    if (kept.outputFormat() != QPrinter::NativeFormat)
        kept.setOutputFormat(QPrinter::NativeFormat);
    // The printer, its paper and its options; this dialog prints nothing itself.
    QPrintDialog dialog(&kept, parent);
    dialog.setOptions(QAbstractPrintDialog::PrintShowPageSize);
    dialog.setWindowTitle(PrinterSetupTitle);
    dialog.setAccessibleName(PrinterSetupTitle);
    if (auto* buttons = dialog.findChild<QDialogButtonBox*>()) {
        if (QPushButton* ok = buttons->button(QDialogButtonBox::Ok))
            ok->setText(QStringLiteral("OK"));
    }
    return dialog.exec() == QDialog::Accepted;
}

KeptPrinter& QtDialogs::printer()
{
    if (m_printer)
        return *m_printer;
    if (!m_ownPrinter)
        m_ownPrinter = std::make_unique<KeptPrinter>();
    return *m_ownPrinter;
}

QWidget* QtDialogs::owner()
{
    QWidget* window = QApplication::activeWindow();
    if (!window || !window->isVisible())
        window = QApplication::activeModalWidget();
    // Just after a dialog closes no window may be active yet: stay over the same one.
    if (!window && m_lastOwner && m_lastOwner->isVisible())
        window = m_lastOwner;
    if (!window) {
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (top->objectName() == MainWindowName && top->isVisible())
                window = top;
        }
    }
    if (window)
        m_lastOwner = window->window();
    return window;
}

// --- program start --------------------------------------------------------------------

namespace
{
// The Exec line of the application the desktop opens plain text with.
QString desktopTextDefault()
{
    const QString query = QStandardPaths::findExecutable("xdg-mime");
    if (query.isEmpty())
        return {};
    QProcess process;
    process.setStandardInputFile(QProcess::nullDevice());
    process.start(query, {"query", "default", "text/plain"});
    if (!process.waitForFinished(3000)) {
        process.kill();
        process.waitForFinished(1000);
        return {};
    }
    const QString entry = QString::fromUtf8(process.readAllStandardOutput()).trimmed();
    if (entry.isEmpty() || entry.contains(u'/'))
        return {};
    const QString path = QStandardPaths::locate(QStandardPaths::ApplicationsLocation, entry);
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly))
        return {};
    return desktopEntryExec(file.read(64 * 1024));
}

ProgramLookup systemLookup()
{
    return {
        [](const QString& name) { return qEnvironmentVariable(name.toLocal8Bit().constData()); },
        [](const QString& name) { return QStandardPaths::findExecutable(name); },
        &desktopTextDefault};
}

bool looksLikeProgram(const QString& path)
{
    const QFileInfo info(path);
    if (!info.isFile() || !info.isExecutable())
        return false;
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && startsLikeProgram(file.read(4));
}

// The program named by a path, found as named or else as the single file of that
// name without regard to case; a bare name is looked for in the working directory
// first, as the suite's programs expect, then on PATH.
QString findProgram(const QString& program, const QString& workingDir)
{
    QtFileSystem files;
    if (program.contains(u'/')) {
        const QFileInfo info(program);
        return files.resolve(info.path(), info.fileName());
    }
    const QString local = files.resolve(workingDir, program);
    if (looksLikeProgram(local))
        return local;
    const QString onPath = QStandardPaths::findExecutable(program);
    return onPath.isEmpty() ? program : onPath;
}

qint64 startProcess(const QString& program, const QStringList& arguments, const QString& dir)
{
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    process.setWorkingDirectory(dir);
    process.setStandardInputFile(QProcess::nullDevice());
    qint64 pid = 0;
    if (!process.startDetached(&pid))
        return 0;
    return pid;
}

// The desktop gives no process for what it opens; 1 stands for "started".
constexpr qint64 OpenedByDesktop = 1;

qint64 carryOut(const StartPlan& plan)
{
    if (plan.kind == StartPlan::OpenWithDesktop)
        return QDesktopServices::openUrl(QUrl::fromLocalFile(plan.target)) ? OpenedByDesktop : 0;
    return startProcess(plan.program, plan.arguments, plan.workingDir);
}
} // namespace

qint64 QtLauncher::start(const QString& program, const QStringList& arguments,
                         const QString& workingDir, WindowStyle style)
{
    if (program.isEmpty())
        return 0;
    const QString dir = workingDir.isEmpty() ? QDir::currentPath() : workingDir;
    if (isAccessoryName(program)) {
        const QList<StartPlan> plans = accessoryPlans(
            program, arguments, dir, style == WindowStyle::Maximized, systemLookup());
        for (const StartPlan& plan : plans) {
            if (const qint64 id = carryOut(plan))
                return id;
        }
        return 0;
    }
    return startProcess(findProgram(program, dir), arguments, dir);
}

int QtLauncher::open(QWidget*, const QString& operation, const QString& file,
                     const QStringList& arguments, const QString& workingDir, WindowStyle style)
{
    constexpr int Started = 33;
    constexpr int NotStarted = 2;
    // A web address (the About box's web page) opens in the desktop's browser; a
    // one-letter scheme is a drive, not an address.
    const QUrl address(file, QUrl::StrictMode);
    if (address.isValid() && address.scheme().size() > 1 && !address.isLocalFile())
        return QDesktopServices::openUrl(address) ? Started : NotStarted;
    const QString dir = workingDir.isEmpty() ? QDir::currentPath() : workingDir;
    if (!file.contains(u'/') && isAccessoryName(file))
        return start(file, arguments, dir, style) != 0 ? Started : NotStarted;

    QString target = dir;
    if (!file.isEmpty()) {
        const QFileInfo named(QDir(dir), file);
        target = QtFileSystem().resolve(named.absolutePath(), named.fileName());
    }
    const bool explore = operation.compare("explore", Qt::CaseInsensitive) == 0;
    if (!explore && looksLikeProgram(target))
        return start(target, arguments, dir, style) != 0 ? Started : NotStarted;
    if (!QFileInfo::exists(target)) {
        // A bare program name the desktop would find on its search path.
        if (!explore && !file.contains(u'/') && !QStandardPaths::findExecutable(file).isEmpty())
            return start(file, arguments, dir, style) != 0 ? Started : NotStarted;
        return NotStarted;
    }
    return QDesktopServices::openUrl(QUrl::fromLocalFile(target)) ? Started : NotStarted;
}

// --- file system ----------------------------------------------------------------------

int QtFileSystem::openError(const QString& path)
{
    return openForReadingError(path.toStdString());
}

QString QtFileSystem::resolve(const QString& dir, const QString& name)
{
    QDir d(dir.isEmpty() ? QDir::currentPath() : dir);
    const QString exact = d.filePath(name);
    if (name.isEmpty() || QFileInfo::exists(exact) || name.contains(u'/'))
        return exact;
    const QStringList matches =
        d.entryList({}, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden);
    QString found;
    for (const QString& entry : matches) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0) {
            if (!found.isEmpty())
                return exact; // more than one: none is the one meant
            found = entry;
        }
    }
    return found.isEmpty() ? exact : d.filePath(found);
}

bool QtFileSystem::isProgram(const QString& path)
{
    return looksLikeProgram(path);
}

QString QtFileSystem::shortName(const QString& path)
{
    // Linux has no 8.3 names: the short name is the file's own name.
    QFileInfo info(path);
    if (!info.exists())
        return path;
    return info.fileName();
}

QStringList QtFileSystem::mountPoints()
{
    QStringList roots;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (!volume.isValid() || !volume.isReady())
            continue;
        const QString root = volume.rootPath();
        const QByteArray type = volume.fileSystemType();
        // Pseudo file systems hold no data directories.
        static const QList<QByteArray> pseudo = {
            "proc",      "sysfs",   "devtmpfs",    "devpts",  "cgroup", "cgroup2",  "securityfs",
            "debugfs",   "tracefs", "mqueue",      "pstore",  "bpf",    "configfs", "fusectl",
            "hugetlbfs", "autofs",  "binfmt_misc", "overlay", "nsfs",   "squashfs"};
        if (pseudo.contains(type) && root != "/")
            continue;
        if (!roots.contains(root))
            roots << root;
    }
    roots.removeAll("/");
    std::sort(roots.begin(), roots.end());
    roots.prepend("/");
    return roots;
}

QString QtFileSystem::currentDir()
{
    return QDir::currentPath();
}

bool QtFileSystem::setCurrentDir(const QString& dir)
{
    return !dir.isEmpty() && QDir::setCurrent(dir);
}

int QtFileSystem::rename(const QString& from, const QString& to)
{
    return renameNoReplace(from.toStdString(), to.toStdString());
}

int QtFileSystem::copy(const QString& from, const QString& to, bool replace)
{
    return copyFileBytes(from.toStdString(), to.toStdString(), replace);
}

// --- events and time ------------------------------------------------------------------

void QtEventPump::yield()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void QtEventPump::yieldFor(int ms)
{
    QElapsedTimer timer;
    timer.start();
    do {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 2);
        if (timer.elapsed() < ms)
            QThread::msleep(1);
    } while (timer.elapsed() < ms);
}

void QtEventPump::setBusy(bool busy)
{
    if (busy) {
        ++m_busyDepth;
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    } else if (m_busyDepth > 0) {
        --m_busyDepth;
        QGuiApplication::restoreOverrideCursor();
    }
}

QtClock::QtClock()
{
    m_timer.start();
}

double QtClock::elapsed()
{
    return m_timer.nsecsElapsed() / 1e9;
}

double QtClock::secondsSinceMidnight()
{
    return QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
}

// --- printing -------------------------------------------------------------------------

KeptPrinter::KeptPrinter() = default;
KeptPrinter::~KeptPrinter() = default;

QPrinter& KeptPrinter::get()
{
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *m_printer;
}

QtPrinter::QtPrinter(KeptPrinter* printer) : m_printer(printer) {}

QString QtPrinter::printImage(const QImage& image, const QString& fallbackPdf)
{
    if (!m_printer) {
        m_ownPrinter = std::make_unique<KeptPrinter>();
        m_printer = m_ownPrinter.get();
    }
    QPrinter& printer = m_printer->get();
    const bool onPrinter = printer.outputFormat() == QPrinter::NativeFormat &&
                           !QPrinterInfo::availablePrinterNames().isEmpty();
    if (!onPrinter) {
        const QString reason = writeImagePdf(image, printer.pageLayout(), fallbackPdf);
        return reason.isEmpty() ? "Printed to " + fallbackPdf
                                : "Could not write " + fallbackPdf + ": " + reason;
    }
    QPainter painter;
    if (!painter.begin(&printer))
        return "Could not print on " + printer.printerName();
    drawImageOnPage(painter, image);
    if (!painter.end() || printer.printerState() == QPrinter::Error)
        return "Could not print on " + printer.printerName();
    return "Printed on " + printer.printerName();
}

// --- environment ----------------------------------------------------------------------

QString QtEnvironment::variable(const QString& name)
{
    return qEnvironmentVariable(name.toLocal8Bit().constData());
}

QString QtEnvironment::argumentText()
{
    QStringList args = QCoreApplication::arguments();
    if (!args.isEmpty())
        args.removeFirst();
    return joinArguments(args);
}

QStringList QtEnvironment::argumentsNotText()
{
    // The arguments as the program received them, byte for byte: Qt's list has already
    // turned bytes that are not text into U+FFFD.
    QFile file(QStringLiteral("/proc/self/cmdline"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QList<QByteArray> raw = file.readAll().split('\0');
    if (!raw.isEmpty())
        raw.removeFirst();
    QStringList notText;
    for (const QByteArray& bytes : raw) {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString text = utf8.decode(bytes);
        if (utf8.hasError())
            notText << text;
    }
    return notText;
}

QString QtEnvironment::programDir()
{
    return QCoreApplication::applicationDirPath();
}

VersionNumber QtEnvironment::version()
{
    return {ORVANE_VERSION_MAJOR, ORVANE_VERSION_MINOR, ORVANE_VERSION_PATCH};
}

QRect QtEnvironment::screenTwips()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return {0, 0, pixelsToTwips(1024), pixelsToTwips(768)};
    const QRect area = screen->availableGeometry();
    return {pixelsToTwips(area.x()), pixelsToTwips(area.y()), pixelsToTwips(area.width()),
            pixelsToTwips(area.height())};
}

QtPlatform::QtPlatform()
    : m_platform{m_settings, m_dialogs, m_launcher, m_files, m_events, m_clock, m_printer, m_env}
{
}
